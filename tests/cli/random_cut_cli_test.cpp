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

// Ranges anywhere, overlapping and backwards.
void random_cut_matches_reference(std::uint32_t seed) {
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
  for (int i = 0; i < 40; ++i) {
    const long first = std::uniform_int_distribution<long>(0, total + 50)(rng);
    long second = 0;
    switch (rng() % 4) {
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

TEST(RandomCutCli, MatchesInMemoryReference) { random_cut_matches_reference(20261207); }

}  // namespace
}  // namespace sarnik::test
