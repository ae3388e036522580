// The scanner over arbitrary bytes: the error exit, or a record that keeps every
// promise; without skipped bytes, the frames are the file's, each as long as its header says.
#include "adts/adts_header.hpp"
#include "support/product.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sarnik;
  const test::Scanned s =
      test::scan_bytes(std::string_view(reinterpret_cast<const char*>(data), size));
  const AdtsInput& in = s.input;
  FUZZ_CHECK(s.status ? in.file_size == size && in.frame_count >= 1 && !in.segments.empty()
                      : !s.error.empty());
  if (s.status != ScanResult::clean) return 0;
  FUZZ_CHECK(in.frame_offsets.size() == in.frame_count + 1u && in.frame_offsets.front() == 0);
  FUZZ_CHECK(size - in.frame_offsets.back() <= kAdtsHeaderSize);  // too short to be a frame
  std::size_t segment = 0;
  bool editable = true;
  for (std::uint32_t k = 0; k < in.frame_count; ++k) {
    const std::uint32_t at = in.frame_offsets[k];
    FUZZ_CHECK(std::size_t{at} + kAdtsHeaderSize < size && is_adts_header(data + at));
    const AdtsHeader h = parse_adts_header(data + at);
    editable = editable && is_editable_frame(data + at);
    FUZZ_CHECK(in.frame_offsets[k + 1] - at == std::min<std::size_t>(h.frame_length, size - at));
    // A segment opens where the channels change, with the frame's format.
    const bool opens = segment < in.segments.size() && in.segments[segment].first_frame == k;
    const std::uint32_t previous =
        k == 0 ? 8 : parse_adts_header(data + in.frame_offsets[k - 1]).channel_config;
    FUZZ_CHECK(opens == (h.channel_config != previous));
    if (!opens) continue;
    const FormatSegment& g = in.segments[segment++];
    FUZZ_CHECK(g.channel_config == h.channel_config && g.mpeg_id == h.mpeg_id &&
               g.profile == h.profile && g.sampling_rate == h.sampling_rate);
  }
  FUZZ_CHECK(segment == in.segments.size() && in.every_frame_editable == editable);
  return 0;
}
