// One table from a stream recipe (against the 32768-byte blocks and the 128 KiB reads) to what the
// scan makes of it; one from a record to its report.
#include <gtest/gtest.h>

#include "adts/report.hpp"
#include "common/format.hpp"
#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

using test::FrameSpec;

struct Recipe {
  std::string bytes;
  Table<std::uint32_t> offsets = {0};  // of the frames, packed

  Recipe& frames(std::uint32_t count, FrameSpec shape = {}, std::uint32_t cut = 0) {
    for (std::uint32_t i = 0; i < count; ++i) {
      std::string frame = test::adts_frame(shape, offsets.back() + i);
      frame.resize(frame.size() - (i + 1 == count ? cut : 0));
      bytes += frame;
      offsets.push_back(offsets.back() + static_cast<std::uint32_t>(frame.size()));
    }
    return *this;
  }
  Recipe& junk(std::size_t n, char c = 'x', std::string other = "") {
    bytes += std::string(n, c) + other;
    return *this;
  }
};

// What a scan made: its warnings, then the error exit's message, or "skipped" when it skipped
// bytes, each segment (first frame, MPEG-2, profile, rate, channels), whether the file cuts its
// last frame short and whether a frame is not edited.
std::string made(const test::Scanned& s) {
  if (!s.status) return s.out + s.error;
  std::string out = s.out + (s.status == ScanResult::skipped ? "skipped " : "");
  for (const FormatSegment& g : s.input.segments) {
    for (const std::uint32_t n : {g.first_frame, g.mpeg_id + 0u, g.profile + 0u,
                                  g.sampling_rate + 0u, g.channel_config + 0u}) {
      out += std::to_string(n) + " ";
    }
  }
  if (s.input.last_frame_cut_short) out += "(cut short)";
  return s.input.every_frame_editable ? out : out + "(not editable)";
}

TEST(Scanner, RecipeToRecord) {
  const std::string not_adts = "AAC ADTS ファイルではありません。", stereo = "0 0 1 48000 2 ";
  const auto warning = [](int frame) {
    return std::to_string(frame) + " フレーム目のヘッダー情報が正しくありません。\n";
  };
  Recipe varying;  // frames of 100 to 8191 bytes: blocks end inside frames, one runs past a read
  for (std::uint32_t i = 0; i < 300; ++i) varying.frames(1, {100 + (i * 97) % 8092});
  Recipe formats;  // every sampling index, ID and profile; the channels alternate: a segment each
  for (std::uint32_t i = 0; i < 16; ++i) formats.frames(1, {384, i, i % 2, i % 4, 1 + i % 2});
  const struct {
    Recipe recipe;
    std::string made;  // UTF-8
    std::optional<std::uint64_t> size = {};
  } cases[] = {
      {varying, stereo},
      {Recipe().frames(1, {8}), stereo},
      {Recipe().frames(1, {7}), not_adts},
      {Recipe().frames(10, {}, 100), stereo + "(cut short)"},
      {Recipe().frames(10).junk(7), stereo},
      {Recipe().frames(10).junk(8), warning(10) + not_adts},
      {Recipe().junk(1023).frames(20), "skipped " + stereo},
      {Recipe().junk(1024).frames(20), not_adts},
      {Recipe().frames(1).junk(300, '\0').frames(6), warning(1) + "skipped " + stereo},
      {Recipe().frames(30).junk(1023).frames(30), warning(30) + "skipped " + stereo},
      {Recipe().frames(30).junk(1024).frames(30), warning(30) + not_adts},
      // A block is read again from a frame in its last 4103 bytes: a gap there is searched in full.
      {Recipe().frames(84).junk(600).frames(10), warning(84) + "skipped " + stereo},
      {Recipe().frames(70, {400}).frames(1, {4768}).frames(20), stereo},
      {Recipe().frames(30).junk(100).frames(1, {8}, 1), warning(30) + not_adts},
      {Recipe().frames(4).junk(0, 0, test::adts_frame({0})).frames(4),
       warning(4) + "skipped " + stereo},
      // A segment opens where the channels change; every frame counts for editing.
      {Recipe()
           .frames(500)
           .frames(400, {384, 3, 0, 1, 6})
           .frames(50)
           .frames(20, {384, 4})
           .frames(20, {384, 3, 0, 2}),
       "0 0 1 48000 2 500 0 1 48000 6 900 0 1 48000 2 (not editable)"},
      {formats,
       "0 0 0 96000 1 1 1 1 88200 2 2 0 2 64000 1 3 1 3 48000 2 4 0 0 44100 1 5 1 1 32000 2 6 0 2 "
       "24000 1 7 1 3 22050 2 8 0 0 16000 1 9 1 1 12000 2 10 0 2 11025 1 11 1 3 8000 2 12 0 0 0 1 "
       "13 1 1 0 2 14 0 2 0 1 15 1 3 0 2 (not editable)"},
      {Recipe().frames(3).frames(3, {384, 4}), stereo + "(not editable)"},
      {Recipe().frames(3).frames(1, {384, 3, 0, 0}), stereo + "(not editable)"},
      {Recipe().frames(3).frames(1, {384, 3, 0, 1, 2, 1}), stereo + "(not editable)"},
      {Recipe().frames(300), "AAC ファイルの読み込みに失敗しました。", 300 * 384 + 5000},
      {Recipe(), "4GB 以上の AAC ファイルには対応していません。", std::uint64_t{1} << 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const test::Scanned s = test::scan_bytes(c.recipe.bytes, c.size);
    EXPECT_EQ(made(s), test::sjis(c.made));
    if (s.status) {
      EXPECT_TRUE(s.input.frame_offsets == c.recipe.offsets);
      EXPECT_EQ(s.input.frame_count + 1, c.recipe.offsets.size());
      EXPECT_EQ(s.input.file_size, c.recipe.bytes.size());
    }
  }
}

TEST(Report, RecordToLines) {
  const auto lc48 = [](const char* channels) {
    return test::kLc48Lines + "  チャンネル:   " + channels + "\n";
  };
  const struct {
    std::uint32_t size, frames;
    std::vector<FormatSegment> segments;  // first frame, MPEG-2, profile, rate, channels
    const char *time, *rate;
    std::string lines;  // UTF-8
  } cases[] = {
      {384005, 1000, {{0, 0, 1, 48000, 2}}, "00:00:21", "144.2", lc48("2 ch")},
      {1000, 16875000, {{0, 0, 1, 48000, 0}}, "100:00:00", "0.0", lc48("0 ch (二重音声?)")},
      {1000, 46875, {{0, 0, 1, 48000, 7}}, "00:16:40", "0.8", lc48("6.1 ch")},
      {2000000,
       5000,
       {{0, 0, 1, 48000, 2}, {3000, 0, 1, 48000, 6}},
       "00:01:46",
       "150.0",
       lc48("2 ch") + "3000フレーム以降:\n  チャンネル:   5.1 ch\n"},
      {2000,
       20,
       {{0, 0, 1, 48000, 2}, {10, 1, 2, 44100, 1}},
       "00:00:00",
       "37.500",
       lc48("2 ch") + "10フレーム以降:\n  バージョン:   MPEG-2 AAC\n  プロファイル: SSR (Scalable "
                      "Sampling Rate)\n"
                      "  サンプリング周波数: 44100 Hz\n  チャンネル:   1 ch\n"},
      {1000,
       46874,
       {{0, 1, 0, 48000, 5}},
       "00:16:39",
       "0.8",
       "  バージョン:   MPEG-2 AAC\n  プロファイル: Main\n  サンプリング周波数: 48000 Hz\n  "
       "チャンネル:   5 ch\n"},
      {1000,
       10,
       {{0, 0, 3, 0, 2}},
       "00:00:00",
       "0.0",
       "  バージョン:   MPEG-4 AAC\n  プロファイル: 不明\n  サンプリング周波数: 0 Hz\n  "
       "チャンネル:   2 ch\n"},
  };
  for (const auto& c : cases) {
    AdtsInput input;
    std::tie(input.file_size, input.frame_count) = std::tuple(c.size, c.frames);
    input.segments.assign(c.segments.begin(), c.segments.end());
    test::CapturedConsole captured;
    print_input_report("in.aac", input, captured.console);
    EXPECT_EQ(captured.out(),
              test::sjis(test::report_text("in.aac", std::to_string(c.size),
                                           std::to_string(c.frames), c.time, c.rate, c.lines)));
  }
  EXPECT_EQ(format_text("%u|%d|%s|%02u|%02u|%%|",
                        {4294967295u, std::int32_t{-2147483647 - 1}, "ab", 7u, 100u}),
            "4294967295|-2147483648|ab|07|100|%|");
}

}  // namespace
}  // namespace sarnik
