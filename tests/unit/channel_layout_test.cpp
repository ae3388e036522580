// An input's frames to the output's first frame, which may get a program config element (PCE).
#include "output/channel_layout.hpp"

#include <gtest/gtest.h>

#include "support/dual_mono.hpp"
#include "support/product.hpp"

namespace sarnik {
namespace {

TEST(ChannelLayout, InputToFirstFrame) {
  // A frame of raw data (a CRC counted in it when crc); the header's four flag bits set.
  const auto f = [](const std::string& raw, std::uint32_t channels = 0, bool crc = false) {
    const std::uint32_t length = 7 + static_cast<std::uint32_t>(raw.size());
    std::string h = test::adts_frame({.length = length, .channels = channels});
    h[1] = static_cast<char>(h[1] & (crc ? 0xFE : 0xFF));
    h[3] = static_cast<char>(h[3] | 0x3C);
    return h.substr(0, 7) + raw;
  };
  // Bits before the alignment: p 353 (every count but the last at its largest), q 48.
  const std::string p = test::pce(
                        {.counts = {15, 15, 15, 3, 7, 8}, .mixdowns = true, .comment = "p"}),
                    q = test::pce({.counts = {}, .mixdowns = true, .comment = "q"}), s(20, '\x01');
  const std::string longest(8191 - 7 - p.size(), '\x01');  // with p, the largest frame
  const struct {
    std::vector<std::string> frames;
    std::uint32_t first;
    std::string out;  // none: copied as it stands
  } cases[] = {
      {{f(test::pce({.comment = "xy"}).substr(0, 8)), f(s), f(q)}, 1, f(q + s)},
      {{f(p + s, 0, true), f(s)}, 1, ""},
      {{f(p + s), f(longest)}, 1, f(p + longest)},
      {{f(p + s), f(longest + "x")}, 1, ""},
      {{f(p + s), f(s, 2)}, 1, ""},
      {{f(p + s), f(s).substr(0, 20)}, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const test::TempDir dir;
    std::string bytes;
    for (const std::string& frame : c.frames) bytes += frame;
    test::CapturedConsole console;
    InputFile input = scan_adts_file(dir.write("in.aac", bytes), console.console);
    const std::vector<std::uint8_t> out = with_channel_layout(input, c.first);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.out);
  }
}

}  // namespace
}  // namespace sarnik
