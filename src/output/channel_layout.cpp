#include "output/channel_layout.hpp"

#include <algorithm>
#include <iterator>

#include "adts/adts_header.hpp"
#include "adts/program_config.hpp"

namespace sarnik {
namespace {

std::uint32_t channel_config_of(const AdtsInput& input, std::uint32_t k) {
  const auto after = std::upper_bound(input.segments.begin(), input.segments.end(), k,
                                      [](std::uint32_t frame, const FormatSegment& segment) {
                                        return frame < segment.first_frame;
                                      });
  return std::prev(after)->channel_config;
}

// The frames with a PCE nearest before k and nearest after it, those that
// exist, in that order.
std::vector<std::uint32_t> nearest_pce_frames(const AdtsInput& input, std::uint32_t k) {
  const auto after = std::upper_bound(input.pce_frames.begin(), input.pce_frames.end(), k);
  std::vector<std::uint32_t> frames;
  if (after != input.pce_frames.begin()) frames.push_back(*std::prev(after));
  if (after != input.pce_frames.end()) frames.push_back(*after);
  return frames;
}

}  // namespace

std::vector<std::uint8_t> with_channel_layout(InputFile& input, std::uint32_t frame) {
  const AdtsInput& frames = input.frames();
  if (channel_config_of(frames, frame) != 0 ||
      std::binary_search(frames.pce_frames.begin(), frames.pce_frames.end(), frame)) {
    return {};
  }
  const std::vector<std::uint32_t> sources = nearest_pce_frames(frames, frame);
  if (sources.empty()) return {};

  std::vector<std::uint8_t> first = input.read_frame(frame);
  // A frame with a CRC would need it computed anew; a frame that the file
  // cuts short has no length to grow.
  if (adts_protection_absent(first.data()) != 1 ||
      adts_frame_length(first.data()) != first.size()) {
    return {};
  }
  for (const std::uint32_t source : sources) {
    const std::vector<std::uint8_t> with_pce = input.read_frame(source);
    const std::uint32_t pce_length =
        program_config_length(with_pce.data() + kAdtsHeaderSize, with_pce.size() - kAdtsHeaderSize);
    if (pce_length == 0) continue;
    const std::size_t length = first.size() + pce_length;
    if (length > kMaxAdtsFrameLength) return {};
    const auto pce = with_pce.begin() + kAdtsHeaderSize;
    first.insert(first.begin() + kAdtsHeaderSize, pce, pce + pce_length);
    set_adts_frame_length(first.data(), static_cast<std::uint32_t>(length));
    return first;
  }
  return {};
}

}  // namespace sarnik
