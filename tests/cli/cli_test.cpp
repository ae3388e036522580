// The programs on real files: tables from one command line to the exact output, error, exit code
// and files, a row a rule; the first runs under Wine too, the second needs a POSIX shell.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

const std::string B3 = "Sarnik version " SARNIK_VERSION_TEXT " add 3\n",
                  B2 = "Sarnik version " SARNIK_VERSION_TEXT " add 2\n";
// in.aac and b.aac: 384 and 200 bytes a frame; out.aac "keep" before each run.
const std::string kIn = adts_stream(100), kB = adts_stream(50, {.length = 200}, 500),
                  kKeep = "keep";

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
                  kConsoleFailed = error("標準出力への書き込みに失敗しました。"),
                  kCopying = kRunIn + sjis("出力中...\nTrim(0,99)");
// cut.aac: 10 frames and the first 100 bytes of an 11th, which its file cuts short.
const std::string kCut = kIn.substr(0, 3940),
                  kReportCut = report("cut.aac", "3940", "11", "00:00:00", "134.318");

using Files = std::vector<std::pair<std::string, std::string>>;
struct Result {
  std::string out = "", err = "";
  int code = 0;
  std::string out_aac = kKeep;  // afterwards; "(none)": no such file
  Files files = {};             // other files afterwards
};
struct Row {
  std::string name, run;  // the rule, the command line
  Result want;
  Files given = {};  // besides in.aac, b.aac and out.aac
};

void expect_rows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name + ": " + row.run);
    const TempDir dir;
    for (const auto& [name, bytes] : Files{{"in.aac", kIn}, {"b.aac", kB}, {"out.aac", kKeep}})
      dir.write(name, bytes);
    for (const auto& [name, bytes] : row.given) dir.write(name, bytes);
    const ProcessResult r = run_shell(row.run, dir.path);
    EXPECT_EQ(r.out, row.want.out);
    EXPECT_EQ(r.err, row.want.err);
    EXPECT_EQ(r.exit_code, row.want.code);
    EXPECT_TRUE(read_file(dir.file("out.aac")) == row.want.out_aac) << "out.aac";
    for (const auto& [name, bytes] : row.want.files)
      EXPECT_TRUE(read_file(dir.file(name)) == bytes) << name;
  }
}

TEST(Cli, ArgumentsToBytesAndFiles) {
  const Files cut = {{"cut.aac", kCut}};
  expect_rows({
      {"no argument: the usage", "sarnik", {.out = B3 + usage()}},
      {"an invalid option ends the walk before -h",
       "sarnik -q -h",
       {.out = B3 + usage(), .err = kInvalid, .code = 1}},
      {"a 17th input: refused, with the usage",
       "sarnik $(yes in.aac | head -n 17)",
       {.out = B3 + usage(), .err = error("入力ファイルは最大 16 ファイルまでです。"), .code = 1}},
      {"no output: reports alone, the script never read",
       "sarnik -t missing.avs in.aac b.aac",
       {.out = kRunIn + kReportB}},
      {"-a: AAC frames over the inputs joined, clipped, in the calls' order",
       "sarnik -a -t 'Trim(90,-20)+Trim(200,0)+Trim(0,9)' -o out.aac in.aac b.aac",
       {.out = kRunIn + kReportB + output("Trim(90,109)+Trim(149,149)+Trim(0,9)", 9880, 31),
        .out_aac = in(90, 100) + kB.substr(0, 2000) + kB.substr(9800) + in(0, 10)}},
      {"add 2: no -t, the whole stream less 108 % of the delay's frames",
       "sarnik2 -d 278 -o out.aac in.aac",
       {.out = B2 + report("in.aac") + output("Trim(0,85)", 86 * 384, 86), .out_aac = in(0, 86)}},
      {"59.94: a call of one video frame takes no AAC frame",
       "sarnik -f 59.94 -t 'Trim(4,4)' -o out.aac in.aac",
       {.out = kRunIn + output("(no output)", 0, 0), .out_aac = ""}},
      {"an output that is an input: refused, the input kept",
       "sarnik -o ./in.aac b.aac in.aac",
       {.out = B3, .err = kSameAsInput, .code = 1, .files = {{"in.aac", kIn}}}},
      {"an output that is the script: refused, the script kept",
       "sarnik -t cut.avs -o cut.avs in.aac",
       {.out = B3,
        .err = error("出力ファイルが AviSynth スクリプトファイルと同じです。"),
        .code = 1,
        .files = {{"cut.avs", "Trim(0,9)"}}},
       {{"cut.avs", "Trim(0,9)"}}},
      {"-x deriving the input's own name: refused, the input kept",
       "sarnik2 -x 'DELAY 0ms.aac'",
       {.out = B2 + x_lines("0", "DELAY 0ms.aac"),
        .err = kSameAsInput,
        .code = 1,
        .files = {{"DELAY 0ms.aac", kIn}}},
       {{"DELAY 0ms.aac", kIn}}},
      {"an output in a missing folder: cannot be opened",
       "sarnik -o no/out.aac in.aac",
       {.out = B3, .err = kOpenFailed, .code = 1}},
      {"a blank before '(': a script's name, not Trim text",
       "sarnik -t 'Trim (0,9)' -o out.aac in.aac",
       {.out = B3, .err = kScriptFailed, .code = 1}},
      {"another first letter: a script's name, not Trim text; no output made",
       "sarnik -t 'xrim(0,9)' -o new.aac in.aac",
       {.out = B3, .err = kScriptFailed, .code = 1, .files = {{"new.aac", "(none)"}}}},
      {"a missing input: cannot be read, a new output left empty",
       "sarnik -o new.aac in.aac missing.aac",
       {.out = kRunIn, .err = kReadFailed, .code = 1, .files = {{"new.aac", ""}}}},
      {"text: not ADTS",
       "sarnik -o out.aac in.aac text.aac",
       {.out = kRunIn, .err = error("AAC ADTS ファイルではありません。"), .code = 1, .out_aac = ""},
       {{"text.aac", std::string(2000, 'a')}}},
      {"bytes skipped: frames may be dropped, not editable",
       "sarnik -o out.aac gap.aac in.aac",
       {.out = B3 +
               sjis("5 フレーム目のヘッダー情報が正しくありません。\n"
                    "gap.aac はフレームドロップしている可能性があります。\n") +
               report("gap.aac", "3940", "10", "00:00:00", "147.750") + report("in.aac") +
               kNotEditable,
        .out_aac = ""},
       {{"gap.aac", in(0, 5) + std::string(100, 'x') + adts_stream(5, {}, 9)}}},
      {"a frame at 44100 Hz: not editable",
       "sarnik -o out.aac mixed.aac",
       {.out = B3 + report("mixed.aac") + kNotEditable, .out_aac = ""},
       {{"mixed.aac", in(0, 50) + adts_stream(50, {.sf_index = 4})}}},
      {"a cut-short frame before another input: not editable",
       "sarnik -o out.aac cut.aac in.aac",
       {.out = B3 + kReportCut + report("in.aac") + kNotEditable, .out_aac = ""},
       cut},
      {"a cut-short frame before another range: not editable",
       "sarnik -a -t 'Trim(5,10)+Trim(0,1)' -o out.aac cut.aac",
       {.out = B3 + kReportCut + kNotEditable, .out_aac = ""},
       cut},
      {"a cut-short frame that ends the output: copied as it stands",
       "sarnik -o out.aac in.aac cut.aac",
       {.out = kRunIn + kReportCut + output("Trim(0,110)", 42340, 111), .out_aac = kIn + kCut},
       cut},
      {"--print-ranges: each call's video frames; -f, -a and -d play no part",
       "sarnik --print-ranges -f 59.94 -a -d 9 -t cut.avs",
       {.out = "5 14\n20 end\n7 7\n"},
       {{"cut.avs", "#\nTrim(5,-10) + Trim(20,0)\n\\+Trim(7,3)\n"}}},
      {"--print-ranges without -t: the whole stream", "sarnik2 --print-ranges", {.out = "0 end\n"}},
      {"--print-ranges: a script that cannot be read",
       "sarnik --print-ranges -t cut.avs",
       {.err = kScriptFailed, .code = 1}},
      {"--print-ranges with an input: invalid",
       "sarnik --print-ranges -t 'Trim(0,9)' in.aac",
       {.out = usage(), .err = kInvalid, .code = 1}},
      {"--print-ranges after another argument: an invalid option",
       "sarnik -t 'Trim(0,9)' --print-ranges",
       {.out = B3 + usage(), .err = kInvalid, .code = 1}},
  });
}

// A terminal on the standard streams (of the locale given), what it shows back in CP932.
std::string on_terminal(const std::string& command, const std::string& locale = "C.UTF-8") {
  return "LC_ALL=" + locale + " script -qec '" + command +
         "' /dev/null | tr -d '\\r' | iconv -f UTF-8 -t CP932";
}

TEST(Cli, StreamsFilesAndTerminals) {
  if (runs_under_runner()) GTEST_SKIP() << "a POSIX shell around the programs";
  // Frame tables over several pieces; frames of 100 to 8191 bytes across reads.
  std::string big = adts_stream(1 << 20, {.length = 8});
  for (std::uint32_t i = 0; i < 300; ++i) big += adts_frame({.length = 100 + (i * 97) % 8092}, i);
  const std::string hook = "LD_PRELOAD=$HOOK SARNIK_HOOK=",
                    gone = "mkfifo f; : < f & exec 4> f; wait; ",
                    cp932_name = "\x83\x60 \x83\x60.aac", not_cp932 = "x\x85\x40\xFF\xA1.aac";
  expect_rows({
      {"a script read in two pieces",
       "{ printf 'Trim(10,'; sleep 0.1; printf 19\\); } |"
       " sarnik -a -t /dev/stdin -o out.aac in.aac",
       {.out = kRunIn + output("Trim(10,19)", 3840, 10), .out_aac = in(10, 20)}},
      {"a script of a byte over 64 MiB: too large",
       "head -c 67108865 /dev/zero | sarnik -t /dev/stdin -o out.aac in.aac",
       {.out = B3, .err = error("AviSynth スクリプトファイルが大きすぎます。"), .code = 1}},
      {"a folder as input: cannot be read",
       "mkdir d && sarnik d",
       {.out = B3, .err = kReadFailed, .code = 1}},
      {"a pipe as input: not a regular file",
       "cat in.aac | sarnik -o out.aac /dev/stdin",
       {.out = B3,
        .err = error("AAC ファイルが通常のファイルではありません。"),
        .code = 1,
        .out_aac = ""}},
      {"an output locked by another process: cannot be opened",
       R"(flock out.aac "$S3" -o out.aac in.aac)",
       {.out = B3, .err = kOpenFailed, .code = 1}},
      {"standard input and output closed: the run goes on",
       "sarnik -o out.aac in.aac <&- >&-",
       {.out_aac = kIn}},
      {"-t /dev/stdin closed: an empty script, the whole stream",
       "sarnik -t /dev/stdin -o out.aac in.aac <&-",
       {.out = kRunIn + kWhole, .out_aac = kIn}},
      {"standard error closed: the error exit still fails",
       "sarnik -o out.aac missing.aac 2>&-",
       {.out = B3, .code = 1, .out_aac = ""}},
      {"the standard output as output: refused",
       "sarnik -o /dev/stdout in.aac > r",
       {.err = error("出力ファイルが標準出力と同じです。"), .code = 1, .files = {{"r", B3}}}},
      {"the standard error as output: refused",
       "sarnik -o /dev/stderr in.aac 2> e",
       {.out = B3, .code = 1, .files = {{"e", error("出力ファイルが標準エラー出力と同じです。")}}}},
      {"a FIFO as output: every frame through it",
       "mkfifo p && { timeout 60 cat p > r & } && sarnik -o p big.aac > /dev/null && wait",
       {.files = {{"r", big}}},
       {{"big.aac", big}}},
      {"an output that cannot be written: the summary never printed",
       "sarnik -o /dev/full in.aac 2>&1",
       {.out = kCopying + kWriteFailed, .code = 1}},
      {"a standard output that cannot be written: an error",
       "sarnik in.aac > /dev/full",
       {.err = kConsoleFailed, .code = 1}},
      {"names not UTF-8 shown as their CP932 characters, '?' for the other bytes",
       R"~(sarnik "$(printf '\203\140 \203\140.aac')" "$(printf 'x\205\100\377\241.aac')")~",
       {.out = B3 + cp932_name + report("") + "x?@?\xA1.aac" + report("")},
       {{cp932_name, kIn}, {not_cp932, kIn}}},
      {"an EUC-JP name: a lead byte without its trail byte is '?'",
       R"~(sarnik "$(printf '\306\374\313\334.aac')")~",
       {.out = B3 + "\xC6?\xCB\xDC.aac" + report("")},
       {{"\xC6\xFC\xCB\xDC.aac", kIn}}},
      {"each byte 81 to FC before an A1: shown as valid CP932",
       R"~(n=$(for i in $(seq 129 252); do printf "\\$(printf %o $i)\\241"; done).aac;)~"
       R"( cp in.aac "$n" && sarnik "$n" | iconv -f CP932 -t UTF-8 |)"
       R"( sed '2s/.* の情報:$/n の情報:/' | iconv -f UTF-8 -t CP932)",
       {.out = B3 + report("n")}},
      {"a UTF-8 name under LANG=C: shown in CP932",
       R"(env -i LANG=C "$S3" テスト.aac)",
       {.out = B3 + report("テスト.aac")},
       {{"テスト.aac", kIn}}},
      // Changes and interrupts under the copy, by the preloaded copy hook.
      {"an input changed after its scan: the output emptied",
       hook + "'scanned in.aac' sarnik -o out.aac in.aac",
       {.out = kRunIn + sjis("出力中...\n"), .err = kChanged, .code = 1, .out_aac = ""}},
      {"an input rewritten under the copy: the output emptied",
       hook + "'rewrite in.aac' sarnik -o out.aac in.aac",
       {.out = kCopying, .err = kChanged, .code = 1, .out_aac = ""}},
      {"a later input cut short under the copy: the output emptied",
       hook + "'cut b.aac' sarnik -a -t 'Trim(0,9)+Trim(100,149)' -o out.aac in.aac b.aac",
       {.out = kRunIn + kReportB + sjis("出力中...\nTrim(0,9)+Trim(100,149)"),
        .err = kChanged,
        .code = 1,
        .out_aac = ""}},
      {"SIGTERM under the copy: the output emptied",
       hook + R"(term exec "$S3" -o out.aac in.aac)",
       {.code = 128 + 15, .out_aac = ""}},
      {"SIGQUIT under the copy: the output emptied",
       hook + R"(quit exec "$S3" -o out.aac in.aac)",
       {.code = 128 + 3, .out_aac = ""}},
      {"SIGXFSZ at the file size limit: the output emptied",
       R"(ulimit -c 0; ulimit -f 10; exec "$S3" -o out.aac in.aac)",
       {.code = 128 + 25, .out_aac = ""}},
      {"SIGTERM at the output's close: the output emptied",
       hook + R"('close term' exec "$S3" -o out.aac in.aac)",
       {.code = 128 + 15, .out_aac = ""}},
      {"a failed close: a failed write, the output emptied",
       hook + "'close fails' sarnik -o out.aac in.aac",
       {.out = kCopying, .err = kWriteFailed, .code = 1, .out_aac = ""}},
      // A console whose reader has gone (SIGPIPE ignored).
      {"the console's reader gone, at a flush during the copy: an error",
       "yes 'Trim(0,1)' | head -n 10000 | paste -sd+ > cut.avs; " + gone +
           "sarnik -a -t cut.avs -o out.aac in.aac >&4",
       {.err = kConsoleFailed, .code = 1, .out_aac = ""}},
      {"the console's reader gone, at a failed write: the write's error",
       gone + hook + "full sarnik -o out.aac in.aac >&4",
       {.err = kWriteFailed, .code = 1, .out_aac = ""}},
      // A terminal gets UTF-8 (CP932 under an SJIS locale), each message at once.
      {"a terminal's standard output in UTF-8, a file's in CP932",
       on_terminal(R"("$S3" in.aac missing.aac 2>e)"),
       {.out = kRunIn, .code = 1, .files = {{"e", kReadFailed}}}},
      {"a terminal's standard error in UTF-8, a file's in CP932",
       on_terminal(R"("$S3" missing.aac >o)"),
       {.out = kReadFailed, .code = 1, .files = {{"o", B3}}}},
      {"a terminal: the range shown before its copy fails",
       on_terminal(R"("$S3" -o /dev/full in.aac)"),
       {.out = kCopying + "\n" + kWriteFailed, .code = 1}},
      {"a terminal: the range shown before an interrupt",
       on_terminal(hook + R"(term exec "$S3" -o out.aac in.aac)"),
       {.out = kCopying + "\n", .code = 128 + 15, .out_aac = ""}},
      {"the C locale: a terminal in UTF-8", on_terminal(R"("$S3" -h)", "C"), {.out = B3 + usage()}},
      {"an unknown UTF-8 locale: a terminal in UTF-8",
       on_terminal(R"("$S3" -h)", "xx_XX.utf8"),
       {.out = B3 + usage()}},
      {"an unknown SJIS locale: a terminal in CP932",
       R"(LC_ALL=xx_XX.SJIS script -qec '"$S3" -h' /dev/null | tr -d '\r')",
       {.out = B3 + usage()}},
  });
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
      EXPECT_EQ(r.err, "");
      EXPECT_EQ(r.exit_code, 0);
      EXPECT_TRUE(read_file(dir.file(name + " DELAY 0ms.aac")) == in(2, 100));
    }
  }
}

}  // namespace
}  // namespace sarnik::test
