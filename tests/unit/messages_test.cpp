// The message table's bytes against iconv's CP932 conversion of the texts,
// written here on their own; the formatting of texts in either encoding;
// names turned from UTF-8 into CP932.
#include <gtest/gtest.h>

#include "common/format.hpp"
#include "common/messages.hpp"
#ifndef _WIN32
#include "platform/names.hpp"
#endif
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

TEST(Messages, EveryTextIsIconvsCp932ConversionAndTheUtf8Text) {
  for (const Expected& e : kExpected) {
    EXPECT_EQ(text(e.id), sjis(e.utf8)) << e.utf8;
    EXPECT_EQ(text(e.id, Encoding::utf8), e.utf8);
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

std::string shouted(std::string_view name) { return "<" + std::string(name) + ">"; }

// Messages come in the text's encoding, with their own number; names are
// spelled for it; plain text passes as it is.
TEST(Format, EncodingsOfMessagesAndNames) {
  const TextEncoding utf8{Encoding::utf8, &shouted};
  EXPECT_EQ(format_text(Msg::error_line, {FormatArg(Msg::too_many_inputs, 16)}, utf8),
            "エラー: 入力ファイルは最大 16 ファイルまでです。\n");
  EXPECT_EQ(format_text(Msg::error_line, {Msg::invalid_options}),
            sjis("エラー: オプションが正しくありません。\n"));
  EXPECT_EQ(format_text(Msg::report_title, {FileName{"a.aac"}}, utf8), "<a.aac> の情報:\n");
  EXPECT_EQ(format_text("%s", {"a.aac"}, utf8), "a.aac");
}

#ifndef _WIN32
TEST(Cp932FromUtf8, Characters) {
  struct {
    const char* utf8;
    const char* cp932_as_utf8;  // '?' where CP932 holds no such character
  } cases[] = {
      {"plain ASCII \\ ~", "plain ASCII \\ ~"},
      {"ニュース ｱｲ", "ニュース ｱｲ"},  // half-width katakana: one byte each
      {"ソ表能", "ソ表能"},            // trail byte 0x5C
      {"〜～", "?～"},                 // only U+FF5E is 0x8160
      {"−－—―", "?－?―"},
      {"♬♪é𠮷😀", "?♪???"},
      {"∵纊①", "∵纊①"},              // held twice in CP932: one code each
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::cp932_from_utf8(c.utf8), sjis(c.cp932_as_utf8)) << c.utf8;
  }
  for (const char* invalid : {"\xFF", "\xC0\x80", "\xED\xA0\x80", "\xE3\x81", "\xF4\x90\x80\x80"}) {
    EXPECT_EQ(platform::cp932_from_utf8(invalid), std::nullopt);
  }
}
#endif

}  // namespace
}  // namespace sarnik
