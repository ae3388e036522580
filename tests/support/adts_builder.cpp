#include "support/adts_builder.hpp"

#include <vector>

namespace sarnik::test {
namespace {

class BitWriter {
 public:
  void put(std::uint32_t value, unsigned width) {
    for (unsigned i = width; i-- > 0;) bits_.push_back((value >> i) & 1u);
  }
  std::string bytes() const {
    std::string out(bits_.size() / 8, '\0');
    for (std::size_t i = 0; i < bits_.size(); ++i) {
      if (bits_[i]) out[i / 8] = static_cast<char>(out[i / 8] | (0x80 >> (i % 8)));
    }
    return out;
  }

 private:
  std::vector<unsigned> bits_;
};

}  // namespace

std::string adts_header(const FrameSpec& shape) {
  BitWriter w;
  w.put(0xFFF, 12);                  // syncword
  w.put(shape.mpeg_id, 1);            // ID
  w.put(0, 2);                       // layer
  w.put(shape.protection_absent, 1);  // protection_absent
  w.put(shape.profile, 2);            // profile_ObjectType
  w.put(shape.sf_index, 4);           // sampling_frequency_index
  w.put(0, 1);                       // private_bit
  w.put(shape.channels, 3);           // channel_configuration
  w.put(0, 1);                       // original_copy
  w.put(0, 1);                       // home
  w.put(0, 1);                       // copyright_identification_bit
  w.put(0, 1);                       // copyright_identification_start
  w.put(shape.length, 13);            // aac_frame_length
  w.put(0x7FF, 11);                  // adts_buffer_fullness
  w.put(0, 2);                       // number_of_raw_data_blocks_in_frame
  return w.bytes();
}

std::string adts_frame(const FrameSpec& shape, std::uint32_t seed) {
  std::string frame = adts_header(shape);
  std::uint32_t x = seed * 2654435761u + 12345u;
  while (frame.size() < shape.length) {
    x = x * 1103515245u + 12345u;
    frame.push_back(static_cast<char>((x >> 16) % 255));  // 0x00-0xFE
  }
  return frame;
}

std::string adts_stream(std::uint32_t count, const FrameSpec& shape, std::uint32_t first_seed) {
  std::string out;
  out.reserve(static_cast<std::size_t>(count) * shape.length);
  for (std::uint32_t i = 0; i < count; ++i) out += adts_frame(shape, first_seed + i);
  return out;
}

}  // namespace sarnik::test
