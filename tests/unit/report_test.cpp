// The information report: one table from the scanned record to its lines
// and the editable verdict; and the directives of the message formatter.
#include <gtest/gtest.h>

#include "adts/report.hpp"
#include "common/format.hpp"
#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

TEST(Report, RecordToLines) {
  const auto head = [](const char* size, const char* frames, const char* time, const char* rate) {
    return std::string("in.aac の情報:\n  サイズ:       ") + size + " バイト\n  フレーム:     " + frames + " フレーム\n  時間:         " +
           time + "\n  ビットレート: " + rate + " kbps\n";
  };
  const std::string lc48 = "  バージョン:   MPEG-4 AAC\n  プロファイル: LC (Low Complexity)\n  サンプリング周波数: 48000 Hz\n";
  const std::string stereo = lc48 + "  チャンネル:   2 ch\n";
  const struct {
    std::uint32_t size, frames;
    std::vector<FormatSegment> segments;  // first frame, MPEG-2, profile, rate, channels
    std::string lines;                    // UTF-8
    bool editable;
  } cases[] = {
      {384000, 1000, {{0, 0, 1, 48000, 2}}, head("384000", "1000", "00:00:21", "144.0") + stereo, true},
      {384005, 1000, {{0, 0, 1, 48000, 2}}, head("384005", "1000", "00:00:21", "144.2") + stereo, true},
      {1, 2, {{0, 0, 1, 48000, 1}}, head("1", "2", "00:00:00", "0.188") + lc48 + "  チャンネル:   1 ch\n", true},
      {384, 1, {{0, 0, 1, 48000, 2}}, head("384", "1", "00:00:00", "144.0") + stereo, true},
      {1000, 16875000, {{0, 0, 1, 48000, 0}}, head("1000", "16875000", "100:00:00", "0.0") + lc48 + "  チャンネル:   0 ch (二重音声?)\n", true},
      {1000, 46874, {{0, 0, 1, 48000, 5}}, head("1000", "46874", "00:16:39", "0.8") + lc48 + "  チャンネル:   5 ch\n", true},
      {1000, 46875, {{0, 0, 1, 48000, 7}}, head("1000", "46875", "00:16:40", "0.8") + lc48 + "  チャンネル:   6.1 ch\n", true},
      {2000000, 5000, {{0, 0, 1, 48000, 2}, {3000, 0, 1, 48000, 6}},
       head("2000000", "5000", "00:01:46", "150.0") + stereo + "3000フレーム以降:\n  チャンネル:   5.1 ch\n", true},
      {2000, 20, {{0, 0, 1, 48000, 2}, {10, 1, 2, 44100, 1}},
       head("2000", "20", "00:00:00", "37.500") + stereo + "10フレーム以降:\n  バージョン:   MPEG-2 AAC\n"
       "  プロファイル: SSR (Scalable Sampling Rate)\n  サンプリング周波数: 44100 Hz\n  チャンネル:   1 ch\n", false},
      {1000, 10, {{0, 1, 0, 48000, 2}}, head("1000", "10", "00:00:00", "37.500") +
       "  バージョン:   MPEG-2 AAC\n  プロファイル: Main\n  サンプリング周波数: 48000 Hz\n  チャンネル:   2 ch\n", false},
      {1000, 10, {{0, 0, 3, 48000, 2}}, head("1000", "10", "00:00:00", "37.500") +
       "  バージョン:   MPEG-4 AAC\n  プロファイル: 不明\n  サンプリング周波数: 48000 Hz\n  チャンネル:   2 ch\n", false},
      {1000, 10, {{0, 0, 1, 0, 2}}, head("1000", "10", "00:00:00", "0.0") +
       "  バージョン:   MPEG-4 AAC\n  プロファイル: LC (Low Complexity)\n  サンプリング周波数: 0 Hz\n  チャンネル:   2 ch\n", false},
      // A later segment at another rate: its rate line is the only sign.
      {1000, 10, {{0, 0, 1, 48000, 2}, {5, 0, 1, 44100, 6}}, head("1000", "10", "00:00:00", "37.500") + stereo +
       "5フレーム以降:\n  サンプリング周波数: 44100 Hz\n  チャンネル:   5.1 ch\n", false},
  };
  for (const auto& c : cases) {
    AdtsInput input;
    input.file_size = c.size;
    input.frame_count = c.frames;
    input.segments.assign(c.segments.begin(), c.segments.end());
    test::CapturedConsole captured;
    bool editable = true;
    print_input_report("in.aac", input, editable, captured.console);
    EXPECT_EQ(captured.out(), test::sjis(c.lines));
    EXPECT_EQ(editable, c.editable) << c.lines;
  }
  EXPECT_EQ(format_text("%u|%d|%s|%02u|%02u|%%|", {4294967295u, std::int32_t{-2147483647 - 1}, "ab", 7u, 100u}),
            "4294967295|-2147483648|ab|07|100|%|");
}

}  // namespace
}  // namespace sarnik
