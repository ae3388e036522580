// The scanner on synthesized streams, through a memory source, so that every
// block-boundary rule can be placed exactly.
#include <gtest/gtest.h>

#include <cstring>

#include "adts/adts_header.hpp"
#include "adts/scanner.hpp"
#include "common/fail.hpp"
#include "support/adts_builder.hpp"
#include "support/captured_console.hpp"
#include "support/sjis.hpp"

namespace sarnik {
namespace {

using test::adts_frame;
using test::adts_stream;
using test::FrameSpec;

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  const std::uint8_t* view(std::uint64_t offset, std::size_t n) override {
    ++reads;
    if (fail_after_reads >= 0 && reads > fail_after_reads) return nullptr;
    if (offset > bytes_.size() || n > bytes_.size() - offset) return nullptr;
    return reinterpret_cast<const std::uint8_t*>(bytes_.data()) + offset;
  }
  int reads = 0;
  int fail_after_reads = -1;

 private:
  std::string bytes_;
};

struct Scanned {
  ScanResult status = ScanResult::clean;
  AdtsInput input;
  std::string out;
  std::string error;  // the error exit's message, empty when the scan succeeded
};

Scanned scan(const std::string& bytes, std::uint64_t size_override = 0, int fail_after_reads = -1) {
  MemorySource source(bytes);
  source.fail_after_reads = fail_after_reads;
  Scanned s;
  test::CapturedConsole captured;
  try {
    s.status = scan_adts_stream(source, size_override ? size_override : bytes.size(), s.input,
                                captured.console);
  } catch (const FatalError& e) {
    s.error = std::string(text(e.message));
  }
  s.out = captured.out();
  return s;
}

// The offsets of count frames of one length packed one after another.
Table<std::uint32_t> packed(std::uint32_t count, std::uint32_t length) {
  Table<std::uint32_t> offsets;
  for (std::uint32_t k = 0; k <= count; ++k) offsets.push_back(k * length);
  return offsets;
}

std::string warning(unsigned n) {
  return test::sjis(std::to_string(n) + " フレーム目のヘッダー情報が正しくありません。\n");
}

const std::string kNotAdts = test::sjis("AAC ADTS ファイルではありません。");

TEST(ReadBits, FieldsInBitstreamOrder) {
  const std::uint8_t bytes[4] = {0xFF, 0xF1, 0x50, 0x80};
  EXPECT_EQ(read_bits(bytes, 0, 12), 0xFFFu);
  EXPECT_EQ(read_bits(bytes, 12, 1), 0u);
  EXPECT_EQ(read_bits(bytes, 15, 1), 1u);
  EXPECT_EQ(read_bits(bytes, 16, 2), 1u);
  EXPECT_EQ(read_bits(bytes, 18, 4), 4u);
  EXPECT_EQ(read_bits(bytes, 23, 3), 2u);
  EXPECT_EQ(read_bits(bytes, 0, 32), 0xFFF15080u);
}

TEST(Scanner, CleanStreamOffsetsAreFilePositions) {
  // Frames of varying length over several blocks, so that frames straddle
  // block boundaries and refills happen.
  std::string bytes;
  for (std::uint32_t i = 0; i < 700; ++i) {
    FrameSpec shape;
    shape.length = 100 + (i * 37) % 1900;
    bytes += adts_frame(shape, i);
  }
  const Scanned s = scan(bytes);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.status, ScanResult::clean);
  EXPECT_EQ(s.input.frame_count, 700u);
  EXPECT_EQ(s.input.file_size, bytes.size());
  ASSERT_EQ(s.input.frame_offsets.size(), 701u);
  EXPECT_EQ(s.input.frame_offsets.back(), bytes.size());
  std::uint32_t expected_offset = 0;
  for (std::uint32_t i = 0; i < 700; ++i) {
    ASSERT_EQ(s.input.frame_offsets[i], expected_offset) << i;
    expected_offset += 100 + (i * 37) % 1900;
  }
  EXPECT_EQ(s.out, "");
}

TEST(Scanner, MaximumLengthFramesAcrossBlocks) {
  // 8191-byte frames: a frame can be longer than the rest of a block.
  FrameSpec shape;
  shape.length = 8191;
  const std::string bytes = adts_stream(40, shape);
  const Scanned s = scan(bytes);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.input.frame_count, 40u);
  EXPECT_EQ(s.input.frame_offsets, packed(40, 8191));
}

TEST(Scanner, SmallFiles) {
  FrameSpec eight;
  eight.length = 8;
  FrameSpec seven;
  seven.length = 7;
  EXPECT_EQ(scan("").error, kNotAdts);
  EXPECT_EQ(scan(adts_frame(seven)).error, kNotAdts);  // 7 bytes are not examined
  const Scanned one = scan(adts_frame(eight));
  ASSERT_EQ(one.error, "");
  EXPECT_EQ(one.input.frame_count, 1u);
  EXPECT_EQ(one.status, ScanResult::clean);
}

TEST(Scanner, GarbageBeforeFirstFrame) {
  const std::string frames = adts_stream(20);
  const Scanned s = scan(std::string(1023, 'x') + frames);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.status, ScanResult::skipped);
  EXPECT_EQ(s.out, "");  // no frame found yet, so no warning
  EXPECT_EQ(s.input.frame_count, 20u);
  EXPECT_EQ(s.input.frame_offsets, packed(20, 384));  // the skipped bytes are not counted
  EXPECT_EQ(s.input.file_size, 1023 + frames.size());

  EXPECT_EQ(scan(std::string(1024, 'x') + frames).error, kNotAdts);
}

TEST(Scanner, GapBetweenFrames) {
  const std::string a = adts_stream(5, {}, 0);
  const std::string b = adts_stream(6, {}, 100);
  const Scanned s = scan(a + std::string(300, '\0') + b);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.status, ScanResult::skipped);
  EXPECT_EQ(s.out, warning(5));
  EXPECT_EQ(s.input.frame_count, 11u);
  EXPECT_EQ(s.input.frame_offsets, packed(11, 384));
}

TEST(Scanner, ResynchronisationWindowIs1024Positions) {
  const std::string a = adts_stream(30, {}, 0);
  const std::string b = adts_stream(30, {}, 100);
  const Scanned within = scan(a + std::string(1023, 'x') + b);
  ASSERT_EQ(within.error, "");
  EXPECT_EQ(within.input.frame_count, 60u);
  const Scanned beyond = scan(a + std::string(1024, 'x') + b);
  EXPECT_EQ(beyond.out, warning(30));
  EXPECT_EQ(beyond.error, kNotAdts);
}

TEST(Scanner, ResynchronisationStopsAtTheExaminedEnd) {
  // In the last block the window ends 7 bytes before the end of the file: a
  // header that begins there is not found.
  const std::string frames = adts_stream(30);
  FrameSpec eight;
  eight.length = 8;
  const Scanned s = scan(frames + std::string(100, 'x') + test::adts_frame(eight).substr(0, 7));
  EXPECT_EQ(s.out, warning(30));
  EXPECT_EQ(s.error, kNotAdts);
}

TEST(Scanner, TruncatedLastFrame) {
  const std::string frames = adts_stream(10);
  const std::string cut = frames.substr(0, frames.size() - 100);
  const Scanned s = scan(cut);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.status, ScanResult::clean);
  EXPECT_EQ(s.input.frame_count, 10u);
  EXPECT_EQ(s.input.frame_offsets.back(), cut.size());
}

TEST(Scanner, TrailingBytes) {
  const std::string frames = adts_stream(10);
  for (std::size_t extra = 1; extra <= 7; ++extra) {
    const Scanned s = scan(frames + std::string(extra, 'z'));
    ASSERT_EQ(s.error, "") << extra;
    EXPECT_EQ(s.status, ScanResult::clean) << extra;
    EXPECT_EQ(s.out, "") << extra;
    EXPECT_EQ(s.input.frame_offsets.back(), frames.size()) << extra;
    EXPECT_EQ(s.input.file_size, frames.size() + extra) << extra;
  }
  const Scanned eight = scan(frames + std::string(8, 'z'));
  EXPECT_EQ(eight.out, warning(10));
  EXPECT_EQ(eight.error, kNotAdts);
}

TEST(Scanner, ChannelChangesOpenSegments) {
  FrameSpec stereo;
  FrameSpec surround;
  surround.channels = 6;
  FrameSpec other_rate = stereo;
  other_rate.sf_index = 4;
  FrameSpec other_profile = stereo;
  other_profile.profile = 2;
  std::string bytes = adts_stream(500, stereo) + adts_stream(400, surround) + adts_stream(50, stereo) +
                      adts_stream(20, other_rate) + adts_stream(20, other_profile);
  const Scanned s = scan(bytes);
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.input.segments.size(), 3u);
  EXPECT_EQ(s.input.segments[0].first_frame, 0u);
  EXPECT_EQ(s.input.segments[0].channel_config, 2u);
  EXPECT_EQ(s.input.segments[1].first_frame, 500u);
  EXPECT_EQ(s.input.segments[1].channel_config, 6u);
  EXPECT_EQ(s.input.segments[2].first_frame, 900u);
  EXPECT_EQ(s.input.segments[2].sampling_rate, 48000u);
  EXPECT_EQ(s.input.segments[2].profile, 1u);
}

TEST(Scanner, HeaderFieldsOfTheFirstFrame) {
  struct {
    std::uint32_t sf_index, rate, mpeg_id, profile;
  } cases[] = {{3, 48000, 0, 1}, {4, 44100, 1, 0}, {0, 96000, 0, 2}, {11, 8000, 1, 3},
               {12, 0, 0, 1},    {15, 0, 0, 1}};
  for (const auto& c : cases) {
    FrameSpec shape;
    shape.sf_index = c.sf_index;
    shape.mpeg_id = c.mpeg_id;
    shape.profile = c.profile;
    const Scanned s = scan(adts_stream(3, shape));
    ASSERT_EQ(s.error, "");
    EXPECT_EQ(s.input.segments[0].sampling_rate, c.rate);
    EXPECT_EQ(s.input.segments[0].mpeg_id, c.mpeg_id);
    EXPECT_EQ(s.input.segments[0].profile, c.profile);
  }
}

TEST(Scanner, ShortLengthFieldIsNoHeader) {
  // A header whose length field is below 7 would never move the scan on;
  // it is taken as no header, so the bytes are skipped.
  FrameSpec zero;
  zero.length = 0;
  const std::string frames = adts_stream(4);
  const Scanned s = scan(frames + test::adts_header(zero) + frames);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.status, ScanResult::skipped);
  EXPECT_EQ(s.input.frame_count, 8u);
}

TEST(Scanner, ManyFramesGrowTheOffsetTable) {
  FrameSpec small;
  small.length = 9;
  const Scanned s = scan(adts_stream(4097, small));
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.input.frame_count, 4097u);
  EXPECT_EQ(s.input.frame_offsets.size(), 4098u);
  EXPECT_EQ(s.input.frame_offsets[4096], 4096u * 9);
  EXPECT_EQ(s.input.frame_offsets.back(), 4097u * 9);
}

TEST(Scanner, FailedOrShortReadIsAnError) {
  const std::string bytes = adts_stream(300);
  const std::string read_failed = test::sjis("AAC ファイルの読み込みに失敗しました。");
  EXPECT_EQ(scan(bytes, 0, 1).error, read_failed);
  // The file ends before the size taken at the start.
  EXPECT_EQ(scan(bytes, bytes.size() + 5000).error, read_failed);
}

TEST(Scanner, FourGibibytesAreRefused) {
  EXPECT_EQ(scan("", std::uint64_t{1} << 32).error,
            test::sjis("4GB 以上の AAC ファイルには対応していません。"));
}

}  // namespace
}  // namespace sarnik
