#include "support/support.hpp"

#include <iconv.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace sarnik::test {

std::string adts_frame(const FrameSpec& shape, std::uint32_t seed) {
  std::string frame(7, '\0');
  std::size_t bit = 0;
  // syncword, ID, layer, protection_absent, profile, sampling index, private,
  // channels, four flag bits, length, buffer fullness, raw data blocks.
  const std::uint32_t fields[][2] = {{0xFFF, 12}, {shape.mpeg_id, 1}, {0, 2}, {1, 1}, {shape.profile, 2},
                                     {shape.sf_index, 4}, {0, 1}, {shape.channels, 3}, {0, 4},
                                     {shape.length, 13}, {0x7FF, 11}, {0, 2}};
  for (const auto& [value, width] : fields) {
    for (unsigned i = width; i-- > 0; ++bit) {
      if ((value >> i) & 1u) frame[bit / 8] = static_cast<char>(frame[bit / 8] | (0x80 >> (bit % 8)));
    }
  }
  for (std::uint32_t x = seed * 2654435761u + 12345u; frame.size() < shape.length;) {
    x = x * 1103515245u + 12345u;
    frame.push_back(static_cast<char>((x >> 16) % 255));
  }
  return frame;
}

std::string adts_stream(std::uint32_t count, const FrameSpec& shape, std::uint32_t seed) {
  std::string out;
  for (std::uint32_t i = 0; i < count; ++i) out += adts_frame(shape, seed + i);
  return out;
}

std::string sjis(std::string_view utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string in(utf8), out(in.size() * 2, '\0');
  char *in_p = in.data(), *out_p = out.data();
  std::size_t in_left = in.size(), out_left = out.size();
  const std::size_t r = iconv(cd, &in_p, &in_left, &out_p, &out_left);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not CP932: " + in);
  return out.substr(0, out.size() - out_left);
}

TempDir::TempDir() : path((std::filesystem::temp_directory_path() / "sarnik-test-XXXXXX").string()) {
  if (::mkdtemp(path.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
  std::ofstream(file(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file(name);
}

std::string read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return f ? s.str() : "(none)";
}

// Through the shell, each argument quoted; the streams go to files.
ProcessResult run_process(const std::vector<std::string>& argv, const std::string& cwd) {
  const TempDir streams;
  std::string command = "cd '" + (cwd.empty() ? "." : cwd) + "' && exec";
  for (const std::string& a : argv) command += " '" + std::regex_replace(a, std::regex("'"), "'\\''") + "'";
  const int status = std::system((command + " </dev/null >" + streams.file("out") + " 2>" + streams.file("err")).c_str());
  return {read_file(streams.file("out")), read_file(streams.file("err")),
          WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

namespace {
std::string env_or(const char* name, const char* fallback = "") {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}
}  // namespace

std::string program_path(Program program) {
  return program == Program::add3 ? env_or("SARNIK_BIN", SARNIK_DEFAULT_BIN)
                                  : env_or("SARNIK_ADD2_BIN", SARNIK_DEFAULT_ADD2_BIN);
}

bool runs_under_runner() { return !env_or("SARNIK_RUNNER").empty(); }

ProcessResult run_sarnik(Program program, const std::vector<std::string>& args, const std::string& cwd) {
  std::vector<std::string> argv = {program_path(program)};
  if (runs_under_runner()) argv.insert(argv.begin(), env_or("SARNIK_RUNNER"));
  argv.insert(argv.end(), args.begin(), args.end());
  return run_process(argv, cwd);
}

void encode_adts(const std::string& path, int seconds, const std::string& layout, int rate) {
  const std::string sine = "sine=frequency=440:sample_rate=" + std::to_string(rate) + ":duration=" + std::to_string(seconds);
  const ProcessResult r = run_process({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", sine, "-af",
                                       "aformat=channel_layouts=" + layout, "-c:a", "aac", "-f", "adts", path});
  if (r.exit_code != 0) throw std::runtime_error("ffmpeg could not encode: " + r.err);
}

long count_packets(const std::string& path) {
  const ProcessResult r = run_process({"ffprobe", "-v", "error", "-select_streams", "a:0", "-count_packets",
                                       "-show_entries", "stream=nb_read_packets", "-of", "csv=p=0", path});
  return r.exit_code == 0 && !r.out.empty() ? std::atol(r.out.c_str()) : -1;
}

bool decodes_cleanly(const std::string& path) {
  const ProcessResult r = run_process({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "null", "-"});
  return r.exit_code == 0 && r.err.empty();
}

}  // namespace sarnik::test
