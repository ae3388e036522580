#include "output/write_output.hpp"

#include "common/fail.hpp"
#include "common/format.hpp"
#include "output/copy_plan.hpp"

namespace sarnik {
namespace {

struct Totals {
  std::uint64_t bytes = 0;
  std::uint64_t frames = 0;
};

// The inputs, each opened when a range first touches it and kept open.
class InputFiles {
 public:
  InputFiles(const std::vector<AdtsInput>& inputs, const std::vector<std::string>& names)
      : inputs_(inputs), names_(names), files_(inputs.size()) {}

  platform::File& get(std::size_t i) {
    platform::File& file = files_[i];
    if (file.is_open()) return file;
    std::uint64_t size = 0;
    if (!file.open_read(names_[i].c_str()) || !file.size(size)) fail_and_exit(Msg::input_read_failed);
    if (size != inputs_[i].file_size) fail_and_exit(Msg::input_changed);
    return file;
  }

 private:
  const std::vector<AdtsInput>& inputs_;
  const std::vector<std::string>& names_;
  std::vector<platform::File> files_;
};

std::uint64_t block_bytes(const AdtsInput& input, const CopyBlock& block) {
  return input.frame_offsets[block.end] - input.frame_offsets[block.first];
}

void add_block(const AdtsInput& input, const CopyBlock& block, Totals& totals) {
  totals.bytes += block_bytes(input, block);
  totals.frames += block.end - block.first;
}

void copy_block(const AdtsInput& input, platform::File& source, const CopyBlock& block,
                platform::File& output, Totals& totals) {
  const std::uint32_t from = input.frame_offsets[block.first];
  switch (platform::copy_range(source, from, block_bytes(input, block), output)) {
    case platform::CopyStatus::done: break;
    case platform::CopyStatus::source_ended: fail_and_exit(Msg::input_changed);
    case platform::CopyStatus::read_failed: fail_and_exit(Msg::input_read_failed);
    case platform::CopyStatus::write_failed: fail_and_exit(Msg::output_write_failed);
  }
  add_block(input, block, totals);
}

// While the output step passes over the blocks found in place, the output
// holds more than it has passed; should the step stop there, the output is
// cut back to what it has passed, as if it had copied those blocks itself.
class InPlacePrefix {
 public:
  InPlacePrefix(platform::File& output, const Totals& totals, bool active)
      : output_(output), totals_(totals), active_(active) {}
  ~InPlacePrefix() {
    if (active_) output_.truncate(totals_.bytes);
  }
  InPlacePrefix(const InPlacePrefix&) = delete;
  InPlacePrefix& operator=(const InPlacePrefix&) = delete;

  // Cuts the output after the blocks passed; from here it is written as usual.
  void end() {
    if (!active_) return;
    active_ = false;
    if (!output_.truncate(totals_.bytes)) fail_and_exit(Msg::output_write_failed);
  }

 private:
  platform::File& output_;
  const Totals& totals_;
  bool active_;
};

}  // namespace

std::int32_t write_output(const std::vector<AdtsInput>& inputs,
                          const std::vector<std::string>& names,
                          const std::vector<CutRange>& ranges, platform::File& output,
                          Console& console, const std::vector<CopyBlock>* written_ahead) {
  if (ranges.empty()) return 0;
  console.out(Msg::output_progress);

  std::vector<std::uint32_t> frame_counts;
  frame_counts.reserve(inputs.size());
  for (const AdtsInput& input : inputs) frame_counts.push_back(input.frame_count);
  InputFiles files(inputs, names);

  Totals totals;
  InPlaceMatch in_place(written_ahead);
  InPlacePrefix prefix(output, totals, written_ahead != nullptr);
  for (std::size_t r = 0; r < ranges.size(); ++r) {
    const CutRange& range = ranges[r];
    if (range.start == kNoOutput) {
      console.out(Msg::output_no_output);
    } else {
      // The range's first and last frame, both inclusive.
      console.out(Msg::output_range, {static_cast<std::uint32_t>(range.start),
                                      static_cast<std::uint32_t>(range.end) - 1});
      for (const CopyBlock& block : plan_range(frame_counts, range)) {
        platform::File& source = files.get(block.input);
        if (in_place.next(block)) {
          add_block(inputs[block.input], block, totals);
        } else {
          prefix.end();
          copy_block(inputs[block.input], source, block, output, totals);
        }
      }
    }
    if (r + 1 < ranges.size()) console.out(Msg::output_join);
  }
  prefix.end();

  if (!output.close()) fail_and_exit(Msg::output_write_failed);
  console.out(Msg::output_summary, {totals.bytes, totals.frames});
  return 1;
}

}  // namespace sarnik
