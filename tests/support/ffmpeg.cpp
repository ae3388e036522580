#include "support/ffmpeg.hpp"

#include <stdexcept>

#include "support/process.hpp"

namespace sarnik::test {

void encode_adts(const std::string& path, double seconds, const std::string& layout,
                 int sample_rate) {
  const std::string source = "sine=frequency=440:sample_rate=" + std::to_string(sample_rate) +
                             ":duration=" + std::to_string(seconds);
  const ProcessResult r = run_process(
      {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
       source, "-af", "aformat=channel_layouts=" + layout, "-c:a", "aac", "-b:a", "128k", "-f",
       "adts", path});
  if (r.exit_code != 0) throw std::runtime_error("ffmpeg could not encode: " + r.err);
}

long count_packets(const std::string& path) {
  const ProcessResult r = run_process({"ffprobe", "-v", "error", "-select_streams", "a:0",
                                       "-count_packets", "-show_entries", "stream=nb_read_packets",
                                       "-of", "csv=p=0", path});
  if (r.exit_code != 0) return -1;
  try {
    return std::stol(r.out);
  } catch (const std::exception&) {
    return -1;
  }
}

bool decodes_cleanly(const std::string& path) {
  const ProcessResult r = run_process(
      {"ffmpeg", "-nostdin", "-hide_banner", "-v", "error", "-i", path, "-f", "null", "-"});
  return r.exit_code == 0 && r.err.empty();
}

}  // namespace sarnik::test
