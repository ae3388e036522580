#include "adts/report.hpp"

#include <algorithm>
#include <limits>

#include "common/format.hpp"

namespace sarnik {
namespace {

constexpr double kSamplesPerFrame = 1024;

// Truncation toward zero into 32 bits, saturating instead of overflowing.
std::uint32_t truncate_u32(double value) {
  if (!(value > 0)) return 0;
  if (value >= 4294967296.0) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(value);
}

Msg profile_line(std::uint32_t profile) {
  switch (profile) {
    case 0:
      return Msg::profile_main;
    case 1:
      return Msg::profile_lc;
    case 2:
      return Msg::profile_ssr;
    default:
      return Msg::profile_unknown;
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

void print_input_report(std::string_view name, const AdtsInput& input, Console& console) {
  const std::uint32_t rate = input.segments.empty() ? 0 : input.segments.front().sampling_rate;
  const std::uint32_t seconds = playing_seconds(input.frame_count, rate);
  const std::uint32_t bit_rate = average_bit_rate(input.file_size, input.frame_count, rate);

  console.out(Msg::report_title, {FileName{name}});
  console.out(Msg::report_size, {input.file_size});
  console.out(Msg::report_frames, {input.frame_count});
  console.out(Msg::report_time, {seconds / 3600, seconds / 60 % 60, seconds % 60});
  console.out(Msg::report_bit_rate, {bit_rate / 1000, bit_rate % 1000});

  // The first segment shows every parameter; each later one, where the
  // channels change, the frame it starts at and what differs.
  const FormatSegment* previous = nullptr;
  for (const FormatSegment& segment : input.segments) {
    if (previous != nullptr) console.out(Msg::report_from_frame, {segment.first_frame});
    if (previous == nullptr || segment.mpeg_id != previous->mpeg_id) {
      console.out(Msg::report_version,
                  {segment.mpeg_id != 0 ? Msg::version_mpeg2 : Msg::version_mpeg4});
    }
    if (previous == nullptr || segment.profile != previous->profile) {
      console.out(profile_line(segment.profile));
    }
    if (previous == nullptr || segment.sampling_rate != previous->sampling_rate) {
      console.out(Msg::report_sampling_rate, {segment.sampling_rate});
    }
    print_channel_line(segment.channel_config, console);
    previous = &segment;
  }
}

bool can_edit(const std::vector<InputFile>& inputs) {
  return std::all_of(inputs.begin(), inputs.end(), [](const InputFile& in) {
    return in.result() == ScanResult::clean && in.frames().every_frame_editable;
  });
}

}  // namespace sarnik
