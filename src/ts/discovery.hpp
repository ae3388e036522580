// What the start of a recording says before its audio is written: its
// first programme's streams, the first picture a decoder shows and where
// each audio stream starts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ts/psi.hpp"
#include "ts/ts_reader.hpp"

namespace sarnik {

struct StreamStart {
  std::int64_t pts = 0;                  // of the stream's first frame
  std::array<std::uint8_t, 7> header{};  // the first frame's ADTS header
};

struct Discovery {
  ProgramStreams streams;
  // The PTS that the delays count from: the picture of the first video PES
  // at a random access point; without video, the earliest audio start.
  std::int64_t reference = 0;
  std::vector<StreamStart> starts;  // in the programme's order
};

// Reads the recording from its start as far as it needs: up to the first
// programme's tables, then again from the start to where the picture and
// every stream's first frame are found. Stops through the
// error exit for a recording without a programme, without AAC audio, with
// an AAC stream without a frame, or with video but no picture to start
// from.
Discovery discover(TsInput& input, std::size_t block_size = kTsBlockSize);

// Whether the packet starts a video PES at a random access point: the
// random access indicator, else a picture a decoder can start from
// (starts_random_access_picture). Its PTS, if so.
std::optional<std::int64_t> random_access_pts(const TsPacket& packet, std::uint8_t stream_type);

}  // namespace sarnik
