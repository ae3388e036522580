// AAC raw data built bit by bit: program config elements (PCE), and dual-mono ADTS frames put
// together from two mono ffmpeg encodes (main 440 Hz, sub 1 kHz).
#pragma once

#include "support/support.hpp"

namespace sarnik::test {

struct Bits {  // from the most significant bit of each byte on
  std::string bytes;
  std::size_t size = 0;
  Bits& put(std::uint32_t value, int width) {
    for (; width-- > 0; ++size) {
      if (size % 8 == 0) bytes.push_back(0);
      bytes.back() = static_cast<char>(bytes.back() | (value >> width & 1) << (7 - size % 8));
    }
    return *this;
  }
};
inline int bit(std::string_view s, std::size_t i) { return s[i / 8] >> (7 - i % 8) & 1; }

// LC at 48000 Hz; counts of front, side, back, LFE, data and coupling elements (each tagged 0,
// 1, ...; no pairs); the three mixdown flags.
struct PceShape {
  std::uint32_t counts[6] = {2};
  bool mixdowns = false;
  std::string comment;
};
inline std::string pce(const PceShape& s) {
  Bits b;
  b.put(5, 3).put(0, 4).put(1, 2).put(3, 4);
  for (int i = 0; i < 6; ++i) b.put(s.counts[i], i == 3 ? 2 : i == 4 ? 3 : 4);
  for (const int width : {4, 4, 3}) b.put(s.mixdowns, 1).put(0, s.mixdowns * width);
  for (int i = 0; i < 6; ++i)
    for (std::uint32_t tag = 0; tag < s.counts[i]; ++tag) b.put(tag, i == 3 || i == 4 ? 4 : 5);
  b.put(0, (8 - b.size % 8) % 8).put(static_cast<std::uint32_t>(s.comment.size()), 8);
  return b.bytes + s.comment;
}

struct DualMono {
  std::vector<std::string> main, sub;  // raw data of the encodes' frames
  // Frame k: a PCE whose comment is the number pce_of unless that is -1, main's single channel
  // element, sub's tagged 1, END; a (never checked) CRC when crc.
  std::string frame(std::size_t k, int pce_of = -1, bool crc = false) const {
    Bits raw{pce_of < 0 ? "" : pce({.comment = std::to_string(pce_of)})};
    raw.size = raw.bytes.size() * 8;
    for (const std::string* mono : {&main[k], &sub[k]}) {
      std::size_t end = mono->size() * 8 - 3;  // its END (111) ends at its last bit set
      while (!bit(*mono, end + 2)) --end;
      raw.put(0, 3).put(mono == &sub[k], 4);
      for (std::size_t i = 7; i < end; ++i) raw.put(bit(*mono, i), 1);
    }
    raw.put(7, 3);
    const std::uint32_t length = (crc ? 9u : 7u) + static_cast<std::uint32_t>(raw.bytes.size());
    std::string header = adts_frame({.length = length, .channels = 0});
    header[1] = static_cast<char>(header[1] & (crc ? 0xFE : 0xFF));
    return header.substr(0, crc ? 9 : 7) + raw.bytes;
  }
  // Frames [first, end), every 25th from frame 5 on with a PCE and without a CRC when pces.
  std::string frames(std::size_t first, std::size_t end, bool pces = true, bool crc = false) const {
    std::string out;
    for (; first < end; ++first) {
      const bool with_pce = pces && first % 25 == 5;
      out += frame(first, with_pce ? static_cast<int>(first) : -1, crc && !with_pce);
    }
    return out;
  }
};

// Two mono encodes of 4 s, made once: the raw data of their frames that open with a single channel
// element (not the first, which opens with a fill element naming the encoder).
inline const DualMono& dual_mono() {
  static const DualMono made = [] {
    const TempDir dir;
    DualMono d;
    for (auto [tone, raw] : {std::pair{"440", &d.main}, {"1000", &d.sub}}) {
      run_shell("ffmpeg -nostdin -v error -f lavfi -i sine=" + std::string(tone) +
                    ":sample_rate=48000:duration=4 -c:a aac -f adts a.aac",
                dir.path);
      const std::string bytes = read_file(dir.file("a.aac"));
      for (std::size_t at = 0, length; at + 7 <= bytes.size(); at += length) {
        length =
            (bytes[at + 3] & 3) << 11 | (bytes[at + 4] & 0xFF) << 3 | (bytes[at + 5] & 0xFF) >> 5;
        if ((bytes[at + 7] & 0xE0) == 0) raw->push_back(bytes.substr(at + 7, length - 7));
      }
    }
    return d;
  }();
  return made;
}

}  // namespace sarnik::test
