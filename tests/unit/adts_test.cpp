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

// A segment written by name, by default from frame 0 in stereo MPEG-4 AAC LC at 48000 Hz.
struct Segment {
  std::uint32_t first_frame = 0, mpeg_id = 0, profile = 1, sampling_rate = 48000, channels = 2;
  bool operator==(const Segment&) const = default;
  friend std::ostream& operator<<(std::ostream& o, const Segment& g) {
    return o << "{frame " << g.first_frame << ", ID " << g.mpeg_id << ", profile " << g.profile
             << ", " << g.sampling_rate << " Hz, " << g.channels << " ch}";
  }
};
std::vector<Segment> segments_of(const AdtsInput& input) {
  std::vector<Segment> out;
  for (const FormatSegment& g : input.segments)
    out.push_back({g.first_frame, g.mpeg_id, g.profile, g.sampling_rate, g.channel_config});
  return out;
}

TEST(Scanner, RecipeToRecord) {
  const std::string not_adts = "AAC ADTS ファイルではありません。";
  const auto warning = [](int frame) {
    return std::to_string(frame) + " フレーム目のヘッダー情報が正しくありません。\n";
  };
  Recipe varying;  // frames of 100 to 8191 bytes: blocks end inside frames, one runs past a read
  for (std::uint32_t i = 0; i < 300; ++i) varying.frames(1, {.length = 100 + (i * 97) % 8092});
  // Every sampling index, ID and profile; the channels alternate: a segment each.
  const std::uint32_t rates[16] = {96000, 88200, 64000, 48000, 44100, 32000,
                                   24000, 22050, 16000, 12000, 11025, 8000};
  Recipe formats;
  std::vector<Segment> each;
  for (std::uint32_t i = 0; i < 16; ++i) {
    formats.frames(1, {.sf_index = i, .mpeg_id = i % 2, .profile = i % 4, .channels = 1 + i % 2});
    each.push_back({i, i % 2, i % 4, rates[i], 1 + i % 2});
  }
  const struct {
    Recipe recipe;
    std::string warnings = "", error = "";  // UTF-8; an error: the scan took the error exit
    bool skipped = false;
    std::vector<Segment> segments = {{}};
    bool cut_short = false, editable = true;
    std::optional<std::uint64_t> size = {};  // the file's, when not the recipe's
  } cases[] = {
      {.recipe = varying},
      {.recipe = Recipe().frames(1, {.length = 8})},
      {.recipe = Recipe().frames(1, {.length = 7}), .error = not_adts},
      {.recipe = Recipe().frames(10, {}, 100), .cut_short = true},
      {.recipe = Recipe().frames(10).junk(7)},
      {.recipe = Recipe().frames(10).junk(8), .warnings = warning(10), .error = not_adts},
      {.recipe = Recipe().junk(1023).frames(20), .skipped = true},
      {.recipe = Recipe().junk(1024).frames(20), .error = not_adts},
      {.recipe = Recipe().frames(1).junk(300, '\0').frames(6),
       .warnings = warning(1),
       .skipped = true},
      {.recipe = Recipe().frames(30).junk(1023).frames(30),
       .warnings = warning(30),
       .skipped = true},
      {.recipe = Recipe().frames(30).junk(1024).frames(30),
       .warnings = warning(30),
       .error = not_adts},
      // A block is read again from a frame in its last 4103 bytes: a gap there is searched in full.
      {.recipe = Recipe().frames(84).junk(600).frames(10),
       .warnings = warning(84),
       .skipped = true},
      {.recipe = Recipe().frames(70, {.length = 400}).frames(1, {.length = 4768}).frames(20)},
      {.recipe = Recipe().frames(30).junk(100).frames(1, {.length = 8}, 1),
       .warnings = warning(30),
       .error = not_adts},
      {.recipe = Recipe().frames(4).junk(0, 0, test::adts_frame({.length = 0})).frames(4),
       .warnings = warning(4),
       .skipped = true},
      // A segment opens where the channels change; every frame counts for editing.
      {.recipe = Recipe()
                     .frames(500)
                     .frames(400, {.channels = 6})
                     .frames(50)
                     .frames(20, {.sf_index = 4})
                     .frames(20, {.profile = 2}),
       .segments = {{}, {.first_frame = 500, .channels = 6}, {.first_frame = 900}},
       .editable = false},
      {.recipe = formats, .segments = each, .editable = false},
      {.recipe = Recipe().frames(3).frames(3, {.sf_index = 4}), .editable = false},
      {.recipe = Recipe().frames(3).frames(1, {.profile = 0}), .editable = false},
      {.recipe = Recipe().frames(3).frames(1, {.blocks = 1}), .editable = false},
      {.recipe = Recipe().frames(300),
       .error = "AAC ファイルの読み込みに失敗しました。",
       .size = 300 * 384 + 5000},
      {.recipe = Recipe(),
       .error = "4GB 以上の AAC ファイルには対応していません。",
       .size = std::uint64_t{1} << 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const test::Scanned s = test::scan_bytes(c.recipe.bytes, c.size);
    EXPECT_EQ(s.out, test::sjis(c.warnings));
    EXPECT_EQ(s.error, test::sjis(c.error));
    if (!s.status) continue;
    EXPECT_EQ(s.status == ScanResult::skipped, c.skipped);
    EXPECT_EQ(segments_of(s.input), c.segments);
    EXPECT_EQ(s.input.last_frame_cut_short, c.cut_short);
    EXPECT_EQ(s.input.every_frame_editable, c.editable);
    EXPECT_TRUE(s.input.frame_offsets == c.recipe.offsets);
    EXPECT_EQ(s.input.frame_count + 1, c.recipe.offsets.size());
    EXPECT_EQ(s.input.file_size, c.recipe.bytes.size());
  }
}

TEST(Report, RecordToLines) {
  const auto lc48 = [](const char* channels) {
    return test::kLc48Lines + "  チャンネル:   " + channels + "\n";
  };
  const struct {
    struct {
      std::uint32_t size, frames;
      std::vector<Segment> segments = {{}};
    } record;
    const char *time, *rate;
    std::string lines;  // UTF-8
  } cases[] = {
      {{.size = 384005, .frames = 1000}, "00:00:21", "144.2", lc48("2 ch")},
      {{.size = 1000, .frames = 16875000, .segments = {{.channels = 0}}},
       "100:00:00",
       "0.0",
       lc48("0 ch (二重音声?)")},
      {{.size = 1000, .frames = 46875, .segments = {{.channels = 7}}},
       "00:16:40",
       "0.8",
       lc48("6.1 ch")},
      {{.size = 2000000, .frames = 5000, .segments = {{}, {.first_frame = 3000, .channels = 6}}},
       "00:01:46",
       "150.0",
       lc48("2 ch") + "3000フレーム以降:\n  チャンネル:   5.1 ch\n"},
      {{.size = 2000,
        .frames = 20,
        .segments = {{},
                     {.first_frame = 10,
                      .mpeg_id = 1,
                      .profile = 2,
                      .sampling_rate = 44100,
                      .channels = 1}}},
       "00:00:00",
       "37.500",
       lc48("2 ch") + "10フレーム以降:\n  バージョン:   MPEG-2 AAC\n"
                      "  プロファイル: SSR (Scalable Sampling Rate)\n"
                      "  サンプリング周波数: 44100 Hz\n  チャンネル:   1 ch\n"},
      {{.size = 1000, .frames = 46874, .segments = {{.mpeg_id = 1, .profile = 0, .channels = 5}}},
       "00:16:39",
       "0.8",
       "  バージョン:   MPEG-2 AAC\n  プロファイル: Main\n"
       "  サンプリング周波数: 48000 Hz\n  チャンネル:   5 ch\n"},
      {{.size = 1000, .frames = 10, .segments = {{.profile = 3, .sampling_rate = 0}}},
       "00:00:00",
       "0.0",
       "  バージョン:   MPEG-4 AAC\n  プロファイル: 不明\n"
       "  サンプリング周波数: 0 Hz\n  チャンネル:   2 ch\n"},
  };
  for (const auto& c : cases) {
    AdtsInput input;
    std::tie(input.file_size, input.frame_count) = std::tuple(c.record.size, c.record.frames);
    for (const Segment& g : c.record.segments)
      input.segments.push_back({g.first_frame, g.mpeg_id, g.profile, g.sampling_rate, g.channels});
    test::CapturedConsole captured;
    print_input_report("in.aac", input, captured.console);
    EXPECT_EQ(captured.out(), test::sjis(test::report_text("in.aac", std::to_string(c.record.size),
                                                           std::to_string(c.record.frames), c.time,
                                                           c.rate, c.lines)));
  }
  EXPECT_EQ(format_text("%u|%d|%s|%02u|%02u|%%|",
                        {4294967295u, std::int32_t{-2147483647 - 1}, "ab", 7u, 100u}),
            "4294967295|-2147483648|ab|07|100|%|");
}

}  // namespace
}  // namespace sarnik
