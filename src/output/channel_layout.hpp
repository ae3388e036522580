// The layout of the channels for an output that starts where its input did
// not describe them.
#pragma once

#include <cstdint>
#include <vector>

#include "adts/input_file.hpp"

namespace sarnik {

// Frame `frame` of input, as the output's first frame: when the frame has
// channel configuration 0, no CRC and no program config element (PCE) of its
// own, the frame with the input's PCE nearest before it (else nearest after
// it) put in front of its raw data, its length field grown by the PCE's
// bytes. Every later frame of a configuration-0 stream is then decodable
// from the first on, since a decoder keeps the layout it was last given.
// Empty when the frame is to be copied as it stands: it needs no PCE, the
// input has none, or the frame would grow beyond the largest frame length.
// Reads the frames concerned from the input's file; a failed read stops
// through the error exit.
std::vector<std::uint8_t> with_channel_layout(InputFile& input, std::uint32_t frame);

}  // namespace sarnik
