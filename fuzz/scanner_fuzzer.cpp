// The scanner over arbitrary bytes served from memory as a file: the error
// exit, or a record that keeps every promise the report and the output rely
// on; without skipped bytes, the frames are the file's first bytes, each as
// long as its header says or as the file still holds.
#include <algorithm>

#include "adts/adts_header.hpp"
#include "check.hpp"
#include "support/product.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sarnik;
  const test::Scanned s = test::scan_bytes(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!s.status) {
    FUZZ_CHECK(!s.error.empty());
    return 0;
  }
  const AdtsInput& in = s.input;
  FUZZ_CHECK(in.file_size == size && in.frame_count >= 1 && in.frame_offsets.size() == in.frame_count + 1u);
  FUZZ_CHECK(in.frame_offsets.front() == 0 && in.frame_offsets.back() <= size);
  for (std::uint32_t k = 0; k < in.frame_count; ++k) {
    const std::uint32_t length = in.frame_offsets[k + 1] - in.frame_offsets[k];
    FUZZ_CHECK(in.frame_offsets[k + 1] > in.frame_offsets[k] && length >= kAdtsHeaderSize && length <= 8191);
  }
  constexpr std::uint32_t kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000, 0};
  FUZZ_CHECK(!in.segments.empty() && in.segments.front().first_frame == 0);
  for (std::size_t i = 0; i < in.segments.size(); ++i) {
    const FormatSegment& g = in.segments[i];
    FUZZ_CHECK(g.first_frame < in.frame_count && std::ranges::count(kRates, g.sampling_rate) == 1);
    FUZZ_CHECK(i == 0 || (g.first_frame > in.segments[i - 1].first_frame &&
                          g.channel_config != in.segments[i - 1].channel_config));
  }
  if (s.status != ScanResult::clean) return 0;
  std::size_t segment = 0;
  std::uint32_t channels = 0;
  for (std::uint32_t k = 0; k < in.frame_count; ++k) {
    const std::uint32_t at = in.frame_offsets[k];
    FUZZ_CHECK(std::size_t{at} + kAdtsHeaderSize < size && is_adts_header(data + at));
    const AdtsHeader h = parse_adts_header(data + at);
    FUZZ_CHECK(in.frame_offsets[k + 1] - at == std::min<std::size_t>(h.frame_length, size - at));
    if (segment < in.segments.size() && in.segments[segment].first_frame == k) {
      const FormatSegment& g = in.segments[segment++];
      FUZZ_CHECK(g.channel_config == h.channel_config && g.mpeg_id == h.mpeg_id && g.profile == h.profile &&
                 g.sampling_rate == h.sampling_rate);
      channels = h.channel_config;
    }
    FUZZ_CHECK(h.channel_config == channels);
  }
  // What follows the last frame is too short to be a frame of its own.
  FUZZ_CHECK(segment == in.segments.size() && size - in.frame_offsets.back() <= kAdtsHeaderSize);
  return 0;
}
