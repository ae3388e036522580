#include "driver/command_line.hpp"

#include "common/ascii.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

// The -d value as converted after its check passed: the optional sign, then
// the digits; a lone sign gives 0.
std::int32_t delay_value(std::string_view value) {
  const bool negative = !value.empty() && value[0] == '-';
  const bool has_sign = !value.empty() && (value[0] == '+' || value[0] == '-');
  // At most 7 characters, so the magnitude fits.
  const auto magnitude = static_cast<std::int32_t>(read_digits(value, has_sign ? 1 : 0).magnitude);
  return negative ? -magnitude : magnitude;
}

// The rules and the length limit work on the name's bytes as the platform
// gives them to byte rules (code page 932 on Windows); the output name is
// the input name cut at the same characters.
void derive_from_first_input(RunSettings& settings, const Revision& revision, Console& console) {
  const std::string& name = settings.input_names.front();
  const Derivation d = revision.derive_from_name(platform::name_rule_bytes(name));
  if (!d.ok) fail_and_exit(d.failure);
  settings.output_name = platform::cut_name(name, d.output_name, d.kept, d.resumed);
  settings.delay = d.delay;
  console.out(Msg::x_added_options);
  console.out(Msg::x_added_delay, {settings.delay});
  console.out(Msg::x_added_output, {FileName{*settings.output_name}});
}

[[noreturn]] void invalid_line() { fail_and_exit(Msg::invalid_options, true); }

}  // namespace

void print_usage(Console& console) { console.out(Msg::usage); }

bool is_valid_delay_value(std::string_view value) {
  if (value.size() > 7) return false;
  if (!value.empty() && (value[0] == '+' || value[0] == '-')) value.remove_prefix(1);
  for (char c : value) {
    if (!is_digit(c)) return false;
  }
  return true;
}

ParseResult parse_command_line(RunSettings& settings, int argc, const char* const* argv,
                               const Revision& revision, Console& console) {
  settings = RunSettings{};
  const std::string_view mode = argc > 1 ? argv[1] : "";
  settings.print_ranges = mode == "--print-ranges";
  settings.demux = mode == "--demux";
  if (!settings.print_ranges && !settings.demux) console.out(revision.banner);
  if (argc <= 1) {
    print_usage(console);
    return ParseResult::usage_shown;
  }
  if (settings.demux) {
    // The recording, and nothing else.
    if (argc != 3 || std::string_view(argv[2]).starts_with('-')) invalid_line();
    settings.input_names.emplace_back(argv[2]);
    return ParseResult::usable;
  }

  for (int i = settings.print_ranges ? 2 : 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.empty() || arg[0] != '-') {
      if (settings.input_count() >= kMaxInputs) {
        fail_and_exit(Msg::too_many_inputs, kMaxInputs, true);
      }
      settings.input_names.emplace_back(arg);
      continue;
    }

    const char option = arg.size() > 1 ? ascii_lower(arg[1]) : '\0';
    const bool has_value = i + 1 < argc;
    switch (option) {
      case 'h':
      case '?':
        print_usage(console);
        return ParseResult::usage_shown;
      case 'a':
        settings.direct_frames = true;
        break;
      case 'x':
        settings.derive_from_name = true;
        break;
      case 't':
        if (!has_value || settings.trim_argument) invalid_line();
        settings.trim_argument = argv[++i];
        break;
      case 'o':
        if (!has_value || settings.output_name) invalid_line();
        settings.output_name = argv[++i];
        break;
      case 'd':
        if (!has_value || !is_valid_delay_value(argv[i + 1])) invalid_line();
        settings.delay = delay_value(argv[++i]);
        break;
      case 'f': {
        if (!has_value) invalid_line();
        const std::string_view value = argv[++i];
        if (value.substr(0, 5) == "29.97") {
          settings.frame_rate = kFrameRate2997;
        } else if (value.substr(0, 5) == "59.94") {
          settings.frame_rate = kFrameRate5994;
        } else {
          invalid_line();
        }
        break;
      }
      default:
        invalid_line();
    }
  }

  if (settings.print_ranges) {
    if (!settings.input_names.empty() || settings.output_name) invalid_line();
    return ParseResult::usable;
  }
  if (settings.derive_from_name && !settings.input_names.empty()) {
    derive_from_first_input(settings, revision, console);
  }
  if (settings.input_names.empty()) invalid_line();
  return ParseResult::usable;
}

}  // namespace sarnik
