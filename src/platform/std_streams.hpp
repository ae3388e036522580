// The standard streams of the process: what they lead to, and writing to
// them. One implementation over POSIX, one over Win32.
#pragma once

#include <string_view>

#include "platform/file.hpp"

namespace sarnik::platform {

enum class StdStream { out, err };

// The identity of the standard output or error when it leads to a file or
// a pipe; false for a terminal or a device such as /dev/null, where nothing
// written is kept, and for a stream that is closed.
bool std_stream_identity(StdStream stream, FileId& out);

// Whether the standard output or error is a terminal (a console on Win32).
bool is_terminal(StdStream stream);

// Opens the standard input, output and error on the null device where they
// are closed, so that no file opened later takes their place. Called once,
// before anything is opened.
void open_closed_std_streams();

// Makes a write to a pipe that no one reads any more fail like any other
// write, where the system would end the process (SIGPIPE). Called once,
// before anything is written.
void report_broken_pipes();

// Writes the bytes unchanged to the standard output or standard error. On
// Windows, text for a console is UTF-8 and is written to it in UTF-16. Once a
// write to a stream has failed, nothing more is written to it (false).
bool write_std(StdStream stream, std::string_view bytes);

// Whether a write to the stream has failed; safe in an interrupt handler.
bool std_stream_failed(StdStream stream);

}  // namespace sarnik::platform
