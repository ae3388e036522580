// Helpers of the command-line suite: every case runs the real program in a
// temporary directory, with relative file names, and compares the exact
// bytes of the standard output and error and the exit code.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

#include "support/adts_builder.hpp"
#include "support/expected_usage.hpp"
#include "support/files.hpp"
#include "support/process.hpp"
#include "support/sjis.hpp"

namespace sarnik::test {

inline const std::string kBanner3 = "Sarnik version 0.1 alpha 3 add 3\n";
inline const std::string kBanner2 = "Sarnik version 0.1 alpha 3 add 2\n";

inline std::string usage_text() { return sjis(kUsageUtf8); }

inline std::string error_line(const std::string& utf8) { return sjis("エラー: " + utf8 + "\n"); }

// The report of a clean stereo AAC LC 48 kHz input as the builder makes it.
inline std::string stereo_report(const std::string& name, std::uint32_t size, std::uint32_t frames,
                                 const std::string& time, const std::string& rate) {
  return sjis(name + " の情報:\n  サイズ:       " + std::to_string(size) +
              " バイト\n  フレーム:     " + std::to_string(frames) + " フレーム\n  時間:         " +
              time + "\n  ビットレート: " + rate +
              " kbps\n  バージョン:   MPEG-4 AAC\n  プロファイル: LC (Low Complexity)\n"
              "  サンプリング周波数: 48000 Hz\n  チャンネル:   2 ch\n\n");
}

// The summary lines of the output step for range texts joined by '+'.
inline std::string output_lines(const std::string& ranges, std::uint64_t bytes, std::uint64_t frames) {
  return sjis("出力中...\n" + ranges + "\n出力サイズ: " + std::to_string(bytes) + " バイト (" +
              std::to_string(frames) + "フレーム)\n");
}

#define EXPECT_RUN(result, expected_out, expected_err, expected_code) \
  do {                                                                \
    const ::sarnik::test::ProcessResult& r_ = (result);               \
    EXPECT_EQ(r_.out, (expected_out));                                \
    EXPECT_EQ(r_.err, (expected_err));                                \
    EXPECT_EQ(r_.exit_code, (expected_code));                         \
  } while (false)

}  // namespace sarnik::test
