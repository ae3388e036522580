#include "ts/discovery.hpp"

#include <algorithm>
#include <optional>

#include "common/fail.hpp"
#include "ts/adts_depacketizer.hpp"
#include "ts/pes.hpp"

namespace sarnik {
namespace {

// Keeps the first frame of a stream.
class FirstFrame final : public FrameSink {
 public:
  void frame(const AudioFrame& frame) override {
    if (start || !frame.pts) return;
    start = StreamStart{*frame.pts, {}};
    std::copy_n(frame.data, start->header.size(), start->header.begin());
  }
  std::optional<StreamStart> start;
};

}  // namespace

std::optional<std::int64_t> random_access_pts(const TsPacket& packet, std::uint8_t stream_type) {
  if (!packet.payload_unit_start || !packet.has_payload) return std::nullopt;
  const std::optional<PesHeader> header = parse_pes_header(packet.payload, packet.payload_size);
  if (!header || !header->pts) return std::nullopt;
  if (packet.random_access ||
      starts_random_access_picture(stream_type, packet.payload + header->payload_offset,
                                   packet.payload_size - header->payload_offset)) {
    return header->pts;
  }
  return std::nullopt;
}

namespace {

// The first programme's streams, from the tables at the start of the
// recording.
ProgramStreams program_of(TsInput& input, std::size_t block_size) {
  TsReader reader(input, block_size);
  SectionCollector pat, pmt;
  std::optional<std::uint16_t> pmt_pid;
  TsPacket packet;
  while (reader.next(packet)) {
    if (packet.transport_error) continue;
    if (packet.pid == kPatPid) {
      if (const auto section = pat.add(packet)) pmt_pid = first_program_map_pid(*section);
    } else if (pmt_pid && packet.pid == *pmt_pid) {
      const auto section = pmt.add(packet);
      if (const auto streams = section ? program_streams(*section) : std::nullopt) {
        if (streams->audio_pids.empty()) fail_and_exit(Msg::ts_no_aac);
        return *streams;
      }
    }
  }
  fail_and_exit(Msg::ts_no_program);
}

}  // namespace

Discovery discover(TsInput& input, std::size_t block_size) {
  Discovery d;
  d.streams = program_of(input, block_size);
  const ProgramStreams& streams = d.streams;
  // The streams' packets are taken from the first on, also those before the
  // tables: the recording starts wherever its writer started.
  if (!input.rewind()) fail_and_exit(Msg::ts_read_failed);
  TsReader reader(input, block_size);
  std::optional<std::int64_t> picture;
  std::vector<AdtsDepacketizer> depacketizers(streams.audio_pids.size());
  std::vector<FirstFrame> firsts(streams.audio_pids.size());
  TsPacket packet;
  while (reader.next(packet)) {
    if (packet.transport_error) continue;
    if (packet.pid == streams.video_pid) {
      if (!picture) picture = random_access_pts(packet, streams.video_stream_type);
    } else {
      const auto at = std::find(streams.audio_pids.begin(), streams.audio_pids.end(), packet.pid);
      if (at == streams.audio_pids.end()) continue;
      const auto i = static_cast<std::size_t>(at - streams.audio_pids.begin());
      if (!firsts[i].start) depacketizers[i].add(packet, firsts[i]);
    }
    const bool all_started = std::all_of(firsts.begin(), firsts.end(),
                                         [](const FirstFrame& f) { return f.start.has_value(); });
    if (all_started && (picture || !streams.video_pid)) break;
  }

  for (std::size_t i = 0; i < firsts.size(); ++i) {
    if (!firsts[i].start)
      fail_and_exit(Msg::ts_no_audio_frames, static_cast<std::int32_t>(i + 1), false);
    d.starts.push_back(*firsts[i].start);
  }
  if (streams.video_pid && !picture) fail_and_exit(Msg::ts_no_picture);
  if (picture) {
    d.reference = *picture;
  } else {
    d.reference = d.starts.front().pts;
    for (const StreamStart& s : d.starts) {
      if (clock_difference(d.reference, s.pts) < 0) d.reference = s.pts;
    }
  }
  return d;
}

}  // namespace sarnik
