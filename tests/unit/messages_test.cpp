// The message table's bytes against iconv's CP932 conversion of the texts,
// written here on their own.
#include <gtest/gtest.h>

#include "common/format.hpp"
#include "common/messages.hpp"
#include "support/expected_usage.hpp"
#include "support/sjis.hpp"

namespace sarnik {
namespace {

using test::sjis;

struct Expected {
  Msg id;
  const char* utf8;
};

const Expected kExpected[] = {
    {Msg::banner_add3, "Sarnik version 0.1 alpha 3 add 3\n"},
    {Msg::banner_add2, "Sarnik version 0.1 alpha 3 add 2\n"},
    {Msg::error_line, "エラー: %s\n"},
    {Msg::invalid_options, "オプションが正しくありません。"},
    {Msg::too_many_inputs, "入力ファイルは最大 %d ファイルまでです。"},
    {Msg::output_open_failed, "出力ファイルオープンに失敗しました。"},
    {Msg::out_of_memory, "メモリ確保に失敗しました。"},
    {Msg::not_editable, "編集非対応ファイルです。\n"},
    {Msg::x_tag_missing, "-xオプションが指定されましたが、ファイル名に\"-**ms\"が見つかりません。\n"},
    {Msg::x_overwrite_stop, "入力ファイル上書き防止の為中止します\n"},
    {Msg::x_added_options, "-xオプションにより、以下のオプションを自動的に追加\n"},
    {Msg::x_added_delay, "    -d %d\n"},
    {Msg::x_added_output, "    -o \"%s\"\n"},
    {Msg::frame_drop, "%s はフレームドロップしている可能性があります。\n"},
    {Msg::input_read_failed, "AAC ファイルの読み込みに失敗しました。"},
    {Msg::not_adts, "AAC ADTS ファイルではありません。"},
    {Msg::bad_header, "%u フレーム目のヘッダー情報が正しくありません。\n"},
    {Msg::report_title, "%s の情報:\n"},
    {Msg::report_size, "  サイズ:       %u バイト\n"},
    {Msg::report_frames, "  フレーム:     %u フレーム\n"},
    {Msg::report_time, "  時間:         %02u:%02u:%02u\n"},
    {Msg::report_bit_rate, "  ビットレート: %u.%u kbps\n"},
    {Msg::report_version, "  バージョン:   %s\n"},
    {Msg::version_mpeg2, "MPEG-2 AAC"},
    {Msg::version_mpeg4, "MPEG-4 AAC"},
    {Msg::profile_main, "  プロファイル: Main\n"},
    {Msg::profile_lc, "  プロファイル: LC (Low Complexity)\n"},
    {Msg::profile_ssr, "  プロファイル: SSR (Scalable Sampling Rate)\n"},
    {Msg::profile_unknown, "  プロファイル: 不明\n"},
    {Msg::report_sampling_rate, "  サンプリング周波数: %u Hz\n"},
    {Msg::channel_dual, "  チャンネル:   0 ch (二重音声?)\n"},
    {Msg::channel_plain, "  チャンネル:   %u ch\n"},
    {Msg::channel_lfe, "  チャンネル:   %u.1 ch\n"},
    {Msg::report_from_frame, "%uフレーム以降:\n"},
    {Msg::script_read_failed, "AviSynth スクリプトファイルの読み込みに失敗しました。"},
    {Msg::output_progress, "出力中...\n"},
    {Msg::output_range, "Trim(%u,%u)"},
    {Msg::output_no_output, "(no output)"},
    {Msg::output_summary, "\n出力サイズ: %u バイト (%uフレーム)\n"},
    {Msg::usage, test::kUsageUtf8},
};

TEST(Messages, EveryTextIsIconvsCp932Conversion) {
  for (const Expected& e : kExpected) {
    EXPECT_EQ(text(e.id), sjis(e.utf8)) << e.utf8;
  }
}

// A CP932 trail byte can be 0x5C, the ASCII backslash ("能" is 0x94 0x5C);
// it must reach the output as it is, not start an escape.
TEST(Messages, TrailByteBackslashSurvives) {
  const std::string_view drop = text(Msg::frame_drop);
  EXPECT_NE(drop.find("\x94\x5C"), std::string_view::npos);
}

TEST(Messages, RefusalTextsFollowTheStyle) {
  EXPECT_EQ(text(Msg::output_is_input), sjis("出力ファイルが入力ファイルと同じです。"));
  EXPECT_EQ(text(Msg::output_write_failed), sjis("出力ファイルの書き込みに失敗しました。"));
}

TEST(Format, Directives) {
  EXPECT_EQ(format_text("%u|%d|%s|%02u|%%", {std::uint32_t{4294967295u}, std::int32_t{-2147483647 - 1},
                                              "ab", std::uint32_t{7}}),
            "4294967295|-2147483648|ab|07|%");
  EXPECT_EQ(format_text("%02u:%02u", {std::uint32_t{100}, std::uint32_t{0}}), "100:00");
  EXPECT_EQ(format_text(Msg::output_range, {std::uint32_t{0}, std::uint32_t{155}}), "Trim(0,155)");
}

}  // namespace
}  // namespace sarnik
