// How the program reports how an operation ended, in one place.
//
// - A fatal condition never returns: fail_and_exit unwinds to run_main, the
//   one place that catches, which writes "エラー: <message>" to the standard
//   error and the usage text when asked, and ends the run with exit code 1.
//   What the run held is given back by its owners as the exception leaves
//   them: an output the run created is emptied by its OutputFile. Running
//   out of memory ends the same way.
// - An operation that can end in more than one good way returns one of the
//   named results of its module, and its caller acts on it.
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

}  // namespace sarnik
