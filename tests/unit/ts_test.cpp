// Silent frames of each configuration as ffmpeg decodes them; the clock's verdict on each frame.
#include <gtest/gtest.h>

#include "common/fail.hpp"
#include "support/support.hpp"
#include "ts/adts_depacketizer.hpp"
#include "ts/silent_frame.hpp"
#include "ts/timeline.hpp"

namespace sarnik {
namespace {

TEST(Ts, SilentFramesDecodeToSilence) {
  const struct {
    test::FrameSpec stream;
    std::size_t channels;  // decoded; 0: no silent frame
  } cases[] = {
      {{.channels = 1}, 1},
      {{.channels = 2}, 2},
      {{.channels = 3}, 3},
      {{.channels = 4}, 4},
      {{.channels = 5}, 5},
      {{.channels = 6}, 6},
      {{.channels = 7}, 8},
      {{.sf_index = 4, .mpeg_id = 1, .profile = 0, .channels = 2}, 2},  // MPEG-2 Main, 44100 Hz
      {{.channels = 0}, 0},
      {{.profile = 3}, 0},
      {{.sf_index = 13}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channels);
    const std::string header = test::adts_frame(c.stream);
    const std::vector<std::uint8_t> frame =
        silent_frame(reinterpret_cast<const std::uint8_t*>(header.data()));
    EXPECT_EQ(frame.empty(), c.channels == 0);
    if (frame.empty()) continue;
    const test::TempDir dir;
    std::string frames;
    for (int i = 0; i < 10; ++i) frames.append(frame.begin(), frame.end());
    dir.write("s.aac", frames);
    EXPECT_EQ(test::run_shell("ffmpeg -nostdin -v error -i s.aac -f s16le s.pcm", dir.path).err,
              "");
    // 10 frames of 1024 samples of each channel, 2 bytes each, all 0.
    EXPECT_EQ(test::read_file(dir.file("s.pcm")), std::string(10 * 1024 * 2 * c.channels, '\0'));
  }
}

// Frames split over PES packets keep their bytes; a PTS goes to the first frame that starts in its
// PES; a lost packet loses the frame in hand and what follows up to the next PES with a PTS.
TEST(Ts, PesPacketsToFrames) {
  struct Sink final : FrameSink {
    void frame(const AudioFrame& f) override {
      frames.emplace_back(std::string(reinterpret_cast<const char*>(f.data), f.size),
                          f.pts.value_or(-1));
    }
    std::vector<std::pair<std::string, std::int64_t>> frames;
  } sink;
  std::string a = test::adts_frame({60}, 1), b = test::adts_frame({60}, 2),
              c = test::adts_frame({60}, 3), d = test::adts_frame({60}, 4);
  // A PES header with a PTS of 3 * 2^30 + 5 (bits 32-30, 29-15, 14-0, each followed by a 1).
  const std::string pes = std::string("\0\0\1\xC0\0\0\x80\x80\x05\x07\0\x01\0\x0B", 14);
  const struct {
    std::uint8_t counter;
    bool start;
    std::string payload;
  } packets[] = {{0, true, pes + a + b.substr(0, 30)},
                 {1, false, b.substr(30)},
                 {2, true, pes + c.substr(0, 30)},
                 {4, false, c.substr(30) + a},
                 {5, true, pes + d},
                 {5, true, pes + d}};  // sent twice
  AdtsDepacketizer depacketizer;
  for (const auto& p : packets) {
    TsPacket packet{.pid = 0x101,
                    .payload_unit_start = p.start,
                    .continuity_counter = p.counter,
                    .has_payload = true};
    packet.payload = reinterpret_cast<const std::uint8_t*>(p.payload.data());
    packet.payload_size = p.payload.size();
    depacketizer.add(packet, sink);
  }
  const std::int64_t pts = 3LL * (1 << 30) + 5;
  EXPECT_EQ(sink.frames, (decltype(sink.frames){{a, pts}, {b, -1}, {d, pts}}));
}

TEST(Ts, ClockToSilentFrames) {
  constexpr std::int64_t F = 1920;  // a frame at 48000 Hz in 90 kHz ticks
  constexpr std::int64_t kWrap = std::int64_t{1} << 33;
  struct Frame {
    std::optional<std::int64_t> pts;
    std::uint32_t filled = 0;  // expected before the frame
    bool jump = false;
  };
  const std::vector<Frame> cases[] = {
      {{0}, {F}, {std::nullopt}, {3 * F}},                 // frames that carry no PTS count
      {{0}, {5 * F, 4}, {6 * F}, {8 * F + F / 2 - 1, 1}},  // to the nearest frame
      {{0}, {2 * F + F / 2 + 1, 2}, {3 * F + F / 2 + 1}},  // and then on from the PTS
      {{kWrap - F}, {0}, {3 * F, 2}},                      // across the 33-bit wrap
      {{100 * F}, {50 * F}, {51 * F}, {53 * F, 1}},        // backwards: counted anew
      {{0}, {9000 * F, 0, true}, {9001 * F}},              // a discontinuity
      {{0}, {F + 10 * 90000 - F / 2, 468}},                // 10 s
      {{0}, {F + 10 * 90000 + F, 0}},                      // more: the error exit
  };
  for (const auto& frames : cases) {
    SCOPED_TRACE(*frames[1].pts);
    Timeline timeline(48000);
    std::vector<std::uint32_t> filled, expected;
    try {
      for (const Frame& f : frames) {
        expected.push_back(f.filled);
        filled.push_back(timeline.place(f.pts, f.jump, 1024).silent_frames);
      }
    } catch (const FatalError& e) {
      EXPECT_EQ(e.message, Msg::ts_gap_too_long);
      filled.push_back(0);
    }
    EXPECT_EQ(filled, expected);
  }
}

}  // namespace
}  // namespace sarnik
