// Real AAC audio for the tests: ffmpeg encodes ADTS streams from test
// sources and probes what the program wrote.
#pragma once

#include <string>

namespace sarnik::test {

// Encodes seconds of a sine tone as AAC LC in ADTS at 48 kHz with the given
// channel layout ("mono", "stereo", "5.1") into path. Throws on failure.
void encode_adts(const std::string& path, double seconds, const std::string& layout,
                 int sample_rate = 48000);

// The number of audio packets ffprobe counts in path; -1 when it fails.
long count_packets(const std::string& path);

// Decodes path completely; true when ffmpeg reports no error at all.
bool decodes_cleanly(const std::string& path);

}  // namespace sarnik::test
