// The ADTS scanner over arbitrary bytes: the error exit, or a record that keeps every promise.
#include <utility>

#include "adts/adts_header.hpp"
#include "adts/program_config.hpp"
#include "support/product.hpp"

namespace sarnik {
namespace {

// Without skipped bytes the frames are the file's, each as long as its header says, a segment
// opening with each change of the channels, those that open with a PCE recorded, and the verdict on
// editing that of every frame.
void scan(const std::uint8_t* data, std::size_t size) {
  const test::Scanned s = test::scan_bytes({reinterpret_cast<const char*>(data), size});
  const AdtsInput& in = s.input;
  FUZZ_CHECK(s.status ? in.file_size == size && !in.segments.empty() : !s.error.empty());
  if (s.status != ScanResult::clean) return;
  FUZZ_CHECK(in.frame_offsets.size() == in.frame_count + 1u && in.frame_offsets.front() == 0);
  FUZZ_CHECK(size - in.frame_offsets.back() <= kAdtsHeaderSize);  // too short to be a frame
  std::size_t segment = 0, pces = 0;
  bool editable = true;
  for (std::uint32_t k = 0, previous = 8; k < in.frame_count; ++k) {
    const std::uint8_t* h = data + in.frame_offsets[k];
    FUZZ_CHECK(in.frame_offsets[k] + kAdtsHeaderSize < size && is_adts_header(h));
    const AdtsHeader a = parse_adts_header(h);
    FUZZ_CHECK(in.frame_offsets[k + 1] - in.frame_offsets[k] ==
               std::min<std::size_t>(a.frame_length, size - in.frame_offsets[k]));
    editable = editable && is_editable_frame(h);
    if (opens_with_pce(h, in.frame_offsets[k + 1] - in.frame_offsets[k]))
      FUZZ_CHECK(in.pce_frames.at(pces++) == k);
    if (a.channel_config == std::exchange(previous, a.channel_config)) continue;
    const FormatSegment g = in.segments.at(segment++);
    FUZZ_CHECK(g.first_frame == k && g.channel_config == a.channel_config &&
               g.mpeg_id == a.mpeg_id && g.profile == a.profile &&
               g.sampling_rate == a.sampling_rate);
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
