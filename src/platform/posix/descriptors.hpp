// What the POSIX parts of the platform layer share.
#pragma once

#include <sys/stat.h>

#include <cstddef>

#include "platform/file.hpp"

namespace sarnik::platform {

FileId id_of(const struct stat& st);

// Writes all n bytes to fd, retrying short and interrupted writes; false on
// any failure.
bool write_fd(int fd, const char* data, std::size_t n);

}  // namespace sarnik::platform
