// What every suite needs: ADTS frames built bit by bit, temporary folders,
// the built programs run as child processes, expected texts written in UTF-8
// and converted to CP932 by iconv, and real audio made by ffmpeg.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sarnik::test {

struct FrameSpec {
  std::uint32_t length = 384;  // aac_frame_length, header included
  std::uint32_t sf_index = 3;  // 48000 Hz
  std::uint32_t mpeg_id = 0;   // 0 = MPEG-4
  std::uint32_t profile = 1;   // 1 = LC
  std::uint32_t channels = 2;
};
// A frame whose payload comes from seed and never holds 0xFF (no syncword);
// count frames, each with a payload of its own.
std::string adts_frame(const FrameSpec& shape, std::uint32_t seed = 0);
std::string adts_stream(std::uint32_t count, const FrameSpec& shape = {}, std::uint32_t seed = 0);

std::string sjis(std::string_view utf8);

struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string file(std::string_view name) const { return path + "/" + std::string(name); }
  std::string write(std::string_view name, std::string_view bytes) const;  // returns the path
  std::string path;
};
std::string read_file(const std::string& path);  // "(none)" when there is no such file

struct ProcessResult {
  std::string out, err;
  int exit_code = -1;
};
// argv run in cwd with an empty standard input.
ProcessResult run_process(const std::vector<std::string>& argv, const std::string& cwd = "");

// The programs under test: SARNIK_BIN / SARNIK_ADD2_BIN, else this build's,
// started through SARNIK_RUNNER (wine) when it is set.
enum class Program { add3, add2 };
std::string program_path(Program program);
bool runs_under_runner();
ProcessResult run_sarnik(Program program, const std::vector<std::string>& args, const std::string& cwd);

// A sine tone encoded as AAC LC in ADTS; the packets ffprobe counts (-1 on
// failure); whether ffmpeg decodes a file without a word of complaint.
void encode_adts(const std::string& path, int seconds, const std::string& layout, int rate = 48000);
long count_packets(const std::string& path);
bool decodes_cleanly(const std::string& path);

}  // namespace sarnik::test
