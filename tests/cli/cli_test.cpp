// The built programs on real files: one table from the arguments (or a shell command, where
// streams and terminals are the point) to the exact output, error, exit code and files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

const std::string B3 = "Sarnik version 0.1 alpha 3 add 3\n", B2 = "Sarnik version 0.1 alpha 3 add 2\n";
const std::string kIn = adts_stream(100), kB = adts_stream(50, {200}, 500);  // in.aac and b.aac: 384 and 200 bytes a frame
const std::string kBig = adts_stream(3000, {1000});  // 3 MB
const std::string kGap = adts_stream(5) + std::string(100, 'x') + adts_stream(5, {}, 9);

std::string in(std::size_t first, std::size_t end) { return kIn.substr(first * 384, (end - first) * 384); }
std::string error(const std::string& utf8) { return sjis("エラー: " + utf8 + "\n"); }
std::string usage() {
  return sjis("Usage: sarnik [options] -t xxxx -o <outfile> <infiles>\n\nオプション:\n"
              "  -t xxxx      AviSynth スクリプトファイルから\n               Trim で始まる一行を検索して読み込み\n"
              "               またはコマンドラインから Trim 情報を入力\n  -o <outfile> 出力ファイル\n  -d xxxx      遅延補正 (ms単位)\n"
              "  -a           AAC フレームを直接指定\n  -f xxxx      動画のフレームレートを指定 (29.97 or 59.94)\n"
              "  -x           最初の<infiles>のファイル名から-o/-dオプションを自動指定\n  -h or -?     ヘルプ\n");
}
std::string report(const std::string& name, const char* size = "38400", const char* frames = "100",
                   const char* time = "00:00:02", const char* rate = "144.0") {
  return sjis(name + " の情報:\n  サイズ:       " + size + " バイト\n  フレーム:     " + frames + " フレーム\n  時間:         " + time +
              "\n  ビットレート: " + rate + " kbps\n  バージョン:   MPEG-4 AAC\n  プロファイル: LC (Low Complexity)\n"
              "  サンプリング周波数: 48000 Hz\n  チャンネル:   2 ch\n\n");
}
std::string output(const std::string& ranges, std::size_t bytes, std::size_t frames) {
  return sjis("出力中...\n" + ranges + "\n出力サイズ: " + std::to_string(bytes) + " バイト (" + std::to_string(frames) + "フレーム)\n");
}
std::string x_lines(const std::string& delay, const std::string& name) {
  return sjis("-xオプションにより、以下のオプションを自動的に追加\n    -d " + delay + "\n    -o \"" + name + "\"\n");
}

struct Row {
  const char* what;
  Program program;
  std::vector<std::string> args;  // empty with a shell command
  const char* shell;              // "$0" is the program; POSIX only
  std::string out, err;
  int code;
  std::vector<std::pair<std::string, std::string>> files;  // afterwards ("(none)": no such file)
  std::vector<std::pair<std::string, std::string>> given = {};  // besides in.aac, b.aac, out.aac
};

TEST(Cli, CommandLineToBytesAndFiles) {
  setenv("ASAN_OPTIONS", (env_or("ASAN_OPTIONS") + ":verify_asan_link_order=0").c_str(), 1);  // for the preloaded hook
  setenv("SHELL", "/bin/sh", 1);  // for script: a shell that keeps quiet about locales it cannot set
  const std::string keep = "keep", ok = "";  // out.aac before each run; no text
  const Row rows[] = {
      {"usage", Program::add3, {}, nullptr, B3 + usage(), ok, 0, {}},
      {"invalid before help", Program::add3, {"-q", "-h"}, nullptr, B3 + usage(), error("オプションが正しくありません。"), 1, {}},
      {"17 inputs", Program::add3, std::vector<std::string>(17, "in.aac"), nullptr, B3 + usage(), error("入力ファイルは最大 16 ファイルまでです。"), 1, {}},
      {"report only", Program::add3, {"-t", "missing.avs", "in.aac", "b.aac"}, nullptr,
       B3 + report("in.aac") + report("b.aac", "10000", "50", "00:00:01", "75.0"), ok, 0, {{"out.aac", keep}}},
      {"whole stream", Program::add3, {"-o", "out.aac", "in.aac"}, nullptr,
       B3 + report("in.aac") + output("Trim(0,99)", 38400, 100), ok, 0, {{"out.aac", kIn}}},
      {"ranges across inputs", Program::add3, {"-a", "-t", "Trim(90,-20)+Trim(200,0)+Trim(0,9)", "-o", "out.aac", "in.aac", "b.aac"}, nullptr,
       B3 + report("in.aac") + report("b.aac", "10000", "50", "00:00:01", "75.0") +
           output("Trim(90,109)+Trim(149,149)+Trim(0,9)", 9880, 31), ok, 0,
       {{"out.aac", in(90, 100) + kB.substr(0, 2000) + kB.substr(9800) + in(0, 10)}}},
      {"script with CR LF and a delay", Program::add3, {"-d", "-100", "-t", "cut.avs", "-o", "out.aac", "in.aac"}, nullptr,
       B3 + report("in.aac") + output("Trim(10,19)+Trim(4,4)", 11 * 384, 11), ok, 0, {{"out.aac", in(10, 20) + in(4, 5)}},
       {{"cut.avs", "#\r\nTrim(4,9)\r\n\\+Trim(0,-1)\r\n"}}},
      {"add 2 delay shift", Program::add2, {"-d", "278", "-o", "out.aac", "in.aac"}, nullptr,
       B2 + report("in.aac") + output("Trim(0,85)", 86 * 384, 86), ok, 0, {{"out.aac", in(0, 86)}}},
      {"no output", Program::add3, {"-f", "59.94", "-t", "Trim(4,4)", "-o", "out.aac", "in.aac"}, nullptr,
       B3 + report("in.aac") + output("(no output)", 0, 0), ok, 0, {{"out.aac", ""}}},
      {"-x over its input, add 2", Program::add2, {"-x", "DELAY 0ms.aac"}, nullptr,
       B2 + x_lines("0", "DELAY 0ms.aac"), error("出力ファイルが入力ファイルと同じです。"), 1,
       {{"DELAY 0ms.aac", kIn}}, {{"DELAY 0ms.aac", kIn}}},
      {"output over an input", Program::add3, {"-o", "./in.aac", "b.aac", "in.aac"}, nullptr, B3,
       error("出力ファイルが入力ファイルと同じです。"), 1, {{"in.aac", kIn}}},
      {"output over the script", Program::add3, {"-t", "cut.avs", "-o", "cut.avs", "in.aac"}, nullptr, B3,
       error("出力ファイルが AviSynth スクリプトファイルと同じです。"), 1, {{"cut.avs", "Trim(0,9)"}}, {{"cut.avs", "Trim(0,9)"}}},
      {"output not creatable", Program::add3, {"-o", "no/out.aac", "in.aac"}, nullptr, B3,
       error("出力ファイルオープンに失敗しました。"), 1, {}},
      {"missing script", Program::add3, {"-t", "Trim (0,9)", "-o", "out.aac", "in.aac"}, nullptr, B3,
       error("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1, {{"out.aac", keep}}},
      {"a script named almost like a call", Program::add3, {"-t", "xrim(0,9)", "-o", "o", "in.aac"}, nullptr, B3,
       error("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1, {}},
      {"missing input", Program::add3, {"-o", "out.aac", "in.aac", "missing.aac"}, nullptr, B3 + report("in.aac"),
       error("AAC ファイルの読み込みに失敗しました。"), 1, {{"out.aac", ""}}},
      {"not ADTS", Program::add3, {"-o", "out.aac", "in.aac", "text.aac"}, nullptr, B3 + report("in.aac"),
       error("AAC ADTS ファイルではありません。"), 1, {{"out.aac", ""}}, {{"text.aac", std::string(2000, 'a')}}},
      {"gap: not editable", Program::add3, {"-o", "out.aac", "gap.aac", "in.aac"}, nullptr,
       B3 + sjis("5 フレーム目のヘッダー情報が正しくありません。\ngap.aac はフレームドロップしている可能性があります。\n") +
           report("gap.aac", "3940", "10", "00:00:00", "147.750") + report("in.aac") + sjis("編集非対応ファイルです。\n"),
       ok, 0, {{"out.aac", ""}}, {{"gap.aac", kGap}}},
      {"--print-ranges: the script's video frames, a line a call, no banner", Program::add3,
       {"--print-ranges", "-f", "59.94", "-a", "-d", "9", "-t", "cut.avs"}, nullptr, "5 14\n20 end\n7 7\n", ok, 0, {},
       {{"cut.avs", "\xEF\xBB\xBF#\r\nTrim(5,-10) + Trim(20,0)\r\n\\+Trim(7,3)\r\n"}}},
      {"--print-ranges: no call, the whole stream", Program::add2, {"--print-ranges"}, nullptr, "0 end\n", ok, 0, {}},
      {"--print-ranges takes no input", Program::add3, {"--print-ranges", "-t", "Trim(0,9)", "in.aac"}, nullptr, usage(),
       error("オプションが正しくありません。"), 1, {}},
      {"--print-ranges: a missing script", Program::add3, {"--print-ranges", "-t", "cut.avs"}, nullptr, "",
       error("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1, {}},
      {"--print-ranges only first", Program::add3, {"-t", "Trim(0,9)", "--print-ranges"}, nullptr, B3 + usage(),
       error("オプションが正しくありません。"), 1, {}},
      {"a script saved with a byte order mark", Program::add3, {"-a", "-t", "bom.avs", "-o", "out.aac", "in.aac"}, nullptr,
       B3 + report("in.aac") + output("Trim(10,19)", 3840, 10), ok, 0, {{"out.aac", in(10, 20)}},
       {{"bom.avs", "\xEF\xBB\xBFTrim(10,19)\r\n"}}},
      // What only a shell shows: pipes, FIFOs, closed and shared streams, locks, terminals.
      {"script from a pipe", Program::add3, {}, "printf 'Trim(10,19)' | \"$0\" -a -t /dev/stdin -o out.aac in.aac",
       B3 + report("in.aac") + output("Trim(10,19)", 3840, 10), ok, 0, {{"out.aac", in(10, 20)}}},
      {"script of 64 MiB", Program::add3, {}, "head -c 67108864 /dev/zero | \"$0\" -t /dev/stdin -o out.aac in.aac",
       B3 + report("in.aac") + output("Trim(0,99)", 38400, 100), ok, 0, {{"out.aac", kIn}}},
      {"script over 64 MiB", Program::add3, {}, "head -c 67108865 /dev/zero | \"$0\" -t /dev/stdin -o out.aac in.aac", B3,
       error("AviSynth スクリプトファイルが大きすぎます。"), 1, {{"out.aac", keep}}},
      {"folder as input", Program::add3, {}, "mkdir d && \"$0\" d", B3, error("AAC ファイルの読み込みに失敗しました。"), 1, {}},
      {"script is a folder", Program::add3, {}, "mkdir c && \"$0\" -t c -o out.aac in.aac", B3,
       error("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1, {{"in.aac", kIn}}},
      {"output held by another run", Program::add3, {}, "flock out.aac \"$0\" -o out.aac in.aac", B3,
       error("出力ファイルオープンに失敗しました。"), 1, {{"out.aac", keep}}},
      {"streams closed", Program::add3, {}, "\"$0\" -o out.aac in.aac <&- >&-", "", ok, 0, {{"out.aac", kIn}}},
      {"script from a closed standard input", Program::add3, {}, "\"$0\" -t /dev/stdin -o out.aac in.aac <&-",
       B3 + report("in.aac") + output("Trim(0,99)", 38400, 100), ok, 0, {{"out.aac", kIn}}},
      {"standard error closed", Program::add3, {}, "\"$0\" -o out.aac missing.aac 2>&-", B3, ok, 1, {{"out.aac", ""}}},
      {"output is standard output", Program::add3, {}, "\"$0\" -o /dev/stdout in.aac > r", "",
       error("出力ファイルが標準出力と同じです。"), 1, {{"r", B3}}},
      {"output is standard error", Program::add3, {}, "\"$0\" -o /dev/stderr in.aac 2> r", B3, ok, 1,
       {{"r", error("出力ファイルが標準エラー出力と同じです。")}}},
      {"null device twice", Program::add3, {}, "\"$0\" -o /dev/null in.aac > /dev/null", "", ok, 0, {{"out.aac", keep}}},
      {"output to a FIFO: copied through the program, 1 MiB at a time", Program::add3, {},
       "mkfifo p && { cat p > r & } && \"$0\" -o p big.aac > /dev/null && wait", "", ok, 0, {{"r", kBig}}, {{"big.aac", kBig}}},
      {"input from a pipe", Program::add3, {}, "cat in.aac | \"$0\" -o out.aac /dev/stdin", B3, error("AAC ファイルが通常のファイルではありません。"), 1, {{"out.aac", ""}}},
      {"disk full", Program::add3, {}, "\"$0\" -o /dev/full in.aac", B3 + report("in.aac") + sjis("出力中...\nTrim(0,99)"),
       error("出力ファイルの書き込みに失敗しました。"), 1, {}},
      {"standard output lost", Program::add3, {}, "\"$0\" in.aac > /dev/full", "", error("標準出力への書き込みに失敗しました。"), 1, {}},
      {"names not in UTF-8: CP932 kept, '?' for each byte that is no character", Program::add3, {},
       "LC_ALL=C.UTF-8 \"$0\" \"$(printf 'in\\203\\140.aac')\" \"$(printf 'x\\205\\100\\377.aac')\"",
       B3 + "in\x83\x60.aac" + report("") + "x?@?.aac" + report(""), ok, 0, {},
       {{"in\x83\x60.aac", kIn}, {"x\x85\x40\xFF.aac", kIn}}},
      {"a UTF-8 name captured in CP932 without any locale", Program::add3, {}, "env -i LANG=C \"$0\" テスト.aac",
       B3 + report("テスト.aac"), ok, 0, {}, {{"テスト.aac", kIn}}},
      {"frames at 44.1 kHz after 48 kHz ones, the channels unchanged: not editable", Program::add3,
       {"-o", "out.aac", "mixed.aac"}, nullptr, B3 + report("mixed.aac") + sjis("編集非対応ファイルです。\n"), ok, 0,
       {{"out.aac", ""}}, {{"mixed.aac", kIn.substr(0, 19200) + adts_stream(50, {384, 4})}}},
      // Inputs changed and interrupts under the copy, by a preloaded copy_file_range ("$1").
      {"an input rewritten during the copy", Program::add3, {}, "LD_PRELOAD=\"$1\" SARNIK_HOOK='rewrite in.aac' \"$0\" -o out.aac in.aac",
       B3 + report("in.aac") + sjis("出力中...\nTrim(0,99)"), error("AAC ファイルが読み込み後に変更されました。"), 1, {{"out.aac", ""}}},
      {"an input cut during the copy: what was copied is gone", Program::add3, {},
       "LD_PRELOAD=\"$1\" SARNIK_HOOK='cut b.aac' \"$0\" -a -t 'Trim(0,9)+Trim(100,149)' -o out.aac in.aac b.aac",
       B3 + report("in.aac") + report("b.aac", "10000", "50", "00:00:01", "75.0") + sjis("出力中...\nTrim(0,9)+Trim(100,149)"),
       error("AAC ファイルが読み込み後に変更されました。"), 1, {{"out.aac", ""}}},
      {"SIGTERM during the copy", Program::add3, {}, "LD_PRELOAD=\"$1\" SARNIK_HOOK=term exec \"$0\" -o out.aac in.aac", "", ok,
       128 + 15, {{"out.aac", ""}}},
      {"terminal: SIGTERM during the copy ends the line, nothing more", Program::add3, {},
       "LC_ALL=C.UTF-8 script -qec \"LD_PRELOAD='$1' SARNIK_HOOK=term exec '$0' -o out.aac in.aac\" /dev/null | tr -d '\\r' | iconv -f UTF-8 -t CP932",
       B3 + report("in.aac") + sjis("出力中...\nTrim(0,99)\n"), ok, 0, {{"out.aac", ""}}},
      {"terminal: an error after the range text starts its own line", Program::add3, {},
       "LC_ALL=C.UTF-8 script -qec \"'$0' -o /dev/full in.aac\" /dev/null | tr -d '\\r' | iconv -f UTF-8 -t CP932",
       B3 + report("in.aac") + sjis("出力中...\nTrim(0,99)\nエラー: 出力ファイルの書き込みに失敗しました。\n"), ok, 0, {}},
      {"terminal: UTF-8 for C and for a locale that cannot be set but says UTF-8", Program::add3, {},
       "for l in C POSIX xx_XX.UTF-8 xx_XX.utf8; do LC_ALL=$l script -qec \"'$0' -h\" /dev/null; done | tr -d '\\r' | iconv -f UTF-8 -t CP932",
       B3 + usage() + B3 + usage() + B3 + usage() + B3 + usage(), ok, 0, {}},
      {"terminal: CP932 for a locale of another character set", Program::add3, {},
       "LC_ALL=xx_XX.SJIS script -qec \"'$0' -h\" /dev/null | tr -d '\\r'", B3 + usage(), ok, 0, {}},
      {"redirected: written in blocks, none yet before a wait", Program::add3, {},
       "mkfifo f && { \"$0\" -t f -o o in.aac > r & } && exec 3> f && { kill -9 $! && ! wait $!; } 2>/dev/null", "", ok, 0, {{"r", ""}}},
      {"terminal: UTF-8 lines to the terminal (read back by iconv), CP932 to a file", Program::add3, {},
       "LC_ALL=C.UTF-8 script -qec \"'$0' in.aac missing.aac 2>e\" /dev/null | tr -d '\\r' | iconv -f UTF-8 -t CP932",
       B3 + report("in.aac"), ok, 0, {{"e", error("AAC ファイルの読み込みに失敗しました。")}}},
      {"terminal: the error line in UTF-8", Program::add3, {}, "LC_ALL=C.UTF-8 script -qec \"'$0' missing.aac >o\" /dev/null",
       "エラー: AAC ファイルの読み込みに失敗しました。\r\n", ok, 1, {{"o", B3}}},
      {"terminal: the banner before a wait", Program::add3, {},
       "mkfifo f && script -qec \"'$0' -t f -o o in.aac & exec 3> f; kill -9 \\$!\" /dev/null",
       "Sarnik version 0.1 alpha 3 add 3\r\n", ok, 0, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.shell != nullptr && runs_under_runner()) continue;
    const TempDir dir;
    for (const auto& [name, bytes] : {std::pair{"in.aac", kIn}, std::pair{"b.aac", kB}, std::pair{"out.aac", keep}}) {
      dir.write(name, bytes);
    }
    for (const auto& [name, bytes] : row.given) dir.write(name, bytes);
    const ProcessResult r = row.shell ? run_process({"sh", "-c", row.shell, program_path(row.program), SARNIK_COPY_HOOK}, dir.path)
                                      : run_sarnik(row.program, row.args, dir.path);
    EXPECT_EQ(r.out, row.out);
    EXPECT_EQ(r.err, row.err);
    EXPECT_EQ(r.exit_code, row.code);
    for (const auto& [name, bytes] : row.files) EXPECT_TRUE(read_file(dir.file(name)) == bytes) << name;
  }
}

// Names as users spell them, opened whole (wide on Windows), shown in CP932
// with '?' for what CP932 lacks, in both revisions.
TEST(Cli, NamesOpenCutAndDerive) {
  if (!runs_under_runner()) setenv("LC_ALL", "C.UTF-8", 1);
  const std::pair<std::string, std::string> names[] = {  // the name, and as the console shows it
      {"番組〜", "番組?"}, {"番組～", "番組～"}, {"♬", "?"}, {"𠮷", "?"}, {"録画/ソ表", "録画/ソ表"}, {"é", "?"}};
  for (const Program program : {Program::add3, Program::add2}) {
    for (const auto& [name, shown] : names) {
      SCOPED_TRACE(name);
      const TempDir dir;
      std::filesystem::create_directory(dir.file("録画"));
      dir.write(name + " DELAY -57ms.aac", kIn);
      dir.write("e DELAY -57ms.aac", kB);  // which no lossy conversion may choose instead
      const ProcessResult r = run_sarnik(program, {"-x", name + " DELAY -57ms.aac"}, dir.path);
      EXPECT_EQ(r.out, (program == Program::add2 ? B2 : B3) + x_lines("-57", shown + " DELAY 0ms.aac") +
                           report(shown + " DELAY -57ms.aac") + output("Trim(2,99)", 98 * 384, 98));
      EXPECT_EQ(r.err + std::to_string(r.exit_code), "0");
      EXPECT_TRUE(read_file(dir.file(name + " DELAY 0ms.aac")) == in(2, 100));
    }
  }
  if (!runs_under_runner()) unsetenv("LC_ALL");
}

}  // namespace
}  // namespace sarnik::test
