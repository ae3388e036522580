// Win32 files.
#include <windows.h>

#include "platform/file.hpp"
#include "platform/names.hpp"
#include "platform/win32/handles.hpp"

namespace sarnik::platform {
namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr std::size_t kMaxPiece = 1u << 30;

}  // namespace

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

FileId id_of(const BY_HANDLE_FILE_INFORMATION& info) {
  return FileId{info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

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

bool remove_file(const char* path) { return DeleteFileW(wide_from_utf8(path).c_str()) != 0; }

}  // namespace sarnik::platform
