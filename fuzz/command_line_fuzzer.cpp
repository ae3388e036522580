// The command line over arbitrary arguments (split at NUL bytes), in both revisions:
// usage, the error exit, invalid, or settings that keep the command line's promises.
#include <cstring>

#include "driver/command_line.hpp"
#include "platform/names.hpp"
#include "support/product.hpp"

namespace {

using namespace sarnik;

void parse(const std::vector<const char*>& argv, const Revision& revision) {
  RunSettings s;
  test::CapturedConsole captured;
  ParseResult result = ParseResult::invalid;
  try {
    result = parse_command_line(s, static_cast<int>(argv.size()), argv.data(), revision, captured.console);
  } catch (const FatalError& e) {
    return FUZZ_CHECK(!text(e.message).empty());
  }
  if (result == ParseResult::invalid) return FUZZ_CHECK(captured.out().empty());
  if (result == ParseResult::usage_shown) return FUZZ_CHECK(captured.out() == text(Msg::usage));
  if (s.print_ranges) return FUZZ_CHECK(s.input_names.empty() && !s.output_name && captured.out().empty());
  FUZZ_CHECK(s.input_count() >= 1 && s.input_count() <= kMaxInputs);
  FUZZ_CHECK(s.frame_rate == kFrameRate2997 || s.frame_rate == kFrameRate5994);
  for (const std::string& name : s.input_names) FUZZ_CHECK(name.empty() || name[0] != '-');
  if (!s.derive_from_name) return FUZZ_CHECK(s.delay >= -999999 && s.delay <= 9999999);
  // -x replaced the output by a name of at most 259 bytes; add 3 refuses a
  // zero delay, so its output never names the first input.
  FUZZ_CHECK(s.output_name && s.output_name->size() <= kMaxDerivedNameLength);
  FUZZ_CHECK(s.output_name->find("0ms") != std::string::npos);
  FUZZ_CHECK(revision.derive_from_name == &derive_add2 || (s.delay != 0 && *s.output_name != s.input_names.front()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<const char*> argv{"sarnik"};
  for (std::size_t from = 0; size > 0 && from <= size; from += std::strlen(argv.back()) + 1) {
    argv.push_back(input.c_str() + from);  // the arguments between NUL bytes
  }
  parse(argv, Revision{Msg::banner_add3, 100, &derive_add3});
  parse(argv, Revision{Msg::banner_add2, 108, &derive_add2});
  return 0;
}
