// The ADTS scanner over arbitrary bytes, served from memory like a file of
// that size. A scan either ends in the error exit or leaves a record that
// keeps every promise the report and the output step rely on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "adts/adts_header.hpp"
#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/fail.hpp"
#include "check.hpp"
#include "support/product.hpp"

namespace sarnik {
namespace {

constexpr std::uint32_t kMaxFrameLength = 8191;  // a 13-bit field

bool known_sampling_rate(std::uint32_t hz) {
  constexpr std::uint32_t kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                      22050, 16000, 12000, 11025, 8000,  0};
  return std::find(std::begin(kRates), std::end(kRates), hz) != std::end(kRates);
}

void check_record(const std::uint8_t* data, std::size_t size, std::int32_t status,
                  const AdtsInput& input) {
  FUZZ_CHECK(status == kScanClean || status == kScanSkipped);
  FUZZ_CHECK(input.file_size == size);
  FUZZ_CHECK(input.frame_count >= 1);
  FUZZ_CHECK(input.frame_offsets.size() == std::size_t{input.frame_count} + 1);
  FUZZ_CHECK(input.frame_offsets.front() == 0);
  FUZZ_CHECK(input.frame_offsets.back() <= size);
  // Every frame starts with a whole header and at least one more byte is
  // examined, so a frame holds at least 7 bytes even when the end of the
  // file cuts it short.
  for (std::uint32_t k = 0; k < input.frame_count; ++k) {
    FUZZ_CHECK(input.frame_offsets[k + 1] > input.frame_offsets[k]);
    const std::uint32_t length = input.frame_offsets[k + 1] - input.frame_offsets[k];
    FUZZ_CHECK(length >= kAdtsHeaderSize && length <= kMaxFrameLength);
  }

  FUZZ_CHECK(!input.segments.empty());
  FUZZ_CHECK(input.segments.front().first_frame == 0);
  for (std::size_t i = 0; i < input.segments.size(); ++i) {
    const FormatSegment& s = input.segments[i];
    FUZZ_CHECK(s.first_frame < input.frame_count);
    FUZZ_CHECK(s.mpeg_id <= 1 && s.profile <= 3 && s.channel_config <= 7);
    FUZZ_CHECK(known_sampling_rate(s.sampling_rate));
    if (i > 0) {
      FUZZ_CHECK(s.first_frame > input.segments[i - 1].first_frame);
      FUZZ_CHECK(s.channel_config != input.segments[i - 1].channel_config);
    }
  }

  if (status != kScanClean) return;
  // Without skipped bytes the frames are the file's first bytes, one after
  // another: each offset is a file position with a header at it, and each
  // frame is as long as its header says, or as the file still holds.
  std::size_t segment = 0;
  std::uint32_t channels = 0;
  for (std::uint32_t k = 0; k < input.frame_count; ++k) {
    const std::uint32_t at = input.frame_offsets[k];
    FUZZ_CHECK(std::size_t{at} + kAdtsHeaderSize < size);
    FUZZ_CHECK(is_adts_header(data + at));
    const AdtsHeader header = parse_adts_header(data + at);
    const std::uint32_t expected =
        static_cast<std::uint32_t>(std::min<std::size_t>(header.frame_length, size - at));
    FUZZ_CHECK(input.frame_offsets[k + 1] - at == expected);
    if (segment < input.segments.size() && input.segments[segment].first_frame == k) {
      const FormatSegment& s = input.segments[segment++];
      FUZZ_CHECK(s.channel_config == header.channel_config && s.mpeg_id == header.mpeg_id &&
                 s.profile == header.profile && s.sampling_rate == header.sampling_rate);
      channels = header.channel_config;
    } else {
      FUZZ_CHECK(header.channel_config == channels);  // no change without a segment
    }
  }
  FUZZ_CHECK(segment == input.segments.size());
  // What follows the last frame is too short to hold a frame of its own.
  FUZZ_CHECK(size - input.frame_offsets.back() <= kAdtsHeaderSize);
}

}  // namespace
}  // namespace sarnik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sarnik;
  const test::Scanned s = test::scan_bytes(std::string_view(reinterpret_cast<const char*>(data), size));
  if (s.error) {
    FUZZ_CHECK(!text(s.error->message).empty() && !s.error->with_usage);
    return 0;
  }
  check_record(data, size, s.status, s.input);
  return 0;
}
