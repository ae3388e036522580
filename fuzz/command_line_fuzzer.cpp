// The command line over arbitrary arguments: the input is split into
// arguments at its NUL bytes and parsed by both revisions. A parse ends in
// usable settings, an invalid verdict, the usage text or the error exit;
// the settings it leaves must keep the command line's promises.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/console.hpp"
#include "common/fail.hpp"
#include "common/settings.hpp"
#include "driver/command_line.hpp"
#include "driver/revision.hpp"
#include "platform/str_cspn.hpp"
#include "check.hpp"
#include "support/product.hpp"

namespace {

using namespace sarnik;

void check_settings(const RunSettings& s, std::int32_t status, const Revision& revision) {
  FUZZ_CHECK(status == 0 || status == 1);
  FUZZ_CHECK(s.input_count() <= kMaxInputs);
  FUZZ_CHECK(s.frame_rate == kFrameRate2997 || s.frame_rate == kFrameRate5994);
  if (status == 1) FUZZ_CHECK(s.input_count() >= 1);
  if (status == 0) return;
  for (const std::string& name : s.input_names) {
    FUZZ_CHECK(name.empty() || name[0] != '-');
  }
  if (!s.derive_from_name) {
    // -d takes at most 7 characters, sign included.
    FUZZ_CHECK(s.delay >= -999999 && s.delay <= 9999999);
    FUZZ_CHECK(s.derived_name.empty());
    return;
  }
  // -x replaced the output name by one that fits the 260-byte buffer.
  FUZZ_CHECK(s.output_name.has_value() && *s.output_name == s.derived_name);
  FUZZ_CHECK(s.derived_name.size() <= kMaxDerivedNameLength);
  FUZZ_CHECK(s.derived_name.find("0ms") != std::string::npos);
  // The add 3 rule stops on a zero delay, so its output never names the
  // first input.
  if (revision.add == 3) FUZZ_CHECK(s.delay != 0 && s.derived_name != s.input_names.front());
}

void parse(const std::vector<std::string>& args, const Revision& revision) {
  std::vector<const char*> argv{"sarnik"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  RunSettings settings;
  Console console = test::captured_console();
  std::int32_t status = 0;
  try {
    status = parse_command_line(settings, static_cast<int>(argv.size() - 1), argv.data(), revision,
                                console);
  } catch (const FatalError& e) {
    FUZZ_CHECK(!text(e.message).empty());
    return;
  } catch (const UsageShown&) {
    FUZZ_CHECK(!console.captured_out().empty());
    return;
  }
  check_settings(settings, status, revision);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  if (size > 0) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t from = 0;
    for (;;) {
      const std::size_t nul = input.find('\0', from);
      args.emplace_back(input.substr(from, nul == std::string_view::npos ? nul : nul - from));
      if (nul == std::string_view::npos) break;
      from = nul + 1;
    }
  }
  parse(args, Revision{3, nullptr});
  parse(args, Revision{2, &platform::str_cspn_ia});
  return 0;
}
