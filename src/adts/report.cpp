#include "adts/report.hpp"

#include <limits>

#include "common/format.hpp"

namespace sarnik {
namespace {

constexpr std::uint32_t kProfileLc = 1;
constexpr std::uint32_t kEditableRate = 48000;
constexpr double kSamplesPerFrame = 1024;

// Truncation toward zero into 32 bits, saturating instead of overflowing.
std::uint32_t truncate_u32(double value) {
  if (!(value > 0)) return 0;
  if (value >= 4294967296.0) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(value);
}

Msg profile_line(std::uint32_t profile) {
  switch (profile) {
    case 0: return Msg::profile_main;
    case 1: return Msg::profile_lc;
    case 2: return Msg::profile_ssr;
    default: return Msg::profile_unknown;
  }
}

void print_channel_line(std::uint32_t config, Console& console) {
  if (config == 0) {
    console.out(Msg::channel_dual);
  } else if (config <= 5) {
    console.out(Msg::channel_plain, {config});
  } else {
    console.out(Msg::channel_lfe, {config - 1});
  }
}

void print_profile_line(std::uint32_t profile, bool& editable, Console& console) {
  console.out(profile_line(profile));
  if (profile != kProfileLc) editable = false;
}

void print_version_line(std::uint32_t mpeg_id, Console& console) {
  console.out(Msg::report_version, {mpeg_id != 0 ? Msg::version_mpeg2 : Msg::version_mpeg4});
}

}  // namespace

std::uint32_t playing_seconds(std::uint32_t frame_count, std::uint32_t sampling_rate) {
  if (sampling_rate == 0) return 0;
  const double frames_per_second = sampling_rate * (1 / kSamplesPerFrame);
  return truncate_u32(frame_count / frames_per_second);
}

std::uint32_t average_bit_rate(std::uint32_t file_size, std::uint32_t frame_count,
                               std::uint32_t sampling_rate) {
  if (sampling_rate == 0 || frame_count == 0) return 0;
  const double frames_per_second = sampling_rate * (1 / kSamplesPerFrame);
  return truncate_u32(frames_per_second * file_size * 8 / frame_count + 0.5);
}

void print_input_report(std::string_view name, const AdtsInput& input, bool& editable,
                        Console& console) {
  const std::uint32_t rate = input.segments.empty() ? 0 : input.segments.front().sampling_rate;
  const std::uint32_t seconds = playing_seconds(input.frame_count, rate);
  const std::uint32_t bit_rate = average_bit_rate(input.file_size, input.frame_count, rate);

  console.out(Msg::report_title, {FileName{name}});
  console.out(Msg::report_size, {input.file_size});
  console.out(Msg::report_frames, {input.frame_count});
  console.out(Msg::report_time, {seconds / 3600, seconds / 60 % 60, seconds % 60});
  console.out(Msg::report_bit_rate, {bit_rate / 1000, bit_rate % 1000});

  const FormatSegment* previous = nullptr;
  for (const FormatSegment& segment : input.segments) {
    if (segment.first_frame == 0) {
      print_version_line(segment.mpeg_id, console);
      print_profile_line(segment.profile, editable, console);
      console.out(Msg::report_sampling_rate, {segment.sampling_rate});
      print_channel_line(segment.channel_config, console);
    } else {
      console.out(Msg::report_from_frame, {segment.first_frame});
      if (previous == nullptr || segment.mpeg_id != previous->mpeg_id) {
        print_version_line(segment.mpeg_id, console);
      }
      if (previous == nullptr || segment.profile != previous->profile) {
        print_profile_line(segment.profile, editable, console);
      }
      if (previous == nullptr || segment.sampling_rate != previous->sampling_rate) {
        console.out(Msg::report_sampling_rate, {segment.sampling_rate});
      }
      if (previous == nullptr || segment.channel_config != previous->channel_config) {
        print_channel_line(segment.channel_config, console);
      }
    }
    if (segment.sampling_rate != kEditableRate) editable = false;
    previous = &segment;
  }
}

}  // namespace sarnik
