// The scanner: one table from a stream recipe (frames and junk, placed
// exactly against the 32768-byte blocks) to the status, the frame count, the
// segments, the warnings and the error. The frame offsets of every scan
// that succeeds are the recipe's frames packed one after another.
#include <gtest/gtest.h>

#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

using test::FrameSpec;
using test::Scanned;

struct Recipe {
  std::string bytes;
  Table<std::uint32_t> offsets = {0};  // of the frames, packed

  Recipe& frames(std::uint32_t count, FrameSpec shape = {}, std::uint32_t cut = 0) {
    for (std::uint32_t i = 0; i < count; ++i) {
      std::string frame = test::adts_frame(shape, offsets.back() + i);
      if (i + 1 == count) frame.resize(frame.size() - cut);
      bytes += frame;
      offsets.push_back(offsets.back() + static_cast<std::uint32_t>(frame.size()));
    }
    return *this;
  }
  Recipe& junk(std::size_t n, char c = 'x') { return raw(std::string(n, c)); }
  Recipe& raw(const std::string& junk) {
    bytes += junk;
    return *this;
  }
};

FrameSpec shape(std::uint32_t length, std::uint32_t sf = 3, std::uint32_t mpeg = 0,
                std::uint32_t profile = 1, std::uint32_t channels = 2) {
  return FrameSpec{length, mpeg, profile, sf, channels};
}

Recipe varying_lengths() {
  Recipe r;
  for (std::uint32_t i = 0; i < 700; ++i) r.frames(1, shape(100 + (i * 37) % 1900));
  return r;
}

std::string segments(const AdtsInput& input) {
  std::string out;
  for (const FormatSegment& s : input.segments) {
    out += std::to_string(s.first_frame) + ":" + std::to_string(s.mpeg_id) + "/" +
           std::to_string(s.profile) + "/" + std::to_string(s.sampling_rate) + "/" +
           std::to_string(s.channel_config) + " ";
  }
  return out;
}

std::string warning(unsigned frame) {
  return std::to_string(frame) + " フレーム目のヘッダー情報が正しくありません。\n";
}

TEST(Scanner, RecipeToRecord) {
  const char* not_adts = "AAC ADTS ファイルではありません。";
  const char* read_failed = "AAC ファイルの読み込みに失敗しました。";
  const std::string stereo = "0:0/1/48000/2 ";
  const std::string big = Recipe().frames(300).bytes;
  const struct {
    const char* what;
    Recipe recipe;
    std::optional<ScanResult> status;  // none: the error exit
    std::uint32_t count;
    std::string segments, warnings, error;  // UTF-8
    std::optional<std::uint64_t> size = {};
    int fail_after = -1;
  } cases[] = {
      {"lengths across blocks", varying_lengths(), ScanResult::clean, 700, stereo, "", ""},
      {"longest frames", Recipe().frames(40, shape(8191)), ScanResult::clean, 40, stereo, "", ""},
      {"shortest frames", Recipe().frames(4097, shape(9)), ScanResult::clean, 4097, stereo, "", ""},
      {"one frame of 8 bytes", Recipe().frames(1, shape(8)), ScanResult::clean, 1, stereo, "", ""},
      {"7 bytes", Recipe().frames(1, shape(7)), std::nullopt, 0, "", "", not_adts},
      {"empty", Recipe(), std::nullopt, 0, "", "", not_adts},
      {"last frame cut short", Recipe().frames(10, {}, 100), ScanResult::clean, 10, stereo, "", ""},
      {"1 byte after", Recipe().frames(10).junk(1), ScanResult::clean, 10, stereo, "", ""},
      {"7 bytes after", Recipe().frames(10).junk(7), ScanResult::clean, 10, stereo, "", ""},
      {"8 bytes after", Recipe().frames(10).junk(8), std::nullopt, 0, "", warning(10), not_adts},
      {"1023 bytes before", Recipe().junk(1023).frames(20), ScanResult::skipped, 20, stereo, "", ""},
      {"1024 bytes before", Recipe().junk(1024).frames(20), std::nullopt, 0, "", "", not_adts},
      {"gap", Recipe().frames(5).junk(300, '\0').frames(6), ScanResult::skipped, 11, stereo, warning(5), ""},
      {"gap of 1023", Recipe().frames(30).junk(1023).frames(30), ScanResult::skipped, 60, stereo, warning(30), ""},
      {"gap of 1024", Recipe().frames(30).junk(1024).frames(30), std::nullopt, 0, "", warning(30), not_adts},
      // The block is read again from a frame that starts in its last 4103
      // bytes, so a gap there is searched in full.
      {"gap near a block's end", Recipe().frames(84).junk(600).frames(10), ScanResult::skipped, 94, stereo, warning(84), ""},
      {"frame ending at a block's end", Recipe().frames(70, shape(400)).frames(1, shape(4768)).frames(20), ScanResult::clean, 91, stereo, "", ""},
      {"header in the last 7 bytes", Recipe().frames(30).junk(100).frames(1, shape(8), 1), std::nullopt, 0, "", warning(30), not_adts},
      {"length field 0", Recipe().frames(4).raw(test::adts_frame(shape(0))).frames(4), ScanResult::skipped, 8, stereo, warning(4), ""},
      {"channels change",
       Recipe().frames(500).frames(400, shape(384, 3, 0, 1, 6)).frames(50).frames(20, shape(384, 4)).frames(20, shape(384, 3, 0, 2)),
       ScanResult::clean, 990, "0:0/1/48000/2 500:0/1/48000/6 900:0/1/48000/2 ", "", ""},
      {"44100 Hz MPEG-2 Main", Recipe().frames(3, shape(384, 4, 1, 0)), ScanResult::clean, 3, "0:1/0/44100/2 ", "", ""},
      {"96000 Hz SSR", Recipe().frames(3, shape(384, 0, 0, 2)), ScanResult::clean, 3, "0:0/2/96000/2 ", "", ""},
      {"8000 Hz", Recipe().frames(3, shape(384, 11, 1, 3)), ScanResult::clean, 3, "0:1/3/8000/2 ", "", ""},
      {"reserved rate 12", Recipe().frames(3, shape(384, 12)), ScanResult::clean, 3, "0:0/1/0/2 ", "", ""},
      {"reserved rate 15", Recipe().frames(3, shape(384, 15)), ScanResult::clean, 3, "0:0/1/0/2 ", "", ""},
      {"failed read", Recipe().frames(300), std::nullopt, 0, "", "", read_failed, {}, 1},
      {"file shorter than its size", Recipe().frames(300), std::nullopt, 0, "", "", read_failed, big.size() + 5000},
      {"4 GiB", Recipe(), std::nullopt, 0, "", "", "4GB 以上の AAC ファイルには対応していません。", std::uint64_t{1} << 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const test::Scanned s = test::scan_bytes(c.recipe.bytes, c.size, c.fail_after);
    const std::string error = s.error ? std::string(text(s.error->message)) : "";
    EXPECT_EQ(error, test::sjis(c.error));
    EXPECT_EQ(s.out, test::sjis(c.warnings));
    if (!c.size && c.fail_after < 0) {  // the same bytes in a file, through the file's own source
      const test::TempDir dir;
      const std::string name = dir.write("in.aac", c.recipe.bytes);
      Scanned f;
      InputFile file;
      test::CapturedConsole captured;
      try {
        f.status = scan_adts_file(name.c_str(), f.input, captured.console, file);
      } catch (const FatalError& e) {
        f.error = e;
      }
      EXPECT_EQ((f.error ? std::string(text(f.error->message)) : "") + captured.out(), error + s.out);
      EXPECT_TRUE(f.status == s.status && f.input.frame_offsets == s.input.frame_offsets) << "from the file";
    }
    if (s.error) continue;
    EXPECT_EQ(s.status, c.status);
    EXPECT_EQ(s.input.frame_count, c.count);
    EXPECT_EQ(segments(s.input), c.segments);
    EXPECT_EQ(s.input.file_size, c.recipe.bytes.size());
    EXPECT_TRUE(s.input.frame_offsets == c.recipe.offsets);
  }
}

}  // namespace
}  // namespace sarnik
