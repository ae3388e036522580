// ADTS frames, temporary folders, command lines run by sh, expected texts converted by iconv.
#pragma once

#include <iconv.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace sarnik::test {

// A frame's header fields, written by name: {.length = 200, .channels = 6}.
struct FrameSpec {
  std::uint32_t length = 384, sf_index = 3 /* 48000 Hz */, mpeg_id = 0 /* MPEG-4 */,
                profile = 1 /* LC */, channels = 2, blocks = 0 /* one raw data block */;
};
// A frame whose payload comes from seed and never holds 0xFF (no syncword).
inline std::string adts_frame(const FrameSpec& shape, std::uint32_t seed = 0) {
  // syncword, ID, layer, protection_absent, profile, sampling index, private, channels,
  // four flag bits, length, buffer fullness, raw data blocks: 56 bits.
  const std::uint32_t fields[][2] = {{0xFFF, 12},
                                     {shape.mpeg_id, 1},
                                     {0, 2},
                                     {1, 1},
                                     {shape.profile, 2},
                                     {shape.sf_index, 4},
                                     {0, 1},
                                     {shape.channels, 3},
                                     {0, 4},
                                     {shape.length, 13},
                                     {0x7FF, 11},
                                     {shape.blocks, 2}};
  std::uint64_t header = 0;
  for (const auto& [value, width] : fields) header = header << width | value;
  std::string frame;
  for (int shift = 48; shift >= 0; shift -= 8) frame.push_back(static_cast<char>(header >> shift));
  for (std::uint32_t x = seed * 2654435761u + 12345u; frame.size() < shape.length;) {
    x = x * 1103515245u + 12345u;
    frame.push_back(static_cast<char>((x >> 16) % 255));
  }
  return frame;
}
inline std::string adts_stream(std::uint32_t count, const FrameSpec& shape = {},
                               std::uint32_t seed = 0) {
  std::string out;
  for (std::uint32_t i = 0; i < count; ++i) out += adts_frame(shape, seed + i);
  return out;
}

inline std::string sjis(std::string in) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(in.size() * 2, '\0');
  char *in_p = in.data(), *out_p = out.data();
  std::size_t in_left = in.size(), out_left = out.size();
  const std::size_t r = iconv(cd, &in_p, &in_left, &out_p, &out_left);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not CP932: " + in);
  return out.substr(0, out.size() - out_left);
}

// An input's report (by default one segment of stereo MPEG-4 AAC LC at 48000 Hz), in UTF-8.
inline const std::string kLc48Lines =
    "  バージョン:   MPEG-4 AAC\n  プロファイル: LC (Low Complexity)\n"
    "  サンプリング周波数: 48000 Hz\n";
inline std::string report_text(const std::string& name, const std::string& size,
                               const std::string& frames, const std::string& time,
                               const std::string& rate,
                               const std::string& segments = kLc48Lines +
                                                             "  チャンネル:   2 ch\n") {
  return name + " の情報:\n  サイズ:       " + size + " バイト\n  フレーム:     " + frames +
         " フレーム\n  時間:         " + time + "\n  ビットレート: " + rate + " kbps\n" + segments;
}

inline std::string read_file(const std::string& path) {  // "(none)" when there is no such file
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return f ? s.str() : "(none)";
}

struct TempDir {
  TempDir() { ::mkdtemp(path.data()); }
  ~TempDir() { std::filesystem::remove_all(path, ignored); }
  std::string file(const std::string& name) const { return path + "/" + name; }
  std::string write(const std::string& name, std::string_view bytes) const {  // returns the path
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }
  std::string path = (std::filesystem::temp_directory_path() / "sarnik-test-XXXXXX").string();
  std::error_code ignored;
};

inline std::string env_or(const char* name, const char* fallback = "") {
  return std::getenv(name) ? std::getenv(name) : fallback;
}
inline bool runs_under_runner() { return !env_or("SARNIK_RUNNER").empty(); }

struct ProcessResult {
  std::string out, err;
  int exit_code = -1;
};
// A command line run by bash in cwd, stdin empty, a pipeline failing with any of its commands:
// sarnik and sarnik2 run $S3 and $S2 (SARNIK_BIN, SARNIK_ADD2_BIN, else this build's) through $R
// (SARNIK_RUNNER: wine); $HOOK is copy_hook.cpp.
inline ProcessResult run_shell(const std::string& command, const std::string& cwd) {
  [[maybe_unused]] static const bool environment = [] {
    setenv("S3", env_or("SARNIK_BIN", SARNIK_DEFAULT_BIN).c_str(), 1);
    setenv("S2", env_or("SARNIK_ADD2_BIN", SARNIK_DEFAULT_ADD2_BIN).c_str(), 1);
    setenv("R", env_or("SARNIK_RUNNER").c_str(), 1);
    setenv("HOOK", SARNIK_COPY_HOOK, 1);
    setenv("SHELL", "/bin/sh", 1);  // for script: a shell quiet about locales it cannot set
    setenv("ASAN_OPTIONS", (env_or("ASAN_OPTIONS") + ":verify_asan_link_order=0").c_str(), 1);
    return true;
  }();
  const TempDir streams;
  const std::string line =
      R"(sarnik() { $R "$S3" "$@"; }; sarnik2() { $R "$S2" "$@"; }; )" + command;
  const int status =
      std::system(("cd '" + cwd + "' && exec bash -o pipefail -c '" +
                   std::regex_replace(line, std::regex("'"), "'\\''") + "' </dev/null >" +
                   streams.file("out") + " 2>" + streams.file("err"))
                      .c_str());
  return {read_file(streams.file("out")), read_file(streams.file("err")),
          WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

}  // namespace sarnik::test
