// Win32 interrupts: console control events.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/interrupts.hpp"
#include "platform/names.hpp"
#include "platform/win32/handles.hpp"

namespace sarnik::platform {
namespace {

HANDLE interrupt_output = INVALID_HANDLE_VALUE;  // the file to empty
HANDLE interrupted_thread = nullptr;             // the thread that copies
bool interrupt_console = false;
std::vector<std::wstring> interrupt_removals;  // the files to remove

// Runs on a thread of its own: the copying thread is stopped where it stands
// (GetThreadContext returns once it is), so that nothing is written after
// the output is emptied; then the process ends without running any exit
// code that the stopped thread might block.
BOOL WINAPI on_interrupt(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      break;
    default:
      return FALSE;
  }
  SuspendThread(interrupted_thread);
  CONTEXT context{};
  context.ContextFlags = CONTEXT_CONTROL;
  GetThreadContext(interrupted_thread, &context);
  if (interrupt_output != INVALID_HANDLE_VALUE) {
    SetFilePointer(interrupt_output, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(interrupt_output);
  }
  // Open files created to be removable: each goes when the process ends.
  for (const std::wstring& name : interrupt_removals) DeleteFileW(name.c_str());
  if (interrupt_console && !std_stream_failed(StdStream::out))
    write_console(std_handle(StdStream::out), "\n");
  TerminateProcess(GetCurrentProcess(), 1);
  return TRUE;
}

void install_interrupt_handler() {
  interrupt_console = is_terminal(StdStream::out);
  if (interrupted_thread == nullptr) {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(),
                    &interrupted_thread, 0, FALSE, DUPLICATE_SAME_ACCESS);
  }
  SetConsoleCtrlHandler(on_interrupt, TRUE);
}

}  // namespace

void empty_on_interrupt(const File& output) {
  interrupt_output = handle_of(output.native_handle());
  install_interrupt_handler();
}

void remove_on_interrupt(const std::vector<std::string>& names, std::size_t count) {
  // Made here, so that the handler only reads them; it runs while this
  // thread is stopped.
  std::vector<std::wstring> wide;
  for (std::size_t i = 0; i < count; ++i) wide.push_back(wide_from_utf8(names[i]));
  SetConsoleCtrlHandler(on_interrupt, FALSE);
  interrupt_removals = std::move(wide);
  install_interrupt_handler();
}

}  // namespace sarnik::platform
