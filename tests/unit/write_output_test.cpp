// The output step on real files: inputs that change after their scan, and
// the copy primitive's outcomes.
#include <gtest/gtest.h>

#include <filesystem>

#include "adts/scanner.hpp"
#include "common/fail.hpp"
#include "output/write_output.hpp"
#include "platform/file.hpp"
#include "support/adts_builder.hpp"
#include "support/files.hpp"
#include "support/sjis.hpp"

namespace sarnik {
namespace {

TEST(CopyRange, Outcomes) {
  test::TempDir dir;
  const std::string bytes = test::adts_stream(50);
  dir.write("in", bytes);
  platform::File in;
  platform::File out;
  ASSERT_TRUE(in.open_read(dir.file("in").c_str()));
  ASSERT_TRUE(out.create_write(dir.file("out").c_str()));
  EXPECT_EQ(platform::copy_range(in, 100, 1000, out), platform::CopyStatus::done);
  EXPECT_EQ(platform::copy_range(in, 0, 50, out), platform::CopyStatus::done);
  EXPECT_EQ(platform::copy_range(in, bytes.size() - 10, 20, out), platform::CopyStatus::source_ended);
  ASSERT_TRUE(out.close());
  EXPECT_EQ(test::read_file(dir.file("out")),
            bytes.substr(100, 1000) + bytes.substr(0, 50) + bytes.substr(bytes.size() - 10));
}

TEST(WriteOutput, InputThatShrankAfterItsScan) {
  test::TempDir dir;
  const std::string name = dir.write("in.aac", test::adts_stream(100));
  std::vector<AdtsInput> inputs(1);
  Console console = Console::capturing();
  ASSERT_EQ(scan_adts_file(name.c_str(), &inputs[0], console), kScanClean);
  std::filesystem::resize_file(name, 1000);

  platform::File output;
  ASSERT_TRUE(output.create_write(dir.file("out.aac").c_str()));
  try {
    write_output(inputs, {name}, {CutRange{0, 100}}, output, console);
    FAIL() << "a shrunk input was copied";
  } catch (const FatalError& e) {
    EXPECT_EQ(text(e.message), test::sjis("AAC ファイルが読み込み後に変更されました。"));
  }
  EXPECT_EQ(test::read_file(name).size(), 1000u);  // the input is left as it was
}

// Scans clean inputs, as the run does before its output step.
std::vector<AdtsInput> scan_inputs(const std::vector<std::string>& names) {
  std::vector<AdtsInput> inputs(names.size());
  Console console = Console::capturing();
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(scan_adts_file(names[i].c_str(), &inputs[i], console), kScanClean) << names[i];
  }
  return inputs;
}

// Output written ahead, whole or in part, right or wrong: what is wanted
// and in place is kept, the rest is cut off and copied; the result and the
// text are those of an output written from nothing.
TEST(WriteOutput, KeepsWhatWasWrittenAheadAsFarAsItIsWanted) {
  test::TempDir dir;
  const std::vector<std::string> names = {dir.write("a.aac", test::adts_stream(60)),
                                          dir.write("b.aac", test::adts_stream(40, {}, 60))};
  const std::vector<AdtsInput> inputs = scan_inputs(names);
  const std::vector<CutRange> ranges = {{10, 70}, {80, 95}};
  const auto bytes_of = [&](const CopyBlock& b) {
    const std::uint32_t from = inputs[b.input].frame_offsets[b.first];
    return test::read_file(names[b.input]).substr(from, inputs[b.input].frame_offsets[b.end] - from);
  };

  platform::File plain_output;
  ASSERT_TRUE(plain_output.create_write(dir.file("plain.aac").c_str()));
  Console plain_console = Console::capturing();
  write_output(inputs, names, ranges, plain_output, plain_console);
  const std::string plain = test::read_file(dir.file("plain.aac"));

  using Blocks = std::vector<CopyBlock>;
  struct {
    const char* what;
    Blocks written;
    std::string after;  // bytes the output holds after the blocks written
  } cases[] = {
      {"every block", {{0, 10, 60}, {1, 0, 10}, {1, 20, 35}}, ""},
      {"every block, and more bytes", {{0, 10, 60}, {1, 0, 10}, {1, 20, 35}}, "junk"},
      {"the first block", {{0, 10, 60}}, "part of the next"},
      {"a longer last block", {{0, 10, 60}, {1, 0, 10}, {1, 20, 40}}, ""},
      {"a wrong block", {{0, 10, 60}, {1, 0, 12}}, "x"},
      {"nothing whole", {}, "some bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string ahead;
    for (const CopyBlock& block : c.written) ahead += bytes_of(block);
    const std::string out_name = dir.file("ahead.aac");
    // Positioned at the end of what it holds, as the copying ahead leaves it.
    platform::File output;
    ASSERT_TRUE(output.create_write(out_name.c_str()));
    ASSERT_TRUE(output.write_all((ahead + c.after).data(), ahead.size() + c.after.size()));
    Console console = Console::capturing();
    write_output(inputs, names, ranges, output, console, &c.written);
    EXPECT_EQ(console.captured_out(), plain_console.captured_out());
    EXPECT_TRUE(test::read_file(out_name) == plain);
  }
}

// Should the output step stop among the blocks found in place, the output
// holds just the blocks passed, as when nothing was written ahead.
TEST(WriteOutput, StopAmongBlocksInPlaceCutsTheOutputBack) {
  test::TempDir dir;
  const std::vector<std::string> names = {dir.write("a.aac", test::adts_stream(30)),
                                          dir.write("b.aac", test::adts_stream(30, {}, 30))};
  const std::vector<AdtsInput> inputs = scan_inputs(names);
  Console console = Console::capturing();
  const std::string a = test::read_file(names[0]);
  const std::string b = test::read_file(names[1]);
  platform::File output;
  ASSERT_TRUE(output.create_write(dir.file("out.aac").c_str()));
  ASSERT_TRUE(output.write_all((a + b).data(), a.size() + b.size()));
  std::filesystem::resize_file(names[1], 100);
  const std::vector<CopyBlock> written = {{0, 0, 30}, {1, 0, 30}};
  EXPECT_THROW(write_output(inputs, names, {CutRange{0, 60}}, output, console, &written),
               FatalError);
  output.close();
  EXPECT_TRUE(test::read_file(dir.file("out.aac")) == a);
}

}  // namespace
}  // namespace sarnik
