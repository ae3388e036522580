// Files of the host system: opening, reading, writing, identity and change
// stamps, and the copy of a range of one file into another. One
// implementation over POSIX, one over Win32; every call reports success or
// failure and the callers decide what a failure means.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sarnik::platform {

// What identifies a file regardless of the name it was reached by:
// device and inode on POSIX, volume serial number and file index on Win32.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FileId&, const FileId&) = default;
};

// What tells whether a file was changed after a point: its size and the
// time of its last change in the system's ticks (on POSIX nanoseconds of the
// status change, which no one can set back; on Win32 the last write's
// 100-nanosecond intervals).
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t change_time = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  // Opens an existing file for reading; other openers may read it too.
  // A directory cannot be opened.
  bool open_read(const char* path);
  // Creates a file for writing, or opens an existing one, held exclusively:
  // fails, leaving the file as it was, while another run holds it; then
  // empties it.
  bool create_write(const char* path);
  // Creates a new file for writing; fails when a file of that name exists.
  // It may be removed (remove_file) while it is open.
  bool create_new(const char* path);

  bool is_open() const { return handle_ != kNoHandle; }

  bool size(std::uint64_t& out) const;
  // Whether the file is an ordinary disk file (not a device, a pipe or a
  // console), one that truncate can cut.
  bool is_regular() const;
  // Reads up to n bytes at the current position; got < n only at the end of
  // the file. False when the system reports an error.
  bool read(void* buffer, std::size_t n, std::size_t& got);
  // Moves to an absolute position counted from the start of the file.
  bool seek(std::uint64_t position);
  // Writes all n bytes, retrying short writes. False on any failure.
  bool write_all(const void* buffer, std::size_t n);
  // Cuts (or extends) the file to length bytes and moves to its end.
  bool truncate(std::uint64_t length);
  bool identity(FileId& out) const;
  bool stamp(FileStamp& out) const;
  // Settles the bytes written so far as closing the file does, where the
  // system reports the write errors that it deferred (network and FUSE file
  // systems report them on closing, not on writing), yet keeps the file open
  // and held, so that a failure can still empty it. False when the system
  // reports an error.
  bool settle();
  // Closes the file; false when the system reports an error (on a file
  // being written, data may then be lost). Closing a closed file is true.
  bool close();

  // The system's handle (a descriptor on POSIX), for copy_range and the
  // interrupt handling.
  std::intptr_t native_handle() const { return handle_; }

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;
};

// The identity of the file at path; false when it cannot be reached.
bool file_identity(const char* path, FileId& out);

// Removes the file; false when the system reports an error.
bool remove_file(const char* path);

enum class CopyStatus { done, source_ended, read_failed, write_failed };

// Copies length bytes of in, from position on, to out at out's current
// position, advancing it; in's own position is left undefined. source_ended
// when in holds fewer bytes. The system copies what it can without the bytes
// passing through the process; the rest goes through buffer, which is the
// caller's, sized on first use and kept for the next copy.
CopyStatus copy_range(File& in, std::uint64_t position, std::uint64_t length, File& out,
                      std::vector<char>& buffer);

// The number of bytes, from the first on, that the system copied itself
// (see copy_range); 0 where it offers no such copy for these files.
std::uint64_t copy_in_system(File& in, std::uint64_t position, std::uint64_t length, File& out);

}  // namespace sarnik::platform
