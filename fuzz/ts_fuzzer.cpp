// The recording's reader over arbitrary bytes: the error exit, or packets, tables and frames that
// keep every promise: whole ADTS frames as their headers say, silent frames of their configuration,
// gaps within the limit.
#include <algorithm>
#include <map>

#include "adts/adts_header.hpp"
#include "support/product.hpp"
#include "ts/adts_depacketizer.hpp"
#include "ts/discovery.hpp"
#include "ts/silent_frame.hpp"
#include "ts/timeline.hpp"

namespace sarnik {
namespace {

struct Bytes final : TsInput {
  Bytes(const std::uint8_t* d, std::size_t n) : start(d), size(n), data(d), left(n) {}
  bool read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override {
    got = std::min(n, left);
    std::copy_n(data, got, buffer);
    data += got, left -= got;
    return true;
  }
  bool rewind() override {
    data = start, left = size;
    return true;
  }
  const std::uint8_t* start;
  std::size_t size;
  const std::uint8_t* data;
  std::size_t left;
};

struct Check final : FrameSink {
  void frame(const AudioFrame& f) override {
    FUZZ_CHECK(f.size >= kAdtsHeaderSize && is_adts_header(f.data) &&
               adts_frame_length(f.data) == f.size);
    const std::vector<std::uint8_t> silent = silent_frame(f.data);
    const AdtsHeader h = parse_adts_header(f.data);
    FUZZ_CHECK(silent.empty() == (h.channel_config == 0 || h.profile == 3 || !h.sampling_rate));
    if (!silent.empty()) {
      const AdtsHeader s = parse_adts_header(silent.data());
      FUZZ_CHECK(s.frame_length == silent.size() && s.channel_config == h.channel_config &&
                 s.sampling_rate == h.sampling_rate && s.profile == h.profile);
    }
    const std::uint32_t filled = timeline.place(f.pts, f.clock_jump, 1024).silent_frames;
    FUZZ_CHECK(filled * 1024ull <= kMaxFillSeconds * 48000);
  }
  Timeline timeline{48000};
};

void read_recording(const std::uint8_t* data, std::size_t size) {
  try {
    Bytes input(data, size);
    const Discovery d = discover(input, kTsBlockUnit);  // blocks end inside the input
    FUZZ_CHECK(!d.streams.audio_pids.empty() && d.starts.size() == d.streams.audio_pids.size());
  } catch (const FatalError&) {
  }
  try {
    Bytes input(data, size);
    TsReader reader(input, kTsBlockUnit);
    std::map<std::uint16_t, std::pair<AdtsDepacketizer, Check>> streams;
    for (TsPacket p; reader.next(p);) {
      FUZZ_CHECK(p.pid < 8192 && (p.has_payload ? p.payload_size > 0 && p.payload_size <= 184
                                                : p.payload == nullptr));
      auto& [depacketizer, check] = streams[p.pid];
      depacketizer.add(p, check);
    }
  } catch (const FatalError& e) {
    FUZZ_CHECK(e.message == Msg::not_ts || e.message == Msg::ts_gap_too_long);
  }
}

}  // namespace
}  // namespace sarnik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sarnik::read_recording(data, size);
  return 0;
}
