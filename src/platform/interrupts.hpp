// What an interrupt of the user or the system does to a run's output. One
// implementation over POSIX, one over Win32.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file.hpp"

namespace sarnik::platform {

// From now to the end of the process, an interrupt (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT or SIGXFSZ; on Windows Ctrl+C, Ctrl+Break, or the console window
// closed, the user logging off or the system shutting down) empties output,
// ends the line on the standard output when that is a terminal, and ends the
// process as the interrupt does by default (on Windows with exit code 1).
// Interrupts that the process ignores stay ignored. Called once.
void empty_on_interrupt(const File& output);

// From now to the end of the process, an interrupt removes the first count
// files of names (files this run created, still open), then ends the
// process as empty_on_interrupt says. Each call replaces the one before;
// names must stay as they are until a call with a count of 0.
void remove_on_interrupt(const std::vector<std::string>& names, std::size_t count);

}  // namespace sarnik::platform
