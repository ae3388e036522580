#include "output/channel_layout.hpp"

#include <algorithm>
#include <iterator>

#include "adts/adts_header.hpp"
#include "adts/program_config.hpp"
#include "common/fail.hpp"

namespace sarnik {
namespace {

// Frame k of input, read from its file: the bytes the scan stored for it.
std::vector<std::uint8_t> read_frame(ScannedInput& input, std::uint32_t k) {
  const Table<std::uint32_t>& offsets = input.frames.frame_offsets;
  std::vector<std::uint8_t> bytes(offsets[k + 1] - offsets[k]);
  std::size_t got = 0;
  if (!input.file.seek(offsets[k]) || !input.file.read(bytes.data(), bytes.size(), got)) {
    fail_and_exit(Msg::input_read_failed);
  }
  if (got != bytes.size()) fail_and_exit(Msg::input_changed);
  return bytes;
}

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

std::vector<std::uint8_t> with_channel_layout(ScannedInput& input, std::uint32_t frame) {
  const AdtsInput& frames = input.frames;
  if (channel_config_of(frames, frame) != 0 ||
      std::binary_search(frames.pce_frames.begin(), frames.pce_frames.end(), frame)) {
    return {};
  }
  const std::vector<std::uint32_t> sources = nearest_pce_frames(frames, frame);
  if (sources.empty()) return {};

  std::vector<std::uint8_t> first = read_frame(input, frame);
  // A frame with a CRC would need it computed anew; a frame that the file
  // cuts short has no length to grow.
  if (adts_protection_absent(first.data()) != 1 ||
      adts_frame_length(first.data()) != first.size()) {
    return {};
  }
  for (const std::uint32_t source : sources) {
    const std::vector<std::uint8_t> with_pce = read_frame(input, source);
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
