// Win32 implementation of the platform layer.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/file.hpp"
#include "platform/names.hpp"

namespace sarnik::platform {
namespace {

HANDLE handle_of(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }
HANDLE std_handle(StdStream stream) {
  return GetStdHandle(stream == StdStream::out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t kMaxPiece = 1u << 30;

bool write_handle(HANDLE h, const char* data, std::size_t n) {
  while (n > 0) {
    const DWORD piece = static_cast<DWORD>(n < kMaxPiece ? n : kMaxPiece);
    DWORD written = 0;
    if (!WriteFile(h, data, piece, &written, nullptr) || written == 0) return false;
    data += written;
    n -= written;
  }
  return true;
}

bool is_console(HANDLE h) {
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode) != 0;
}

// Text for a console is UTF-8; the console takes it in UTF-16, whatever its
// code page.
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

FileId id_of(const BY_HANDLE_FILE_INFORMATION& info) {
  return FileId{info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

HANDLE interrupt_output = INVALID_HANDLE_VALUE;  // the file to empty
HANDLE interrupted_thread = nullptr;             // the thread that copies
bool interrupt_console = false;
// Per standard stream (output, error): a write to it has failed.
volatile LONG stream_failed[2] = {0, 0};
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
  if (interrupt_console && stream_failed[0] == 0) write_console(std_handle(StdStream::out), "\n");
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

bool remove_file(const char* path) { return DeleteFileW(wide_from_utf8(path).c_str()) != 0; }

bool File::open_read(const char* path) {
  close();
  const HANDLE h = CreateFileW(wide_from_utf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool File::create_write(const char* path) {
  close();
  // Opened without sharing, so no other opener can have it; emptied only
  // once it is held, and a file that another run holds is left as it is.
  const HANDLE h = CreateFileW(wide_from_utf8(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  if (is_regular() && !truncate(0)) {
    close();
    return false;
  }
  return true;
}

bool File::create_new(const char* path) {
  close();
  const HANDLE h = CreateFileW(wide_from_utf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                               nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool File::size(std::uint64_t& out) const {
  DWORD high = 0;
  const DWORD low = GetFileSize(handle_of(handle_), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  out = (static_cast<std::uint64_t>(high) << 32) | low;
  return true;
}

bool File::is_regular() const { return GetFileType(handle_of(handle_)) == FILE_TYPE_DISK; }

bool File::read(void* buffer, std::size_t n, std::size_t& got) {
  got = 0;
  auto* p = static_cast<char*>(buffer);
  while (got < n) {
    const std::size_t want = n - got;
    const DWORD piece = static_cast<DWORD>(want < kMaxPiece ? want : kMaxPiece);
    DWORD r = 0;
    if (!ReadFile(handle_of(handle_), p + got, piece, &r, nullptr)) return false;
    if (r == 0) break;
    got += r;
  }
  return true;
}

bool File::seek(std::uint64_t position) {
  LONG high = static_cast<LONG>(position >> 32);
  const DWORD low = SetFilePointer(handle_of(handle_), static_cast<LONG>(position & 0xFFFFFFFFu),
                                   &high, FILE_BEGIN);
  return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool File::write_all(const void* buffer, std::size_t n) {
  return write_handle(handle_of(handle_), static_cast<const char*>(buffer), n);
}

bool File::truncate(std::uint64_t length) {
  return seek(length) && SetEndOfFile(handle_of(handle_)) != 0;
}

bool File::identity(FileId& out) const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle_of(handle_), &info)) return false;
  out = id_of(info);
  return true;
}

bool File::stamp(FileStamp& out) const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle_of(handle_), &info)) return false;
  out = FileStamp{(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                  (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                      info.ftLastWriteTime.dwLowDateTime};
  return true;
}

// No system copy on Windows: every byte goes through copy_range's buffer.
std::uint64_t copy_in_system(File&, std::uint64_t, std::uint64_t, File&) { return 0; }

// Closing a handle on Windows reports no write error that its cache deferred
// (only FlushFileBuffers would, by waiting for the disk): nothing to settle.
bool File::settle() { return is_open(); }

bool File::close() {
  if (handle_ == kNoHandle) return true;
  const HANDLE h = handle_of(handle_);
  handle_ = kNoHandle;
  return CloseHandle(h) != 0;
}

bool file_identity(const char* path, FileId& out) {
  // No access rights are needed to ask for the identity; the flag lets the
  // call reach directories as well.
  const HANDLE h = CreateFileW(wide_from_utf8(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  if (ok) out = id_of(info);
  return ok;
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

// Large pages need a privilege that a user rarely holds; the hint is not
// taken.
void advise_huge_pages(void*, std::size_t) {}

// A process's standard handles are never handed to the files it opens.
void open_closed_std_streams() {}

bool write_std(StdStream stream, std::string_view bytes) {
  volatile LONG& failed = stream_failed[stream == StdStream::out ? 0 : 1];
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

}  // namespace sarnik::platform
