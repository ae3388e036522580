// ADTS frames built bit by bit, temporary folders, programs run through the
// shell, and expected texts written in UTF-8 and converted to CP932 by iconv.
#pragma once

#include <iconv.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sarnik::test {

struct FrameSpec {
  std::uint32_t length = 384, sf_index = 3 /* 48000 Hz */, mpeg_id = 0 /* MPEG-4 */, profile = 1 /* LC */, channels = 2,
                blocks = 0 /* one raw data block */;
};
// A frame whose payload comes from seed and never holds 0xFF (no syncword).
inline std::string adts_frame(const FrameSpec& shape, std::uint32_t seed = 0) {
  // syncword, ID, layer, protection_absent, profile, sampling index, private,
  // channels, four flag bits, length, buffer fullness, raw data blocks: 56 bits.
  const std::uint32_t fields[][2] = {{0xFFF, 12}, {shape.mpeg_id, 1}, {0, 2},    {1, 1},
                                     {shape.profile, 2}, {shape.sf_index, 4}, {0, 1}, {shape.channels, 3},
                                     {0, 4}, {shape.length, 13}, {0x7FF, 11}, {shape.blocks, 2}};
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
inline std::string adts_stream(std::uint32_t count, const FrameSpec& shape = {}, std::uint32_t seed = 0) {
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

inline std::string read_file(const std::string& path) {  // "(none)" when there is no such file
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return f ? s.str() : "(none)";
}

struct TempDir {
  TempDir() {
    if (::mkdtemp(path.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  }
  ~TempDir() { std::filesystem::remove_all(path, ignored); }
  std::error_code ignored;
  TempDir(const TempDir&) = delete;
  std::string file(const std::string& name) const { return path + "/" + name; }
  std::string write(const std::string& name, std::string_view bytes) const {  // returns the path
    std::ofstream(file(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file(name);
  }
  std::string path = (std::filesystem::temp_directory_path() / "sarnik-test-XXXXXX").string();
};

struct ProcessResult { std::string out, err; int exit_code = -1; };
// argv run in cwd through the shell, with an empty standard input.
inline ProcessResult run_process(const std::vector<std::string>& argv, const std::string& cwd = ".") {
  const TempDir streams;
  std::string command = "cd '" + cwd + "' && exec";
  for (const std::string& a : argv) command += " '" + std::regex_replace(a, std::regex("'"), "'\\''") + "'";
  command += " </dev/null >" + streams.file("out") + " 2>" + streams.file("err");
  const int status = std::system(command.c_str());
  return {read_file(streams.file("out")), read_file(streams.file("err")),
          WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

// The programs under test: SARNIK_BIN / SARNIK_ADD2_BIN, else this build's,
// started through SARNIK_RUNNER (wine) when it is set.
enum class Program { add3, add2 };
inline std::string env_or(const char* name, const char* fallback = "") {
  return std::getenv(name) ? std::getenv(name) : fallback;
}
inline std::string program_path(Program p) {
  return p == Program::add3 ? env_or("SARNIK_BIN", SARNIK_DEFAULT_BIN)
                            : env_or("SARNIK_ADD2_BIN", SARNIK_DEFAULT_ADD2_BIN);
}
inline bool runs_under_runner() { return !env_or("SARNIK_RUNNER").empty(); }
inline ProcessResult run_sarnik(Program program, std::vector<std::string> args, const std::string& cwd) {
  args.insert(args.begin(), program_path(program));
  if (runs_under_runner()) args.insert(args.begin(), env_or("SARNIK_RUNNER"));
  return run_process(args, cwd);
}

}  // namespace sarnik::test
