// The one error exit. fail_and_exit never returns: it unwinds to the run
// driver, which writes "エラー: <message>" to the standard error, the usage
// text when asked, releases everything and ends the run with exit code 1.
#pragma once

#include <string>
#include <utility>

#include "common/messages.hpp"

namespace sarnik {

struct FatalError {
  std::string message;  // CP932 bytes
  bool with_usage = false;
};

[[noreturn]] inline void fail_and_exit(std::string message, bool with_usage = false) {
  throw FatalError{std::move(message), with_usage};
}

[[noreturn]] inline void fail_and_exit(Msg id, bool with_usage = false) {
  fail_and_exit(std::string(text(id)), with_usage);
}

}  // namespace sarnik
