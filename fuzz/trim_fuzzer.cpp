// The Trim reader over arbitrary text. The input's first bytes choose the
// mapping and the stream:
//
//   byte 0      bit 0: 59.94 fps (else 29.97); bit 1: -a (direct frames);
//               bit 2: read as a script file (else as inline text);
//               bit 3: the add 2 delay shift
//   bytes 1-4   the delay in milliseconds, little endian, any 32-bit value
//               (-x can set delays far beyond what -d accepts)
//   bytes 5-8   the total frame count, little endian, taken into 1..2^31-1
//   byte 9      for a script: the size of the pieces the file is read in
//               (1 to 256 bytes), so that a CR LF pair falls across pieces
//   the rest    the Trim text or the script file's bytes
//
// Every range must produce no output or lie within the stream.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "common/delay.hpp"
#include "cutlist/trim_source.hpp"
#include "cutlist/trim_text.hpp"
#include "check.hpp"

namespace {

constexpr std::size_t kHeaderSize = 10;

std::uint32_t little_endian(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

std::size_t count_calls(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("trim("); at != std::string_view::npos;
       at = text.find("trim(", at + 1)) {
    ++n;
  }
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sarnik;
  if (size < kHeaderSize) return 0;
  const std::uint8_t flags = data[0];
  const std::int32_t delay = static_cast<std::int32_t>(little_endian(data + 1));
  const std::int32_t total = static_cast<std::int32_t>(
      little_endian(data + 5) % std::uint32_t{std::numeric_limits<std::int32_t>::max()} + 1);
  const std::size_t piece = std::size_t{data[9]} + 1;
  const std::string_view source(reinterpret_cast<const char*>(data) + kHeaderSize,
                                size - kHeaderSize);

  std::string text;
  if (flags & 4) {
    for (std::size_t at = 0; at < source.size(); at += piece) {
      append_script_bytes(text, source.substr(at, piece));
    }
    // Reading in pieces must not change what the text becomes.
    std::string whole;
    append_script_bytes(whole, source);
    FUZZ_CHECK(text == whole);
    FUZZ_CHECK(text.find_first_of("\r \t") == std::string::npos);
  } else {
    text = normalise_inline_text(source);
    FUZZ_CHECK(text.find_first_of(" \t") == std::string::npos);
  }
  FUZZ_CHECK(text.size() <= source.size());
  FUZZ_CHECK(text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos);

  const int revision = flags & 8 ? 2 : 3;
  const TrimContext context{
      FrameMapping{flags & 1 ? kFrameRate5994 : kFrameRate2997, (flags & 2) != 0, delay}, total,
      delay_shift_frames(delay, revision)};
  std::vector<CutRange> ranges;
  parse_trim_text(text, context, ranges);

  FUZZ_CHECK(ranges.size() <= count_calls(text));
  for (const CutRange& r : ranges) {
    const bool no_output = r.start == kNoOutput && r.end == kNoOutput;
    FUZZ_CHECK(no_output || (0 <= r.start && r.start < r.end && r.end <= total));
  }
  return 0;
}
