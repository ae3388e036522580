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

void verify_inputs_unchanged(const std::vector<InputFile>& inputs) {
  for (const InputFile& input : inputs) input.verify_unchanged();
}

// Writes frame `frame` of input, the output's first, with the layout of its
// channels when it lacks one (see with_channel_layout); false, with nothing
// written, when it is to be copied as it stands.
bool write_with_channel_layout(InputFile& input, std::uint32_t frame, platform::File& output,
                               Totals& totals) {
  const std::vector<std::uint8_t> bytes = with_channel_layout(input, frame);
  if (bytes.empty()) return false;
  if (!output.write_all(bytes.data(), bytes.size())) fail_and_exit(Msg::output_write_failed);
  totals.bytes += bytes.size();
  totals.frames += 1;
  return true;
}

}  // namespace

void write_output(std::vector<InputFile>& inputs, const std::vector<CutRange>& ranges,
                  OutputFile& output, Console& console) {
  if (ranges.empty()) return;
  console.out(Msg::output_progress);
  verify_inputs_unchanged(inputs);

  std::vector<std::uint32_t> frame_counts;
  frame_counts.reserve(inputs.size());
  for (const InputFile& input : inputs) frame_counts.push_back(input.frames().frame_count);

  Totals totals;
  std::vector<char> buffer;  // for the bytes the system does not copy itself
  platform::File& file = output.start_writing();
  for (std::size_t r = 0; r < ranges.size(); ++r) {
    const CutRange& range = ranges[r];
    if (range.start == kNoOutput) {
      console.out(Msg::output_no_output);
    } else {
      // The range's first and last frame, both inclusive.
      console.out(Msg::output_range, {static_cast<std::uint32_t>(range.start),
                                      static_cast<std::uint32_t>(range.end) - 1});
      for (CopyBlock block : plan_range(frame_counts, range)) {
        InputFile& input = inputs[block.input];
        if (totals.frames == 0 && write_with_channel_layout(input, block.first, file, totals)) {
          ++block.first;
        }
        if (block.first < block.end) {
          totals.bytes += input.copy_frames(block.first, block.end, file, buffer);
          totals.frames += block.end - block.first;
        }
      }
    }
    if (r + 1 < ranges.size()) console.out(Msg::output_join);
  }

  // Nothing copied may have changed while it was copied.
  verify_inputs_unchanged(inputs);
  output.settle();
  console.out(Msg::output_summary, {totals.bytes, totals.frames});
}

}  // namespace sarnik
