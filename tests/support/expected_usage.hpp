// The usage text as the program must print it, in UTF-8.
#pragma once

namespace sarnik::test {

inline constexpr const char* kUsageUtf8 =
      "Usage: sarnik [options] -t xxxx -o <outfile> <infiles>\n\nオプション:\n"
      "  -t xxxx      AviSynth スクリプトファイルから\n"
      "               Trim で始まる一行を検索して読み込み\n"
      "               またはコマンドラインから Trim 情報を入力\n"
      "  -o <outfile> 出力ファイル\n  -d xxxx      遅延補正 (ms単位)\n"
      "  -a           AAC フレームを直接指定\n"
      "  -f xxxx      動画のフレームレートを指定 (29.97 or 59.94)\n"
      "  -x           最初の<infiles>のファイル名から-o/-dオプションを自動指定\n"
      "  -h or -?     ヘルプ\n";

}  // namespace sarnik::test
