#include "output/write_output.hpp"

#include "common/fail.hpp"
#include "common/format.hpp"
#include "output/channel_layout.hpp"
#include "output/copy_plan.hpp"

namespace sarnik {
namespace {

struct Totals {
  std::uint64_t bytes = 0;
  std::uint64_t frames = 0;
};

// Refuses an input that is not what its scan saw: a file written to since,
// in place or grown or cut.
void refuse_changed_inputs(const std::vector<ScannedInput>& inputs) {
  for (const ScannedInput& input : inputs) {
    platform::FileStamp now{};
    if (!input.file.stamp(now)) fail_and_exit(Msg::input_read_failed);
    if (!(now == input.stamp)) fail_and_exit(Msg::input_changed);
  }
}

std::uint64_t block_bytes(const AdtsInput& input, const CopyBlock& block) {
  return input.frame_offsets[block.end] - input.frame_offsets[block.first];
}

void copy_block(ScannedInput& input, const CopyBlock& block, platform::File& output,
                std::vector<char>& buffer, Totals& totals) {
  const std::uint64_t bytes = block_bytes(input.frames, block);
  const std::uint32_t from = input.frames.frame_offsets[block.first];
  switch (platform::copy_range(input.file, from, bytes, output, buffer)) {
    case platform::CopyStatus::done:
      break;
    case platform::CopyStatus::source_ended:
      fail_and_exit(Msg::input_changed);
    case platform::CopyStatus::read_failed:
      fail_and_exit(Msg::input_read_failed);
    case platform::CopyStatus::write_failed:
      fail_and_exit(Msg::output_write_failed);
  }
  totals.bytes += bytes;
  totals.frames += block.end - block.first;
}

// Writes frame `frame` of input, the output's first, with the layout of its
// channels when it lacks one (see with_channel_layout); false, with nothing
// written, when it is to be copied as it stands.
bool write_with_channel_layout(ScannedInput& input, std::uint32_t frame, platform::File& output,
                               Totals& totals) {
  const std::vector<std::uint8_t> bytes = with_channel_layout(input, frame);
  if (bytes.empty()) return false;
  if (!output.write_all(bytes.data(), bytes.size())) fail_and_exit(Msg::output_write_failed);
  totals.bytes += bytes.size();
  totals.frames += 1;
  return true;
}

}  // namespace

void write_output(std::vector<ScannedInput>& inputs, const std::vector<CutRange>& ranges,
                  platform::File& output, Console& console) {
  if (ranges.empty()) return;
  console.out(Msg::output_progress);
  refuse_changed_inputs(inputs);

  std::vector<std::uint32_t> frame_counts;
  frame_counts.reserve(inputs.size());
  for (const ScannedInput& input : inputs) frame_counts.push_back(input.frames.frame_count);

  Totals totals;
  std::vector<char> buffer;  // for the bytes the system does not copy itself
  platform::empty_on_interrupt(output);
  for (std::size_t r = 0; r < ranges.size(); ++r) {
    const CutRange& range = ranges[r];
    if (range.start == kNoOutput) {
      console.out(Msg::output_no_output);
    } else {
      // The range's first and last frame, both inclusive.
      console.out(Msg::output_range, {static_cast<std::uint32_t>(range.start),
                                      static_cast<std::uint32_t>(range.end) - 1});
      for (CopyBlock block : plan_range(frame_counts, range)) {
        if (totals.frames == 0 &&
            write_with_channel_layout(inputs[block.input], block.first, output, totals)) {
          ++block.first;
        }
        if (block.first < block.end) copy_block(inputs[block.input], block, output, buffer, totals);
      }
    }
    if (r + 1 < ranges.size()) console.out(Msg::output_join);
  }

  // Nothing copied may have changed while it was copied.
  refuse_changed_inputs(inputs);
  if (!output.settle()) fail_and_exit(Msg::output_write_failed);
  console.out(Msg::output_summary, {totals.bytes, totals.frames});
}

}  // namespace sarnik
