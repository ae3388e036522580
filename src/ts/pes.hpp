// The header of a PES packet, as it stands at the start of the payload of
// the TS packet that starts it; and the 33-bit clock of its time stamps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace sarnik {

// Ticks of the 90 kHz clock in one second, and the clock's range.
inline constexpr std::int64_t kClockRate = 90000;
inline constexpr std::int64_t kClockWrap = std::int64_t{1} << 33;

struct PesHeader {
  std::optional<std::int64_t> pts;  // PTS, 33 bits
  std::size_t payload_offset = 0;   // where the elementary stream's bytes begin
};

// The header at p (n bytes, all in one TS packet); nothing when none stands
// there or it runs past n.
std::optional<PesHeader> parse_pes_header(const std::uint8_t* p, std::size_t n);

// b - a on the 33-bit clock: the difference in [-2^32, 2^32), so that a
// clock that wrapped around between a and b counts on.
constexpr std::int64_t clock_difference(std::int64_t a, std::int64_t b) {
  const std::int64_t d = (b - a) & (kClockWrap - 1);
  return d >= kClockWrap / 2 ? d - kClockWrap : d;
}

// Whether a PES of a video stream of this stream_type, with this payload,
// begins a picture that a decoder can start from: a sequence header
// (MPEG-1, MPEG-2), an IDR picture or sequence parameter set (H.264), an
// IRAP picture or parameter set (HEVC), found among the payload's start
// codes.
bool starts_random_access_picture(std::uint8_t stream_type, const std::uint8_t* p, std::size_t n);

}  // namespace sarnik
