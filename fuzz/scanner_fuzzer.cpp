// The ADTS scanner over arbitrary bytes: the error exit, or a record that keeps every promise.
#include <utility>

#include "support/product.hpp"

namespace sarnik {
namespace {

// The header's field of width bits from bit first on (bit 0 the first byte's most significant).
std::uint32_t field(const std::uint8_t* h, int first, int width) {
  std::uint64_t bits = 0;
  for (int i = 0; i < 7; ++i) bits = bits << 8 | h[i];
  return static_cast<std::uint32_t>(bits >> (56 - first - width) & ((1u << width) - 1));
}
constexpr std::uint32_t kRates[16] = {96000, 88200, 64000, 48000, 44100, 32000,
                                      24000, 22050, 16000, 12000, 11025, 8000};

// Without skipped bytes the frames are the file's, each as long as its header says, a segment
// opening with each change of the channels, those that open with a PCE recorded, and the verdict on
// editing that of every frame.
void scan(const std::uint8_t* data, std::size_t size) {
  const test::Scanned s = test::scan_bytes({reinterpret_cast<const char*>(data), size});
  const AdtsInput& in = s.input;
  FUZZ_CHECK(s.status ? in.file_size == size && !in.segments.empty() : !s.error.empty());
  if (s.status != ScanResult::clean) return;
  FUZZ_CHECK(in.frame_offsets.size() == in.frame_count + 1u && in.frame_offsets.front() == 0);
  FUZZ_CHECK(size - in.frame_offsets.back() <= 7);  // too short to be a frame
  std::size_t segment = 0, pces = 0;
  bool editable = true;
  for (std::uint32_t k = 0, previous = 8; k < in.frame_count; ++k) {
    const std::uint8_t* h = data + in.frame_offsets[k];
    const std::uint32_t length = in.frame_offsets[k + 1] - in.frame_offsets[k];
    // A syncword of 12 ones, a layer of 0 and a length of the header at least.
    FUZZ_CHECK(in.frame_offsets[k] + 7 < size && field(h, 0, 12) == 0xFFF && field(h, 13, 2) == 0 &&
               field(h, 30, 13) >= 7);
    FUZZ_CHECK(length == std::min<std::size_t>(field(h, 30, 13), size - in.frame_offsets[k]));
    // LC, 48000 Hz, one raw data block.
    editable = editable && field(h, 16, 2) == 1 && field(h, 18, 4) == 3 && field(h, 54, 2) == 0;
    // No CRC, and raw data whose first element's id is 5.
    if (length > 7 && field(h, 15, 1) == 1 && h[7] >> 5 == 5)
      FUZZ_CHECK(in.pce_frames.at(pces++) == k);
    const std::uint32_t channels = field(h, 23, 3);
    if (channels == std::exchange(previous, channels)) continue;
    const FormatSegment g = in.segments.at(segment++);
    FUZZ_CHECK(g.first_frame == k && g.channel_config == channels && g.mpeg_id == field(h, 12, 1) &&
               g.profile == field(h, 16, 2) && g.sampling_rate == kRates[field(h, 18, 4)]);
  }
  FUZZ_CHECK(segment == in.segments.size() && pces == in.pce_frames.size() &&
             in.every_frame_editable == editable);
}

}  // namespace
}  // namespace sarnik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sarnik::scan(data, size);
  return 0;
}
