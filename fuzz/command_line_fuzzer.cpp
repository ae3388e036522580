// The command line over arbitrary arguments (the input split at its NUL
// bytes), in both revisions: the usage text, the error exit, the invalid
// verdict or settings that keep the command line's promises.
#include "check.hpp"
#include "driver/command_line.hpp"
#include "platform/names.hpp"
#include "support/product.hpp"

namespace {

using namespace sarnik;

void parse(const std::vector<std::string>& args, const Revision& revision) {
  std::vector<const char*> argv{"sarnik"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  RunSettings s;
  test::CapturedConsole captured;
  ParseResult result = ParseResult::invalid;
  try {
    result = parse_command_line(s, static_cast<int>(argv.size()), argv.data(), revision, captured.console);
  } catch (const FatalError& e) {
    FUZZ_CHECK(!text(e.message).empty());
    return;
  }
  if (result == ParseResult::usage_shown) {
    FUZZ_CHECK(captured.out() == text(Msg::usage));
    return;
  }
  FUZZ_CHECK(result == ParseResult::invalid || s.input_count() >= 1);
  FUZZ_CHECK(s.input_count() <= kMaxInputs);
  FUZZ_CHECK(s.frame_rate == kFrameRate2997 || s.frame_rate == kFrameRate5994);
  if (result == ParseResult::invalid) return;
  for (const std::string& name : s.input_names) FUZZ_CHECK(name.empty() || name[0] != '-');
  if (!s.derive_from_name) {
    FUZZ_CHECK(s.delay >= -999999 && s.delay <= 9999999);
    return;
  }
  // -x replaced the output by a name of at most 259 bytes; add 3 refuses a
  // zero delay, so its output never names the first input.
  FUZZ_CHECK(s.output_name && s.output_name->size() <= kMaxDerivedNameLength);
  FUZZ_CHECK(s.output_name->find("0ms") != std::string::npos);
  if (revision.add == 3) FUZZ_CHECK(s.delay != 0 && *s.output_name != s.input_names.front());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::size_t from = 0; size > 0 && from <= size;) {
    const std::size_t nul = std::min(input.find('\0', from), size);
    args.emplace_back(input.substr(from, nul - from));
    from = nul + 1;
  }
  parse(args, Revision{3, nullptr});
  parse(args, Revision{2, &platform::str_cspn_ia});
  return 0;
}
