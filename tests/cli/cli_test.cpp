// The programs on real files: tables from a command line to the exact output, error, exit code and
// files; the first runs under Wine too, the second needs a POSIX shell.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

const std::string B3 = "Sarnik version " SARNIK_VERSION_TEXT " add 3\n",
                  B2 = "Sarnik version " SARNIK_VERSION_TEXT " add 2\n";
// in.aac and b.aac: 384 and 200 bytes a frame; out.aac "keep" before each run.
const std::string kIn = adts_stream(100), kB = adts_stream(50, {200}, 500), kKeep = "keep";

std::string in(std::size_t first, std::size_t end) {
  return kIn.substr(first * 384, (end - first) * 384);
}
std::string error(const std::string& utf8) { return sjis("エラー: " + utf8 + "\n"); }
std::string usage() {
  return sjis(
      "Usage: sarnik [options] -t xxxx -o <outfile> <infiles>\n\nオプション:\n"
      "  -t xxxx      AviSynth スクリプトファイルから\n"
      "               Trim で始まる一行を検索して読み込み\n"
      "               またはコマンドラインから Trim 情報を入力\n  -o <outfile> 出力ファイル\n"
      "  -d xxxx      遅延補正 (ms単位)\n  -a           AAC フレームを直接指定\n"
      "  -f xxxx      動画のフレームレートを指定 (29.97 or 59.94)\n"
      "  -x           最初の<infiles>のファイル名から-o/-dオプションを自動指定\n"
      "  -h or -?     ヘルプ\n");
}
std::string report(const std::string& name, const char* size = "38400", const char* frames = "100",
                   const char* time = "00:00:02", const char* rate = "144.0") {
  return sjis(report_text(name, size, frames, time, rate) + "\n");
}
std::string output(const std::string& ranges, std::size_t bytes, std::size_t frames) {
  return sjis("出力中...\n" + ranges + "\n出力サイズ: " + std::to_string(bytes) + " バイト (" +
              std::to_string(frames) + "フレーム)\n");
}
std::string x_lines(const std::string& delay, const std::string& name) {
  return sjis("-xオプションにより、以下のオプションを自動的に追加\n    -d " + delay +
              "\n    -o \"" + name + "\"\n");
}
const std::string kRunIn = B3 + report("in.aac"), kWhole = output("Trim(0,99)", 38400, 100),
                  kReportB = report("b.aac", "10000", "50", "00:00:01", "75.0"),
                  kNotEditable = sjis("編集非対応ファイルです。\n"),
                  kInvalid = error("オプションが正しくありません。"),
                  kScriptFailed = error("AviSynth スクリプトファイルの読み込みに失敗しました。"),
                  kReadFailed = error("AAC ファイルの読み込みに失敗しました。"),
                  kChanged = error("AAC ファイルが読み込み後に変更されました。"),
                  kSameAsInput = error("出力ファイルが入力ファイルと同じです。"),
                  kOpenFailed = error("出力ファイルオープンに失敗しました。"),
                  kWriteFailed = error("出力ファイルの書き込みに失敗しました。"),
                  kCopying = kRunIn + sjis("出力中...\nTrim(0,99)");
// cut.aac: 10 frames and the first 100 bytes of an 11th, which its file cuts short.
const std::string kCut = kIn.substr(0, 3940),
                  kReportCut = report("cut.aac", "3940", "11", "00:00:00", "134.318");

struct Row {
  std::string command, out, err;
  int code;
  std::string out_aac = kKeep;  // afterwards; "(none)": no such file
  std::vector<std::pair<std::string, std::string>> files = {};  // other files afterwards
  std::vector<std::pair<std::string, std::string>> given = {};  // besides in.aac, b.aac, out.aac
};

void expect_rows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    const TempDir dir;
    for (const auto& [name, bytes] :
         {std::pair{"in.aac", kIn}, {"b.aac", kB}, {"out.aac", kKeep}}) {
      dir.write(name, bytes);
    }
    for (const auto& [name, bytes] : row.given) dir.write(name, bytes);
    const ProcessResult r = run_shell(row.command, dir.path);
    EXPECT_EQ(r.out, row.out);
    EXPECT_EQ(r.err, row.err);
    EXPECT_EQ(r.exit_code, row.code);
    EXPECT_TRUE(read_file(dir.file("out.aac")) == row.out_aac) << "out.aac";
    for (const auto& [name, bytes] : row.files)
      EXPECT_TRUE(read_file(dir.file(name)) == bytes) << name;
  }
}

TEST(Cli, ArgumentsToBytesAndFiles) {
  // clang-format off
  expect_rows({
      {"sarnik; sarnik -q -h; sarnik $(yes in.aac | head -n 17)",
       B3 + usage() + B3 + usage() + B3 + usage(), kInvalid + error("入力ファイルは最大 16 ファイルまでです。"), 1},
      {"sarnik -t missing.avs in.aac b.aac", kRunIn + kReportB, "", 0},
      {"sarnik -a -t 'Trim(90,-20)+Trim(200,0)+Trim(0,9)' -o out.aac in.aac b.aac",
       kRunIn + kReportB + output("Trim(90,109)+Trim(149,149)+Trim(0,9)", 9880, 31), "", 0,
       in(90, 100) + kB.substr(0, 2000) + kB.substr(9800) + in(0, 10)},
      {"sarnik2 -d 278 -o out.aac in.aac",
       B2 + report("in.aac") + output("Trim(0,85)", 86 * 384, 86), "", 0, in(0, 86)},
      {"sarnik -f 59.94 -t 'Trim(4,4)' -o out.aac in.aac", kRunIn + output("(no output)", 0, 0), "", 0, ""},
      {"sarnik -o ./in.aac b.aac in.aac; sarnik -t cut.avs -o cut.avs in.aac; sarnik2 -x 'DELAY 0ms.aac'",
       B3 + B3 + B2 + x_lines("0", "DELAY 0ms.aac"),
       kSameAsInput + error("出力ファイルが AviSynth スクリプトファイルと同じです。") + kSameAsInput, 1, kKeep,
       {{"in.aac", kIn}, {"cut.avs", "Trim(0,9)"}, {"DELAY 0ms.aac", kIn}},
       {{"cut.avs", "Trim(0,9)"}, {"DELAY 0ms.aac", kIn}}},
      {"sarnik -o no/out.aac in.aac", B3, kOpenFailed, 1},
      {"sarnik -t 'Trim (0,9)' -o out.aac in.aac; sarnik -t 'xrim(0,9)' -o out.aac in.aac", B3 + B3,
       kScriptFailed + kScriptFailed, 1},
      {"sarnik -o out.aac in.aac missing.aac; sarnik -o out.aac in.aac text.aac", kRunIn + kRunIn,
       kReadFailed + error("AAC ADTS ファイルではありません。"), 1, "", {}, {{"text.aac", std::string(2000, 'a')}}},
      {"sarnik -o out.aac gap.aac in.aac",
       B3 + sjis("5 フレーム目のヘッダー情報が正しくありません。\ngap.aac はフレームドロップしている可能性があります。\n") +
           report("gap.aac", "3940", "10", "00:00:00", "147.750") + report("in.aac") + kNotEditable,
       "", 0, "", {}, {{"gap.aac", in(0, 5) + std::string(100, 'x') + adts_stream(5, {}, 9)}}},
      {"sarnik -o out.aac mixed.aac",
       B3 + report("mixed.aac") + kNotEditable, "", 0, "", {}, {{"mixed.aac", in(0, 50) + adts_stream(50, {384, 4})}}},
      // A last frame that its file cuts short may end the output, never stand before a frame.
      {"sarnik -o out.aac cut.aac in.aac; sarnik -a -t 'Trim(5,10)+Trim(0,1)' -o o1 cut.aac; sarnik -o o2 in.aac cut.aac",
       B3 + kReportCut + report("in.aac") + kNotEditable + B3 + kReportCut + kNotEditable + kRunIn + kReportCut +
           output("Trim(0,110)", 42340, 111), "", 0, "", {{"o1", ""}, {"o2", kIn + kCut}}, {{"cut.aac", kCut}}},
      {"sarnik --print-ranges -f 59.94 -a -d 9 -t cut.avs",
       "5 14\n20 end\n7 7\n", "", 0, kKeep, {}, {{"cut.avs", "#\nTrim(5,-10) + Trim(20,0)\n\\+Trim(7,3)\n"}}},
      {"sarnik2 --print-ranges; sarnik --print-ranges -t cut.avs", "0 end\n", kScriptFailed, 1},
      {"sarnik --print-ranges -t 'Trim(0,9)' in.aac; sarnik -t 'Trim(0,9)' --print-ranges", usage() + B3 + usage(),
       kInvalid + kInvalid, 1},
  });
  // clang-format on
}

TEST(Cli, StreamsFilesAndTerminals) {
  if (runs_under_runner()) GTEST_SKIP() << "a POSIX shell around the programs";
  // Frame tables over several pieces; frames of 100 to 8191 bytes across reads.
  std::string big = adts_stream(1 << 20, {8});
  for (std::uint32_t i = 0; i < 300; ++i) big += adts_frame({100 + (i * 97) % 8092}, i);
  const std::string terminal =
      " /dev/null | tr -d '\\r' | iconv -f UTF-8 -t CP932";  // UTF-8 back to CP932
  // clang-format off
  expect_rows({
      {"{ printf 'Trim(10,'; sleep 0.1; printf 19\\); } | sarnik -a -t /dev/stdin -o out.aac in.aac",  // read in two
       kRunIn + output("Trim(10,19)", 3840, 10), "", 0, in(10, 20)},
      {"head -c 67108865 /dev/zero | sarnik -t /dev/stdin -o out.aac in.aac", B3,  // a byte over 64 MiB
       error("AviSynth スクリプトファイルが大きすぎます。"), 1},
      {"mkdir d && sarnik d; cat in.aac | sarnik -o out.aac /dev/stdin", B3 + B3,
       kReadFailed + error("AAC ファイルが通常のファイルではありません。"), 1, ""},
      {R"(flock out.aac "$S3" -o out.aac in.aac)", B3, kOpenFailed, 1},
      {"sarnik -o o1 in.aac <&- >&-; sarnik -t /dev/stdin -o o2 in.aac <&-; sarnik -o out.aac missing.aac 2>&-",
       kRunIn + kWhole + B3, "", 1, "", {{"o1", kIn}, {"o2", kIn}}},
      {"sarnik -o /dev/stdout in.aac > r; sarnik -o /dev/stderr in.aac 2> e", B3,
       error("出力ファイルが標準出力と同じです。"), 1, kKeep, {{"r", B3}, {"e", error("出力ファイルが標準エラー出力と同じです。")}}},
      {"mkfifo p && { cat p > r & } && sarnik -o p big.aac > /dev/null && wait", "", "", 0, kKeep, {{"r", big}},
       {{"big.aac", big}}},
      {"sarnik -o /dev/full in.aac 2>&1; sarnik in.aac > /dev/full", kCopying + kWriteFailed,
       error("標準出力への書き込みに失敗しました。"), 1},
      {R"~(sarnik "$(printf 'in\203\140.aac')" "$(printf 'x\205\100\377\241.aac')")~",
       B3 + "in\x83\x60.aac" + report("") + "x?@?\xA1.aac" + report(""), "", 0, kKeep, {},
       {{"in\x83\x60.aac", kIn}, {"x\x85\x40\xFF\xA1.aac", kIn}}},
      // An EUC-JP name, and one of each byte 81 to FC before an A1: valid CP932, with "?".
      {R"~(sarnik "$(printf '\306\374\313\334.aac')"; n=$(for i in $(seq 129 252); do printf "\\$(printf %o $i)\\241"; done).aac;)~"
       R"( cp in.aac "$n"; sarnik "$n" | iconv -f CP932 -t UTF-8 > /dev/null)",
       B3 + "\xC6?\xCB\xDC.aac" + report(""), "", 0, kKeep, {}, {{"\xC6\xFC\xCB\xDC.aac", kIn}}},
      {R"(env -i LANG=C "$S3" テスト.aac)",
       B3 + report("テスト.aac"), "", 0, kKeep, {}, {{"テスト.aac", kIn}}},
      // Changes and interrupts under the copy, by the preloaded copy hook.
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK='scanned in.aac' sarnik -o out.aac in.aac)", kRunIn + sjis("出力中...\n"),
       kChanged, 1, ""},
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK='rewrite in.aac' sarnik -o out.aac in.aac)",
       kCopying, kChanged, 1, ""},
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK='cut b.aac' sarnik -a -t 'Trim(0,9)+Trim(100,149)' -o out.aac in.aac b.aac)",
       kRunIn + kReportB + sjis("出力中...\nTrim(0,9)+Trim(100,149)"), kChanged, 1, ""},
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK=term exec "$S3" -o out.aac in.aac)", "", "", 128 + 15, ""},
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK=quit exec "$S3" -o out.aac in.aac)", "", "", 128 + 3, ""},
      {R"(ulimit -c 0; ulimit -f 10; exec "$S3" -o out.aac in.aac)", "", "", 128 + 25, ""},  // SIGXFSZ
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK='close term' exec "$S3" -o out.aac in.aac)", "", "", 128 + 15, ""},
      {R"(LD_PRELOAD=$HOOK SARNIK_HOOK='close fails' sarnik -o out.aac in.aac)", kCopying, kWriteFailed, 1, ""},
      // A console whose reader has gone (SIGPIPE ignored), at a flush during the copy and at a failed write.
      {"yes 'Trim(0,1)' | head -n 10000 | paste -sd+ > cut.avs; mkfifo f; : < f & exec 4> f; wait; sarnik -a -t cut.avs "
       "-o o1 in.aac >&4; echo $? > c; LD_PRELOAD=$HOOK SARNIK_HOOK=full sarnik -o o2 in.aac >&4; echo $? >> c",
       "", error("標準出力への書き込みに失敗しました。") + kWriteFailed, 0, kKeep, {{"o1", ""}, {"o2", ""}, {"c", "1\n1\n"}}},
      // A terminal gets UTF-8, each message at once (the range before its copy ends).
      {R"(LC_ALL=C.UTF-8 script -qec '"$S3" in.aac missing.aac 2>e; "$S3" missing.aac >o')" + terminal,
       kRunIn + kReadFailed, "", 0, kKeep, {{"e", kReadFailed}, {"o", B3}}},
      {R"(LC_ALL=C.UTF-8 script -qec '"$S3" -o /dev/full in.aac')" + terminal,
       kCopying + "\n" + kWriteFailed, "", 0},
      {R"(LC_ALL=C.UTF-8 script -qec 'LD_PRELOAD=$HOOK SARNIK_HOOK=term exec "$S3" -o out.aac in.aac')" + terminal,
       kCopying + "\n", "", 0, ""},
      {R"(for l in C POSIX xx_XX.utf8; do LC_ALL=$l script -qec '"$S3" -h')" + terminal +
           R"(; done; LC_ALL=xx_XX.SJIS script -qec '"$S3" -h' /dev/null | tr -d '\r')",
       B3 + usage() + B3 + usage() + B3 + usage() + B3 + usage(), "", 0},
  });
  // clang-format on
}

// Names as users spell them, opened whole (wide on Windows), shown in CP932 with '?' for what
// CP932 lacks, in both revisions.
TEST(Cli, NamesOpenCutAndDerive) {
  const std::pair<std::string, std::string> names[] = {
      // the name, and as the console shows it
      {"番組〜", "番組?"}, {"番組～", "番組～"},       {"♬", "?"},
      {"𠮷", "?"},         {"録画/ソ表", "録画/ソ表"}, {"é", "?"}};
  for (const std::string program : {"sarnik", "sarnik2"}) {
    for (const auto& [name, shown] : names) {
      SCOPED_TRACE(name);
      const TempDir dir;
      std::filesystem::create_directory(dir.file("録画"));
      dir.write(name + " DELAY -57ms.aac", kIn);
      dir.write("e DELAY -57ms.aac", kB);  // which no lossy conversion may choose instead
      const ProcessResult r = run_shell(program + " -x '" + name + " DELAY -57ms.aac'", dir.path);
      EXPECT_EQ(r.out, (program == "sarnik" ? B3 : B2) + x_lines("-57", shown + " DELAY 0ms.aac") +
                           report(shown + " DELAY -57ms.aac") + output("Trim(2,99)", 98 * 384, 98));
      EXPECT_EQ(r.err + std::to_string(r.exit_code), "0");
      EXPECT_TRUE(read_file(dir.file(name + " DELAY 0ms.aac")) == in(2, 100));
    }
  }
}

}  // namespace
}  // namespace sarnik::test
