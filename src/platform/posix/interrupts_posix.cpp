// POSIX interrupts: signals.
#include <unistd.h>

#include <csignal>

#include "platform/interrupts.hpp"
#include "platform/std_streams.hpp"

namespace sarnik::platform {
namespace {

volatile std::sig_atomic_t interrupt_output = -1;  // the descriptor to empty
volatile std::sig_atomic_t interrupt_terminal = 0;
// The names of the files to remove, and how many of them.
const std::vector<std::string>* volatile interrupt_removals = nullptr;
volatile std::sig_atomic_t interrupt_removal_count = 0;

// Async-signal-safe calls only. The default action is back (SA_RESETHAND) and
// the interrupts are blocked until the handler returns, when the signal
// raised here ends the process.
extern "C" void on_interrupt(int signal) {
  if (interrupt_output >= 0) static_cast<void>(::ftruncate(interrupt_output, 0));
  for (std::sig_atomic_t i = 0; i < interrupt_removal_count; ++i) {
    static_cast<void>(::unlink((*interrupt_removals)[static_cast<std::size_t>(i)].c_str()));
  }
  if (interrupt_terminal != 0 && !std_stream_failed(StdStream::out)) {
    static_cast<void>(::write(STDOUT_FILENO, "\n", 1));
  }
  static_cast<void>(::raise(signal));
}

void install_interrupt_handler() {
  // SIGXFSZ is raised by a write past the file size limit (ulimit -f).
  constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ};
  interrupt_terminal = is_terminal(StdStream::out) ? 1 : 0;
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (const int signal : kInterrupts) sigaddset(&action.sa_mask, signal);
  for (const int signal : kInterrupts) {
    struct sigaction before {};
    ::sigaction(signal, nullptr, &before);
    if (before.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

void empty_on_interrupt(const File& output) {
  interrupt_output = static_cast<int>(output.native_handle());
  install_interrupt_handler();
}

void remove_on_interrupt(const std::vector<std::string>& names, std::size_t count) {
  interrupt_removal_count = 0;
  interrupt_removals = &names;
  interrupt_removal_count = static_cast<std::sig_atomic_t>(count);
  install_interrupt_handler();
}

}  // namespace sarnik::platform
