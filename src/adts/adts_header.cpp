#include "adts/adts_header.hpp"

#include "adts/read_bits.hpp"

namespace sarnik {
namespace {

constexpr std::uint32_t kSamplingRates[16] = {96000, 88200, 64000, 48000, 44100, 32000,
                                              24000, 22050, 16000, 12000, 11025, 8000,
                                              0,     0,     0,     0};

std::uint32_t frame_length_of(const std::uint8_t* h) {
  return read_bits(h + 3, 6, 13);  // aac_frame_length, bits 30-42
}

}  // namespace

bool is_adts_header(const std::uint8_t* h) {
  // syncword (12 bits, all ones) and layer (2 bits, 00); the ID and the
  // protection_absent bits do not take part.
  if (h[0] != 0xFF || (h[1] & 0xF6) != 0xF0) return false;
  // A length shorter than the header would not move the scan forward.
  return frame_length_of(h) >= kAdtsHeaderSize;
}

AdtsHeader parse_adts_header(const std::uint8_t* h) {
  AdtsHeader header;
  header.mpeg_id = read_bits(h, 12, 1);                               // ID
  header.profile = read_bits(h, 16, 2);                               // profile_ObjectType
  header.sampling_rate = kSamplingRates[read_bits(h, 18, 4)];         // sampling_frequency_index
  header.channel_config = read_bits(h, 23, 3);                        // channel_configuration
  header.frame_length = frame_length_of(h);                           // aac_frame_length
  return header;
}

}  // namespace sarnik
