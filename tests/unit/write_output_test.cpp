// The output step on real files: inputs that change after their scan, and
// the copy primitive's outcomes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "adts/scanner.hpp"
#include "common/fail.hpp"
#include "output/write_output.hpp"
#include "platform/file.hpp"
#include "support/adts_builder.hpp"
#include "support/captured_console.hpp"
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
  std::vector<char> buffer;
  EXPECT_EQ(platform::copy_range(in, 100, 1000, out, buffer), platform::CopyStatus::done);
  EXPECT_EQ(platform::copy_range(in, 0, 50, out, buffer), platform::CopyStatus::done);
  EXPECT_EQ(platform::copy_range(in, bytes.size() - 10, 20, out, buffer),
            platform::CopyStatus::source_ended);
  ASSERT_TRUE(out.close());
  EXPECT_EQ(test::read_file(dir.file("out")),
            bytes.substr(100, 1000) + bytes.substr(0, 50) + bytes.substr(bytes.size() - 10));
}

// An input written to or replaced after its scan, whatever its size then,
// is refused before anything is copied: the output stays empty, the input
// untouched. (The input is copied from the file scanned, kept open; one
// replaced under its name was changed too: it lost its name.)
TEST(WriteOutput, InputChangedAfterItsScanIsRefused) {
  const std::string original = test::adts_stream(100);
  struct {
    const char* what;
    std::string now;  // what the input holds by the time of the copy
    bool replaced;    // by another file renamed over it
  } cases[] = {
      {"cut short", original.substr(0, 1000), false},
      {"grown", original + original.substr(0, 500), false},
      {"rewritten in place, same size", test::adts_stream(100, {}, 7), false},
      {"replaced, same size", test::adts_stream(100, {}, 7), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    const std::string name = dir.write("in.aac", original);
    std::vector<AdtsInput> inputs(1);
    std::vector<InputFile> files(1);
    test::CapturedConsole captured;
    Console& console = captured.console;
    ASSERT_EQ(scan_adts_file(name.c_str(), inputs[0], console, files[0]), ScanResult::clean);
    // Rewritten through a new descriptor, as another program would, after
    // the clock that stamps file changes has moved on (it may tick only
    // every few milliseconds).
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform::File writer;
    const std::string written = c.replaced ? dir.file("new.aac") : name;
    ASSERT_TRUE(writer.create_write(written.c_str()));
    ASSERT_TRUE(writer.write_all(c.now.data(), c.now.size()));
    ASSERT_TRUE(writer.close());
    if (c.replaced) std::filesystem::rename(written, name);

    platform::File output;
    ASSERT_TRUE(output.create_write(dir.file("out.aac").c_str()));
    try {
      write_output(inputs, files, {CutRange{0, 100}}, output, console);
      FAIL() << "a changed input was copied";
    } catch (const FatalError& e) {
      EXPECT_EQ(text(e.message), test::sjis("AAC ファイルが読み込み後に変更されました。"));
    }
    EXPECT_EQ(test::read_file(dir.file("out.aac")), "");
    EXPECT_TRUE(test::read_file(name) == c.now);
  }
}

}  // namespace
}  // namespace sarnik
