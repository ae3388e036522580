#include "ts/psi.hpp"

#include <algorithm>
#include <array>

namespace sarnik {
namespace {

constexpr std::uint8_t kTableIdPat = 0x00;
constexpr std::uint8_t kTableIdPmt = 0x02;
constexpr std::size_t kMaxSectionSize = 1024;  // 3 bytes, then section_length <= 1021

// CRC-32 of MPEG-2 sections: polynomial 0x04C11DB7, most significant bit
// first, no reflection, initial value all ones; 0 over a section with its CRC.
std::uint32_t section_crc(const std::uint8_t* p, std::size_t n) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i << 24;
      for (int k = 0; k < 8; ++k) c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : c << 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) crc = (crc << 8) ^ table[((crc >> 24) ^ p[i]) & 0xFF];
  return crc;
}

// The section's length in all, once its first 3 bytes are there.
std::size_t section_size(const std::vector<std::uint8_t>& s) {
  return 3 + (((s[1] & 0x0F) << 8) | s[2]);  // section_length
}

bool is_video_stream_type(std::uint8_t type) {
  // MPEG-1 and MPEG-2 video, MPEG-4 Visual, H.264, HEVC
  return type == 0x01 || type == 0x02 || type == 0x10 || type == 0x1B || type == 0x24;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SectionCollector::add(const TsPacket& packet) {
  if (!packet.has_payload) return std::nullopt;
  const bool follows = continuity_ >= 0 && packet.continuity_counter == ((continuity_ + 1) & 0xF);
  continuity_ = packet.continuity_counter;
  const std::uint8_t* p = packet.payload;
  std::size_t n = packet.payload_size;
  if (packet.payload_unit_start) {
    const std::size_t pointer = p[0];  // pointer_field: the rest of the section before
    if (1 + pointer > n) {
      collecting_ = false;
      return std::nullopt;
    }
    // Only the first section that starts in a packet is read; tables that
    // span several sections are not needed here.
    section_.clear();
    collecting_ = true;
    p += 1 + pointer;
    n -= 1 + pointer;
  } else if (!collecting_ || !follows) {
    collecting_ = false;
    return std::nullopt;
  }
  const std::size_t take = std::min(n, kMaxSectionSize - section_.size());
  section_.insert(section_.end(), p, p + take);
  if (section_.size() < 3) return std::nullopt;
  const std::size_t size = section_size(section_);
  if (size < 3 + 9 || size > kMaxSectionSize) {  // no room for the header and the CRC
    collecting_ = false;
    return std::nullopt;
  }
  if (section_.size() < size) return std::nullopt;
  collecting_ = false;
  section_.resize(size);
  if (section_crc(section_.data(), size) != 0) return std::nullopt;
  return section_;
}

std::optional<std::uint16_t> first_program_map_pid(const std::vector<std::uint8_t>& s) {
  if (s[0] != kTableIdPat) return std::nullopt;
  // After table_id, section_length, transport_stream_id, version,
  // section_number and last_section_number: 4-byte entries up to the CRC.
  for (std::size_t at = 8; at + 4 <= s.size() - 4; at += 4) {
    const unsigned program_number = (s[at] << 8) | s[at + 1];
    if (program_number == 0) continue;  // the network PID
    return static_cast<std::uint16_t>(((s[at + 2] & 0x1F) << 8) | s[at + 3]);
  }
  return std::nullopt;
}

std::optional<ProgramStreams> program_streams(const std::vector<std::uint8_t>& s) {
  if (s[0] != kTableIdPmt || s.size() < 16) return std::nullopt;
  const std::size_t end = s.size() - 4;  // the CRC
  // After the 8 bytes every section begins with: PCR_PID, program_info_length.
  const std::size_t program_info_length = ((s[10] & 0x0F) << 8) | s[11];
  ProgramStreams streams;
  streams.pcr_pid = static_cast<std::uint16_t>(((s[8] & 0x1F) << 8) | s[9]);
  for (std::size_t at = 12 + program_info_length; at + 5 <= end;) {
    const std::uint8_t stream_type = s[at];
    const auto pid = static_cast<std::uint16_t>(((s[at + 1] & 0x1F) << 8) | s[at + 2]);
    const std::size_t es_info_length = ((s[at + 3] & 0x0F) << 8) | s[at + 4];
    if (stream_type == kStreamTypeAdtsAac &&
        std::find(streams.audio_pids.begin(), streams.audio_pids.end(), pid) ==
            streams.audio_pids.end()) {
      streams.audio_pids.push_back(pid);
    } else if (is_video_stream_type(stream_type) && !streams.video_pid) {
      streams.video_pid = pid;
      streams.video_stream_type = stream_type;
    }
    at += 5 + es_info_length;
  }
  return streams;
}

}  // namespace sarnik
