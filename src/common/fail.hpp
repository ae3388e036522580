// The one error exit. fail_and_exit never returns: it unwinds to the run
// driver, which writes "エラー: <message>" to the standard error, the usage
// text when asked, releases everything and ends the run with exit code 1.
#pragma once

#include <cstdint>
#include <optional>

#include "common/messages.hpp"

namespace sarnik {

struct FatalError {
  Msg message;
  bool with_usage = false;
  std::optional<std::int32_t> number;  // for the message's %d, if it has one
};

[[noreturn]] inline void fail_and_exit(Msg id, bool with_usage = false) {
  throw FatalError{id, with_usage, std::nullopt};
}

[[noreturn]] inline void fail_and_exit(Msg id, std::int32_t number, bool with_usage) {
  throw FatalError{id, with_usage, number};
}

}  // namespace sarnik
