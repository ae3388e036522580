// A large random cut over several inputs, against a straightforward
// reference that holds every frame in memory.
#include <random>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

struct Reference {
  std::vector<std::string> frames;  // all inputs joined

  // The range of Trim(first,second) in AAC frames (-a, no delay), as
  // (start, end) or (-1, -1).
  std::pair<long, long> range(long first, long second) const {
    const long total = static_cast<long>(frames.size());
    long s = first;
    long e = 0;
    if (second != 0) {
      long video_end = second < 0 ? first - second : second + 1;
      if (video_end <= first) video_end = first + 1;
      e = video_end;
    }
    long start = s;
    if (s >= total) start = total - 1;
    if (second == 0) return {start, total};
    if (e > total) return {start, total};
    if (e > s) return {start, e};
    return {-1, -1};
  }
};

// ranges_in_order: ranges that follow one another through the stream, as
// most cut lists do (the output is then copied while the inputs are being
// scanned); otherwise anywhere, overlapping and backwards.
void random_cut_matches_reference(bool ranges_in_order, std::uint32_t seed) {
  TempDir dir;
  std::mt19937 rng(seed);
  Reference ref;
  std::vector<std::string> names;
  for (int input = 0; input < 5; ++input) {
    std::string bytes;
    const int count = std::uniform_int_distribution<int>(300, 2500)(rng);
    for (int i = 0; i < count; ++i) {
      FrameSpec shape;
      // Mostly ordinary lengths, some up to the 13-bit maximum, so that
      // frames straddle the scanner's blocks in every way.
      shape.length = rng() % 8 == 0 ? std::uniform_int_distribution<std::uint32_t>(4000, 8191)(rng)
                                   : std::uniform_int_distribution<std::uint32_t>(8, 1500)(rng);
      ref.frames.push_back(adts_frame(shape, static_cast<std::uint32_t>(ref.frames.size())));
      bytes += ref.frames.back();
    }
    names.push_back("in" + std::to_string(input) + ".aac");
    dir.write(names.back(), bytes);
  }

  const long total = static_cast<long>(ref.frames.size());
  std::string trim;
  std::string expected_text;
  std::string expected_bytes;
  long expected_frames = 0;
  long next_first = 0;
  for (int i = 0; i < 40; ++i) {
    long first = std::uniform_int_distribution<long>(0, total + 50)(rng);
    long second = 0;
    if (ranges_in_order) {
      // Now and then the next range starts where this one ends; the last
      // ones may run past the stream.
      first = next_first + (rng() % 3 == 0 ? 0 : std::uniform_int_distribution<long>(0, total / 40)(rng));
      second = first + std::uniform_int_distribution<long>(0, total / 40)(rng);
      next_first = second + 1;
    } else switch (rng() % 4) {
      case 0: second = -std::uniform_int_distribution<long>(1, 999999)(rng) % (total / 2); break;
      case 1: second = std::uniform_int_distribution<long>(1, total + 50)(rng); break;
      case 2: second = first + std::uniform_int_distribution<long>(0, 3000)(rng); break;
      default: second = first == 0 ? 0 : first + 1; break;
    }
    if (second == 0 && first != 0 && rng() % 2) second = first;  // a single frame
    trim += (i ? "+" : "") + ("Trim(" + std::to_string(first) + "," + std::to_string(second) + ")");
    const auto [start, end] = ref.range(first, second);
    expected_text += i ? "+" : "";
    if (start < 0) {
      expected_text += "(no output)";
      continue;
    }
    expected_text += "Trim(" + std::to_string(start) + "," + std::to_string(end - 1) + ")";
    for (long k = start; k < end; ++k) expected_bytes += ref.frames[static_cast<std::size_t>(k)];
    expected_frames += end - start;
  }

  std::vector<std::string> args = {"-a", "-t", trim, "-o", "out.aac"};
  args.insert(args.end(), names.begin(), names.end());
  const ProcessResult r = run_sarnik(args, dir.path());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string tail = output_lines(expected_text, expected_bytes.size(), static_cast<std::uint64_t>(expected_frames));
  ASSERT_GE(r.out.size(), tail.size());
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
  const std::string written = read_file(dir.file("out.aac"));
  EXPECT_EQ(written.size(), expected_bytes.size());
  EXPECT_TRUE(written == expected_bytes) << "the output differs from the reference";
}

TEST(RandomCutCli, MatchesInMemoryReference) { random_cut_matches_reference(false, 20261207); }

TEST(RandomCutCli, RangesInOrderMatchInMemoryReference) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    random_cut_matches_reference(true, seed);
  }
}

// Ranges much longer than one copy made while scanning: those copies end
// on round output positions, inside frames, and the output must still be
// the frames and nothing else.
TEST(RandomCutCli, LongRangesMatchInMemoryReference) {
  TempDir dir;
  std::mt19937 rng(7);
  Reference ref;
  std::vector<std::string> names;
  for (int input = 0; input < 2; ++input) {
    std::string bytes;
    while (bytes.size() < (std::size_t{19} << 20)) {
      FrameSpec shape;
      shape.length = std::uniform_int_distribution<std::uint32_t>(8, 8191)(rng);
      ref.frames.push_back(adts_frame(shape, static_cast<std::uint32_t>(ref.frames.size())));
      bytes += ref.frames.back();
    }
    names.push_back("in" + std::to_string(input) + ".aac");
    dir.write(names.back(), bytes);
  }
  const long total = static_cast<long>(ref.frames.size());
  struct {
    const char* what;
    long first, second;
  } cases[] = {
      {"everything", 0, 0},
      {"from a later frame to the end", 3, 0},
      {"over the joint of the inputs", 17, total - 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto [start, end] = ref.range(c.first, c.second);
    std::string expected;
    for (long k = start; k < end; ++k) expected += ref.frames[static_cast<std::size_t>(k)];
    const std::string trim = "Trim(" + std::to_string(c.first) + "," + std::to_string(c.second) + ")";
    std::vector<std::string> args = {"-a", "-t", trim, "-o", "out.aac"};
    args.insert(args.end(), names.begin(), names.end());
    const ProcessResult r = run_sarnik(args, dir.path());
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string written = read_file(dir.file("out.aac"));
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected) << "the output differs from the reference";
  }
}

}  // namespace
}  // namespace sarnik::test
