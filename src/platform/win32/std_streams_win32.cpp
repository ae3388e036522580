// Win32 standard streams.
#include <windows.h>

#include <string>

#include "platform/names.hpp"
#include "platform/std_streams.hpp"
#include "platform/win32/handles.hpp"

namespace sarnik::platform {
namespace {

// Per standard stream (output, error): a write to it has failed.
volatile LONG stream_failed[2] = {0, 0};

volatile LONG& failed_flag(StdStream stream) {
  return stream_failed[stream == StdStream::out ? 0 : 1];
}

}  // namespace

HANDLE std_handle(StdStream stream) {
  return GetStdHandle(stream == StdStream::out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool is_console(HANDLE h) {
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode) != 0;
}

bool write_console(HANDLE h, std::string_view utf8) {
  const std::wstring wide = wide_from_utf8(utf8);
  constexpr std::size_t kMaxUnits = 1u << 14;
  for (std::size_t at = 0; at < wide.size();) {
    const DWORD piece =
        static_cast<DWORD>(wide.size() - at < kMaxUnits ? wide.size() - at : kMaxUnits);
    DWORD written = 0;
    if (!WriteConsoleW(h, wide.data() + at, piece, &written, nullptr) || written == 0) return false;
    at += written;
  }
  return true;
}

bool std_stream_identity(StdStream stream, FileId& out) {
  const HANDLE h = std_handle(stream);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return false;
  const DWORD type = GetFileType(h);
  if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return false;
  out = id_of(info);
  return true;
}

// A process's standard handles are never handed to the files it opens.
void open_closed_std_streams() {}

bool write_std(StdStream stream, std::string_view bytes) {
  volatile LONG& failed = failed_flag(stream);
  if (failed != 0) return false;
  const HANDLE h = std_handle(stream);
  const bool written =
      h != INVALID_HANDLE_VALUE && h != nullptr &&
      (is_console(h) ? write_console(h, bytes) : write_handle(h, bytes.data(), bytes.size()));
  if (!written) failed = 1;
  return written;
}

// A write to a pipe without a reader fails (ERROR_NO_DATA) and ends nothing.
void report_broken_pipes() {}

bool is_terminal(StdStream stream) { return is_console(std_handle(stream)); }

bool std_stream_failed(StdStream stream) { return failed_flag(stream) != 0; }

}  // namespace sarnik::platform
