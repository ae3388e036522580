#include "ts/demux.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "adts/adts_header.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "platform/file.hpp"
#include "platform/names.hpp"
#include "ts/adts_depacketizer.hpp"
#include "ts/discovery.hpp"
#include "ts/outputs.hpp"
#include "ts/pes.hpp"
#include "ts/silent_frame.hpp"
#include "ts/timeline.hpp"

namespace sarnik {
namespace {

class FileInput final : public TsInput {
 public:
  explicit FileInput(platform::File& file) : file_(file) {}
  bool read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override {
    return file_.read(buffer, n, got);
  }
  bool rewind() override { return file_.seek(0); }

 private:
  platform::File& file_;
};

// A frame of 1024 samples, in clock ticks times the sampling rate.
constexpr std::int64_t kFrameTicksTimesRate = kSamplesPerFrame * kClockRate;

// The file of the n-th audio stream (from 1) of the recording: its name
// without folders and extension, then " audio<n> DELAY <delay>ms.aac".
std::string demux_output_name(std::string_view recording, std::size_t n, std::int64_t delay_ms) {
  std::string_view stem = platform::file_part(recording);
  const std::size_t dot = stem.rfind('.');
  if (dot != std::string_view::npos && dot > 0) stem = stem.substr(0, dot);
  return std::string(stem) + " audio" + std::to_string(n) + " DELAY " + std::to_string(delay_ms) +
         "ms.aac";
}

// value / unit, halves rounded away from zero (unit > 0).
std::int64_t divide_rounded(std::int64_t value, std::int64_t unit) {
  const std::int64_t quotient = (2 * std::llabs(value) + unit) / (2 * unit);
  return value < 0 ? -quotient : quotient;
}

// ticks of the 90 kHz clock in milliseconds.
std::int64_t ticks_to_ms(std::int64_t ticks) { return divide_rounded(ticks, 90); }

// How an audio stream starts in its file.
struct StreamPlan {
  std::uint32_t sampling_rate = 0;
  std::int64_t leading_frames = 0;  // silent frames before the first
  std::int64_t delay_ms = 0;        // of the file's first frame against the reference
  std::string name;
};

StreamPlan plan_stream(const Discovery& d, std::size_t i, std::string_view recording) {
  const StreamStart& start = d.starts[i];
  StreamPlan plan;
  plan.sampling_rate = parse_adts_header(start.header.data()).sampling_rate;
  if (plan.sampling_rate == 0) fail_and_exit(Msg::ts_cannot_fill);
  const std::int64_t rate = plan.sampling_rate;
  // A stream that starts after the picture is brought to within a frame
  // before it.
  const std::int64_t late = clock_difference(d.reference, start.pts) * rate;
  if (late > 0) {
    plan.leading_frames = (late + kFrameTicksTimesRate - 1) / kFrameTicksTimesRate;
    if (plan.leading_frames * kSamplesPerFrame > kMaxFillSeconds * rate) {
      fail_and_exit(Msg::ts_gap_too_long);
    }
  }
  const std::int64_t remaining = late - plan.leading_frames * kFrameTicksTimesRate;
  // remaining is in ticks times the rate.
  plan.delay_ms = divide_rounded(remaining, 90 * rate);
  plan.name = demux_output_name(recording, i + 1, plan.delay_ms);
  return plan;
}

struct Gap {
  std::int64_t at_ms = 0;  // against the reference
  std::uint32_t frames = 0;
};

// One stream's frames into its file: the leading silence, each frame as it
// stands, and silence wherever the clock shows a gap.
class StreamWriter final : public FrameSink {
 public:
  StreamWriter(const StreamPlan& plan, const StreamStart& start, std::int64_t reference,
               DemuxOutputs& outputs, std::size_t index)
      : plan_(plan),
        timeline_(plan.sampling_rate),
        reference_(start.pts + clock_difference(start.pts, reference)),
        outputs_(outputs),
        index_(index) {}

  void frame(const AudioFrame& frame) override {
    const std::uint8_t* h = frame.data;
    if (frames_ == 0) put_silence(h, static_cast<std::uint32_t>(plan_.leading_frames));
    // number_of_raw_data_blocks_in_frame, bits 54-55: one block less.
    const std::int64_t samples = kSamplesPerFrame * (read_bits(h + 3, 30, 2) + 1);
    const Placement placement = timeline_.place(frame.pts, frame.clock_jump, samples);
    if (placement.silent_frames > 0) {
      gaps_.push_back({ticks_to_ms(placement.gap_start - reference_), placement.silent_frames});
      put_silence(last_header_.data(), placement.silent_frames);
    }
    std::copy_n(h, kAdtsHeaderSize, last_header_.begin());
    outputs_.write(index_, frame.data, frame.size);
    ++frames_;
  }

  std::uint64_t frames() const { return frames_; }
  const std::vector<Gap>& gaps() const { return gaps_; }

 private:
  // count silent frames of the configuration of the frame whose header is
  // at h, which must have the stream's sampling rate.
  void put_silence(const std::uint8_t* h, std::uint32_t count) {
    if (count == 0) return;
    // ID, layer, protection, profile, sampling frequency index, private
    // bit and channel configuration: what a silent frame copies.
    const std::uint32_t configuration = read_bits(h, 12, 14);
    if (silent_.empty() || configuration != silent_configuration_) {
      if (parse_adts_header(h).sampling_rate != plan_.sampling_rate) {
        fail_and_exit(Msg::ts_cannot_fill);
      }
      silent_ = silent_frame(h);
      if (silent_.empty()) fail_and_exit(Msg::ts_cannot_fill);
      silent_configuration_ = configuration;
    }
    for (std::uint32_t k = 0; k < count; ++k)
      outputs_.write(index_, silent_.data(), silent_.size());
    frames_ += count;
  }

  const StreamPlan& plan_;
  Timeline timeline_;
  const std::int64_t reference_;  // the reference on this stream's clock
  DemuxOutputs& outputs_;
  const std::size_t index_;
  std::array<std::uint8_t, kAdtsHeaderSize> last_header_{};
  std::vector<std::uint8_t> silent_;
  std::uint32_t silent_configuration_ = 0;
  std::uint64_t frames_ = 0;
  std::vector<Gap> gaps_;
};

// "-1.234": milliseconds as seconds.
std::string seconds_text(std::int64_t ms) {
  const std::int64_t magnitude = std::llabs(ms);
  const std::string fraction = std::to_string(1000 + magnitude % 1000);  // "1" and 3 digits
  std::string text = ms < 0 ? "-" : "";
  text += std::to_string(magnitude / 1000);
  text += '.';
  text += fraction.substr(1);
  return text;
}

void print_line(const StreamPlan& plan, const StreamWriter& writer, Console& console) {
  console.out(Msg::ts_stream_frames, {FileName{plan.name}, writer.frames()});
  if (plan.leading_frames > 0) {
    console.out(Msg::ts_lead_filled, {static_cast<std::uint32_t>(plan.leading_frames)});
  }
  for (const Gap& gap : writer.gaps()) {
    console.out(Msg::ts_gap_filled, {seconds_text(gap.at_ms), gap.frames});
  }
  console.out(Msg::newline);
}

}  // namespace

void demux_recording(const std::string& recording, Console& console) {
  platform::File input;
  if (!input.open_read(recording.c_str())) fail_and_exit(Msg::ts_read_failed);
  FileInput source(input);
  const Discovery d = discover(source);

  std::vector<StreamPlan> plans;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < d.starts.size(); ++i) {
    plans.push_back(plan_stream(d, i, recording));
    names.push_back(plans.back().name);
  }
  // The audio is read from the start again: what the first passes read is
  // not kept.
  if (!source.rewind()) fail_and_exit(Msg::ts_read_failed);
  DemuxOutputs outputs(names);
  std::vector<StreamWriter> writers;
  writers.reserve(plans.size());
  // Index into writers, kClockPid for the programme's clock, -1 for other PIDs.
  constexpr std::int16_t kClockPid = -2;
  std::array<std::int16_t, 8192> stream_of_pid;
  stream_of_pid.fill(-1);
  stream_of_pid[d.streams.pcr_pid] = kClockPid;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    writers.emplace_back(plans[i], d.starts[i], d.reference, outputs, i);
    stream_of_pid[d.streams.audio_pids[i]] = static_cast<std::int16_t>(i);
  }
  std::vector<AdtsDepacketizer> depacketizers(plans.size());

  // Only the audio packets are parsed.
  TsReader reader(source);
  TsPacket packet;
  while (const std::uint8_t* p = reader.next_bytes()) {
    const std::int16_t i = stream_of_pid[((p[1] & 0x1F) << 8) | p[2]];  // PID
    if (i == -1 || !parse_ts_packet(p, packet)) continue;
    if (packet.transport_error) continue;
    if (i == kClockPid) {
      if (packet.discontinuity) {
        for (AdtsDepacketizer& depacketizer : depacketizers) depacketizer.clock_set_anew();
      }
      continue;
    }
    const auto k = static_cast<std::size_t>(i);
    depacketizers[k].add(packet, writers[k]);
  }
  // The files are kept only once they are closed and their lines written.
  outputs.close_all();
  for (std::size_t i = 0; i < plans.size(); ++i) print_line(plans[i], writers[i], console);
  console.flush();
  if (!console.output_ok()) fail_and_exit(Msg::console_write_failed);
  outputs.keep();
}

}  // namespace sarnik
