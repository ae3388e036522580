// The command line over arbitrary arguments (split at NUL bytes), in both revisions: the error
// exit, invalid (nothing printed), the usage, or settings that keep the command line's promises.
#include <cstring>

#include "driver/command_line.hpp"
#include "support/product.hpp"

using namespace sarnik;

static void parse(const std::vector<const char*>& argv, const Revision& revision) {
  RunSettings s;
  test::CapturedConsole captured;
  ParseResult result{};
  try {
    result = parse_command_line(s, static_cast<int>(argv.size()), argv.data(), revision,
                                captured.console);
  } catch (const FatalError& e) {
    return FUZZ_CHECK(!text(e.message).empty());
  }
  const std::string& out = captured.out();
  if (result != ParseResult::usable) {
    return FUZZ_CHECK(out == (result == ParseResult::invalid ? "" : text(Msg::usage)));
  }
  if (s.print_ranges) return FUZZ_CHECK(s.input_names.empty() && !s.output_name && out.empty());
  FUZZ_CHECK(s.input_count() >= 1 && s.input_count() <= kMaxInputs);
  for (const std::string& name : s.input_names) FUZZ_CHECK(name.empty() || name[0] != '-');
  if (!s.derive_from_name) return FUZZ_CHECK(s.delay >= -999999 && s.delay <= 9999999);
  // -x: an output name of at most 259 bytes; add 3 refuses a zero delay, which names the input.
  FUZZ_CHECK(s.output_name->size() <= kMaxDerivedNameLength &&
             s.output_name->find("0ms") != std::string::npos);
  FUZZ_CHECK(revision.derive_from_name == &derive_add2 ||
             (s.delay != 0 && *s.output_name != s.input_names[0]));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<const char*> argv{"sarnik"};
  for (std::size_t from = 0; size > 0 && from <= size; from += std::strlen(argv.back()) + 1) {
    argv.push_back(input.c_str() + from);
  }
  parse(argv, Revision{Msg::banner_add3, 100, &derive_add3});
  parse(argv, Revision{Msg::banner_add2, 108, &derive_add2});
  return 0;
}
