// A silent AAC frame of a stream's configuration, built bit by bit.
#pragma once

#include <cstdint>
#include <vector>

namespace sarnik {

// An ADTS frame of one raw data block with the ID, profile, sampling
// frequency index and channel configuration of the frame whose header is
// at h (7 bytes): the syntax elements of the channel configuration (1 to
// 7), each an individual channel stream without spectral data (max_sfb 0),
// then END, byte-aligned. It decodes to 1024 samples of silence. Empty for
// a configuration it cannot stand for: channel configuration 0 (the
// channels are described in the stream itself), the reserved profile or a
// reserved sampling frequency index.
std::vector<std::uint8_t> silent_frame(const std::uint8_t* h);

}  // namespace sarnik
