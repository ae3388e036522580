#include "adts/program_config.hpp"

namespace sarnik {
namespace {

// Reads bit fields from the most significant bit of raw[0] on. A read past
// the end yields zeros and is remembered.
class BitReader {
 public:
  BitReader(const std::uint8_t* raw, std::size_t size)
      : raw_(raw), size_bits_(std::uint64_t{size} * 8) {}

  std::uint32_t take(unsigned width) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < width; ++i, ++position_) {
      const std::uint32_t bit =
          position_ < size_bits_ ? (raw_[position_ / 8] >> (7 - position_ % 8)) & 1 : 0;
      value = value << 1 | bit;
    }
    return value;
  }
  void skip(std::uint64_t bits) { position_ += bits; }
  void align_to_byte() { position_ = (position_ + 7) / 8 * 8; }
  bool past_end() const { return position_ > size_bits_; }
  std::uint64_t bytes_read() const { return position_ / 8; }

 private:
  const std::uint8_t* raw_;
  std::uint64_t size_bits_;
  std::uint64_t position_ = 0;
};

}  // namespace

std::uint32_t program_config_length(const std::uint8_t* raw, std::size_t size) {
  BitReader bits(raw, size);
  if (bits.take(3) != kPceElementId) return 0;  // id_syn_ele
  bits.skip(4 + 2 + 4);  // element_instance_tag, object_type, sampling_frequency_index
  const std::uint32_t front = bits.take(4);  // num_front_channel_elements
  const std::uint32_t side = bits.take(4);   // num_side_channel_elements
  const std::uint32_t back = bits.take(4);   // num_back_channel_elements
  const std::uint32_t lfe = bits.take(2);    // num_lfe_channel_elements
  const std::uint32_t assoc = bits.take(3);  // num_assoc_data_elements
  const std::uint32_t cc = bits.take(4);     // num_valid_cc_elements
  if (bits.take(1) != 0) bits.skip(4);       // mono_mixdown_present, its element number
  if (bits.take(1) != 0) bits.skip(4);       // stereo_mixdown_present, its element number
  if (bits.take(1) != 0)
    bits.skip(2 + 1);  // matrix_mixdown_idx_present, the index, pseudo surround
  // Each front, side and back element: is_cpe and its tag; each LFE and
  // data element: its tag; each coupling element: is_ind_sw and its tag.
  bits.skip(5 * (front + side + back) + 4 * (lfe + assoc) + 5 * cc);
  bits.align_to_byte();                        // byte_alignment()
  bits.skip(8 * std::uint64_t{bits.take(8)});  // comment_field_bytes, the comment
  return bits.past_end() ? 0 : static_cast<std::uint32_t>(bits.bytes_read());
}

}  // namespace sarnik
