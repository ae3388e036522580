// The Trim reader over arbitrary text. Byte 0: 59.94 fps, -a, a script, add 2 (bits 0-3);
// bytes 1-4 the delay (any: -x sets delays beyond -d's); 5-8 the frame total; 9 the size
// of the pieces a script is read in; then the text.
#include <cstring>

#include "cutlist/frame_mapping.hpp"
#include "support/product.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sarnik;
  if (size < 10) return 0;
  std::int32_t delay = 0, total = 0;
  std::memcpy(&delay, data + 1, 4);
  std::memcpy(&total, data + 5, 4);
  total = static_cast<std::int32_t>(static_cast<std::uint32_t>(total) % 0x7FFFFFFFu + 1);
  const std::string_view source(reinterpret_cast<const char*>(data) + 10, size - 10);
  std::string text, whole;
  if (data[0] & 4) {  // read in pieces, a CR LF may fall across two: the text stays the same
    for (std::size_t at = 0, piece = data[9] + 1u; at < source.size(); at += piece) {
      append_script_bytes(text, source.substr(at, piece));
    }
    append_script_bytes(whole, source);
    FUZZ_CHECK(text == whole && text.find('\r') == std::string::npos);
  } else {
    text = normalise_inline_text(source);
  }
  FUZZ_CHECK(text.find_first_of(" \tABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos);
  const FrameMapping mapping{data[0] & 1 ? kFrameRate5994 : kFrameRate2997, (data[0] & 2) != 0,
                             delay, data[0] & 8 ? 108 : 100};
  const std::vector<TrimCall> calls = read_trim_calls(text);
  for (const TrimCall& c : calls)
    FUZZ_CHECK(c.first >= 0 && (c.end == kToStreamEnd || c.end > c.first));
  const std::vector<CutRange> ranges = cut_ranges(calls, mapping, total);
  FUZZ_CHECK(ranges.size() == std::max<std::size_t>(calls.size(), 1));
  // Every range is none or in the stream; without a call, a negative delay beyond the stream
  // starts the whole-stream range past its end (it writes nothing).
  for (const CutRange& r : ranges) {
    FUZZ_CHECK((r.start == kNoOutput && r.end == kNoOutput) ||
               (0 <= r.start && r.start < r.end && r.end <= total) ||
               (calls.empty() && r.start > total && r.end == total));
  }
  return 0;
}
