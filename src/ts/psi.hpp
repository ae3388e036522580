// The programme tables: the PAT names the first programme's PMT, the PMT
// its streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ts/ts_packet.hpp"

namespace sarnik {

inline constexpr std::uint16_t kPatPid = 0x0000;
inline constexpr std::uint8_t kStreamTypeAdtsAac = 0x0F;

struct ProgramStreams {
  std::optional<std::uint16_t> video_pid;  // the programme's first video stream
  std::uint8_t video_stream_type = 0;
  std::vector<std::uint16_t> audio_pids;  // its AAC (ADTS) streams, in the programme's order
  std::uint16_t pcr_pid = 0x1FFF;         // the packets that carry its clock (0x1FFF: none)
};

// Collects the sections of one table, carried by the packets of one PID,
// and hands on each complete section whose CRC holds.
class SectionCollector {
 public:
  // The section completed by this packet (the whole section, CRC included),
  // or nothing. A packet lost in the middle of a section loses the section.
  std::optional<std::vector<std::uint8_t>> add(const TsPacket& packet);

 private:
  std::vector<std::uint8_t> section_;
  bool collecting_ = false;
  int continuity_ = -1;
};

// The PID of the first programme's PMT (program_number other than 0) in a
// PAT section.
std::optional<std::uint16_t> first_program_map_pid(const std::vector<std::uint8_t>& section);

// The streams of a PMT section; nothing when it is no PMT.
std::optional<ProgramStreams> program_streams(const std::vector<std::uint8_t>& section);

}  // namespace sarnik
