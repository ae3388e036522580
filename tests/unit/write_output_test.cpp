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
    EXPECT_EQ(e.message, test::sjis("AAC ファイルが読み込み後に変更されました。"));
  }
  EXPECT_EQ(test::read_file(name).size(), 1000u);  // the input is left as it was
}

}  // namespace
}  // namespace sarnik
