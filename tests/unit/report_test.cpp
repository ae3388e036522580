#include <gtest/gtest.h>

#include "adts/report.hpp"
#include "support/captured_console.hpp"
#include "support/sjis.hpp"

namespace sarnik {
namespace {

using test::sjis;

AdtsInput input_of(std::uint32_t size, std::uint32_t frames, std::vector<FormatSegment> segments) {
  AdtsInput in;
  in.file_size = size;
  in.frame_count = frames;
  in.segments.assign(segments.begin(), segments.end());
  return in;
}

struct Report {
  std::string text;
  bool editable = true;
};

Report report(const AdtsInput& in) {
  test::CapturedConsole captured;
  Report r;
  print_input_report("in.aac", in, r.editable, captured.console);
  r.text = captured.out();
  return r;
}

const FormatSegment kStereoLc{0, 0, 1, 48000, 2};

TEST(Report, StereoLc) {
  const Report r = report(input_of(384000, 1000, {kStereoLc}));
  EXPECT_EQ(r.text, sjis("in.aac の情報:\n"
                         "  サイズ:       384000 バイト\n"
                         "  フレーム:     1000 フレーム\n"
                         "  時間:         00:00:21\n"
                         "  ビットレート: 144.0 kbps\n"
                         "  バージョン:   MPEG-4 AAC\n"
                         "  プロファイル: LC (Low Complexity)\n"
                         "  サンプリング周波数: 48000 Hz\n"
                         "  チャンネル:   2 ch\n"));
  EXPECT_TRUE(r.editable);
}

TEST(Report, TimeAndBitRateArithmetic) {
  EXPECT_EQ(average_bit_rate(384000, 1000, 48000), 144000u);
  EXPECT_EQ(average_bit_rate(384005, 1000, 48000), 144002u);
  EXPECT_EQ(playing_seconds(168750, 48000), 3600u);
  EXPECT_EQ(playing_seconds(46874, 48000), 999u);
  EXPECT_EQ(playing_seconds(46875, 48000), 1000u);
  EXPECT_EQ(playing_seconds(1000, 0), 0u);
  EXPECT_EQ(average_bit_rate(1000, 10, 0), 0u);
  // Halves round upwards: 46.875 * 1 * 8 / 2 = 187.5.
  EXPECT_EQ(average_bit_rate(1, 2, 48000), 188u);
  const Report r = report(input_of(384005, 1000, {kStereoLc}));
  EXPECT_NE(r.text.find("144.2 kbps"), std::string::npos);
  const Report hours = report(input_of(1000, 16875000, {kStereoLc}));
  EXPECT_NE(hours.text.find("100:00:00"), std::string::npos);
}

TEST(Report, ChannelLines) {
  struct {
    std::uint32_t config;
    const char* line;
  } cases[] = {{0, "  チャンネル:   0 ch (二重音声?)\n"}, {1, "  チャンネル:   1 ch\n"},
               {5, "  チャンネル:   5 ch\n"},            {6, "  チャンネル:   5.1 ch\n"},
               {7, "  チャンネル:   6.1 ch\n"}};
  for (const auto& c : cases) {
    FormatSegment seg = kStereoLc;
    seg.channel_config = c.config;
    EXPECT_NE(report(input_of(1000, 10, {seg})).text.find(sjis(c.line)), std::string::npos) << c.config;
  }
}

TEST(Report, LaterSegmentsShowWhatChanged) {
  FormatSegment surround{3000, 0, 1, 48000, 6};
  const Report r = report(input_of(2000000, 5000, {kStereoLc, surround}));
  EXPECT_NE(r.text.find(sjis("  チャンネル:   2 ch\n3000フレーム以降:\n  チャンネル:   5.1 ch\n")),
            std::string::npos);
  EXPECT_TRUE(r.editable);

  FormatSegment changed{10, 1, 2, 44100, 1};
  const Report all = report(input_of(2000, 20, {kStereoLc, changed}));
  EXPECT_NE(all.text.find(sjis("10フレーム以降:\n"
                               "  バージョン:   MPEG-2 AAC\n"
                               "  プロファイル: SSR (Scalable Sampling Rate)\n"
                               "  サンプリング周波数: 44100 Hz\n"
                               "  チャンネル:   1 ch\n")),
            std::string::npos);
  EXPECT_FALSE(all.editable);
}

TEST(Report, EditableOnlyForLcAt48k) {
  struct {
    std::uint32_t profile, rate;
    bool editable;
    const char* profile_line;
  } cases[] = {{1, 48000, true, "  プロファイル: LC (Low Complexity)\n"},
               {0, 48000, false, "  プロファイル: Main\n"},
               {2, 48000, false, "  プロファイル: SSR (Scalable Sampling Rate)\n"},
               {3, 48000, false, "  プロファイル: 不明\n"},
               {1, 44100, false, "  プロファイル: LC (Low Complexity)\n"},
               {1, 0, false, "  プロファイル: LC (Low Complexity)\n"}};
  for (const auto& c : cases) {
    FormatSegment seg = kStereoLc;
    seg.profile = c.profile;
    seg.sampling_rate = c.rate;
    const Report r = report(input_of(1000, 10, {seg}));
    EXPECT_EQ(r.editable, c.editable) << c.profile << " " << c.rate;
    EXPECT_NE(r.text.find(sjis(c.profile_line)), std::string::npos);
  }
  // A later segment at another rate makes the input not editable, though
  // its rate line is the only sign of it.
  FormatSegment later{5, 0, 1, 44100, 6};
  EXPECT_FALSE(report(input_of(1000, 10, {kStereoLc, later})).editable);
}

}  // namespace
}  // namespace sarnik
