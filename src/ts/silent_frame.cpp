#include "ts/silent_frame.hpp"

#include "adts/adts_header.hpp"

namespace sarnik {
namespace {

// Bits appended most significant first.
class BitWriter {
 public:
  void put(std::uint32_t value, unsigned width) {
    for (unsigned i = width; i-- > 0;) {
      if (bits_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> (bits_ % 8));
      ++bits_;
    }
  }
  // Pads with zero bits to the next byte.
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t bits_ = 0;
};

enum ElementId : std::uint32_t { kSce = 0, kCpe = 1, kLfe = 3, kEnd = 7 };

// The global gain of a channel without spectral data: any value decodes to
// silence; encoders write 100 for it.
constexpr std::uint32_t kGlobalGain = 100;

// individual_channel_stream with its own ics_info: a long window, no scale
// factor band (so no section, scale factor or spectral data), and no
// prediction, pulse, TNS or gain control data.
void put_silent_channel(BitWriter& w) {
  w.put(kGlobalGain, 8);  // global_gain
  w.put(0, 1);            // ics_reserved_bit
  w.put(0, 2);            // window_sequence: ONLY_LONG_SEQUENCE
  w.put(0, 1);            // window_shape
  w.put(0, 6);            // max_sfb
  w.put(0, 1);            // predictor_data_present
  w.put(0, 1);            // pulse_data_present
  w.put(0, 1);            // tns_data_present
  w.put(0, 1);            // gain_control_data_present
}

void put_element(BitWriter& w, ElementId id, std::uint32_t instance_tag) {
  w.put(id, 3);            // id_syn_ele
  w.put(instance_tag, 4);  // element_instance_tag
  if (id == kCpe) {
    w.put(0, 1);  // common_window: each channel has its own ics_info
    put_silent_channel(w);
  }
  put_silent_channel(w);
}

}  // namespace

std::vector<std::uint8_t> silent_frame(const std::uint8_t* h) {
  const AdtsHeader header = parse_adts_header(h);
  if (header.channel_config == 0 || header.profile == 3 || header.sampling_rate == 0) return {};

  // The elements of each channel configuration in stream order, tags
  // counted per element kind.
  static constexpr ElementId kLayouts[8][5] = {{},
                                               {kSce, kEnd},
                                               {kCpe, kEnd},
                                               {kSce, kCpe, kEnd},
                                               {kSce, kCpe, kSce, kEnd},
                                               {kSce, kCpe, kCpe, kEnd},
                                               {kSce, kCpe, kCpe, kLfe, kEnd},
                                               {kSce, kCpe, kCpe, kCpe, kLfe}};
  BitWriter w;
  std::uint32_t tags[8] = {};
  const ElementId* layout = kLayouts[header.channel_config];
  for (std::size_t i = 0; i < 5 && layout[i] != kEnd; ++i)
    put_element(w, layout[i], tags[layout[i]]++);
  w.put(kEnd, 3);
  std::vector<std::uint8_t> payload = w.take();

  // The stream's header with protection_absent set (no CRC), the new
  // aac_frame_length, a variable-rate buffer fullness (0x7FF) and one raw
  // data block.
  const auto length = static_cast<std::uint32_t>(kAdtsHeaderSize + payload.size());
  std::vector<std::uint8_t> frame(h, h + kAdtsHeaderSize);
  frame[1] |= 0x01;
  frame[3] = static_cast<std::uint8_t>((frame[3] & 0xFC) | (length >> 11));
  frame[4] = static_cast<std::uint8_t>(length >> 3);
  frame[5] = static_cast<std::uint8_t>(((length & 0x7) << 5) | 0x1F);
  frame[6] = 0xFC;
  frame.insert(frame.end(), payload.begin(), payload.end());
  return frame;
}

}  // namespace sarnik
