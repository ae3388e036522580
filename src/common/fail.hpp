// How the program reports how an operation ended, in one place.
//
// - A fatal condition never returns: fail_and_exit unwinds to run_main, the
//   one place that catches, which writes "エラー: <message>" to the standard
//   error, the usage text when asked, empties an output the run created and
//   ends the run with exit code 1; what the run held is freed by its owners
//   as the exception leaves them. Running out of memory ends the same way.
// - An operation that can end in more than one good way returns one of the
//   named results below, and its caller acts on it.
// - Every other operation returns nothing, or the value it computes.
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

// The command line: settings to run with, an invalid line (the run ends
// through the error exit, with the usage text), or the usage text printed on
// request (the run ends there, with exit code 0).
enum class ParseResult { invalid, usable, usage_shown };

// A scanned input: every frame followed its predecessor, or bytes had to be
// skipped at least once (the input may have dropped frames and is not
// edited).
enum class ScanResult { clean, skipped };

}  // namespace sarnik
