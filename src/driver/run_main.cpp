#include "driver/run_main.hpp"

#include <limits>
#include <new>
#include <optional>

#include "adts/report.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "cutlist/frame_mapping.hpp"
#include "cutlist/trim_source.hpp"
#include "driver/command_line.hpp"
#include "output/copy_plan.hpp"
#include "output/output_file.hpp"
#include "output/write_output.hpp"
#include "platform/std_streams.hpp"
#include "ts/demux.hpp"

namespace sarnik {
namespace {

std::vector<InputFile> scan_and_report_inputs(const RunSettings& settings, Console& console) {
  std::vector<InputFile> inputs;
  for (const std::string& name : settings.input_names) {
    const InputFile& input = inputs.emplace_back(scan_adts_file(name, console));
    if (input.result() == ScanResult::skipped) console.out(Msg::frame_drop, {FileName{name}});
    print_input_report(name, input.frames(), console);
    console.out(Msg::newline);
  }
  return inputs;
}

// Whether the cut would put a frame that its file cuts short before another
// frame, in the middle of the output's stream.
bool cuts_into_short_frame(const std::vector<InputFile>& inputs,
                           const std::vector<CutRange>& ranges) {
  std::vector<std::uint32_t> frame_counts;
  std::vector<bool> cut_short;
  for (const InputFile& input : inputs) {
    frame_counts.push_back(input.frames().frame_count);
    cut_short.push_back(input.frames().last_frame_cut_short);
  }
  return cut_frame_inside(frame_counts, cut_short, ranges);
}

// What a run that went well still owes: its console text, which can fail
// only now, then the commit of its output. The output is committed last, so
// that an error up to there still empties it.
void finish(Console& console, std::optional<OutputFile>& output) {
  console.flush();
  if (!console.output_ok()) fail_and_exit(Msg::console_write_failed);
  if (output) output->commit();
}

// The steps of a run that ends well (exit code 0); every failure leaves
// through the error exit, and the output, when there is one, is emptied as
// the failure leaves it.
void run_steps(int argc, const char* const* argv, const Revision& revision, Console& console) {
  RunSettings settings;
  std::optional<OutputFile> output;
  if (parse_command_line(settings, argc, argv, revision, console) == ParseResult::usage_shown) {
    return finish(console, output);
  }
  if (settings.print_ranges) {
    print_video_ranges(read_trim_source(settings.trim_argument).calls, console);
    return finish(console, output);
  }
  if (settings.demux) {
    demux_recording(settings.input_names.front(), console);
    return finish(console, output);
  }

  TrimSource trim;
  if (settings.output_name) {
    trim = read_trim_source(settings.trim_argument);
    output.emplace(*settings.output_name, settings.input_names, trim.script);
  }
  std::vector<InputFile> inputs = scan_and_report_inputs(settings, console);
  bool editable = can_edit(inputs);
  if (editable && output) {
    const FrameMapping mapping{settings.frame_rate, settings.direct_frames, settings.delay,
                               revision.delay_shift_percent};
    const std::vector<CutRange> ranges = cut_ranges(trim.calls, mapping, total_frame_count(inputs));
    editable = !cuts_into_short_frame(inputs, ranges);
    if (editable) write_output(inputs, ranges, *output, console);
  }
  if (!editable) console.out(Msg::not_editable);
  finish(console, output);
}

// The error exit: the error line, and the usage text when asked.
int fail(Console& console, const FatalError& error) {
  console.err(Msg::error_line,
              {error.number ? FormatArg(error.message, *error.number) : FormatArg(error.message)});
  if (error.with_usage) print_usage(console);
  return 1;
}

}  // namespace

std::int32_t total_frame_count(const std::vector<InputFile>& inputs) {
  std::int64_t total = 0;
  for (const InputFile& input : inputs) {
    total += input.frames().frame_count;
    if (total > std::numeric_limits<std::int32_t>::max()) fail_and_exit(Msg::too_many_frames);
  }
  return static_cast<std::int32_t>(total);
}

int run_main(int argc, const char* const* argv, const Revision& revision, Console& console) {
  platform::open_closed_std_streams();
  platform::report_broken_pipes();
  int code = 0;
  try {
    run_steps(argc, argv, revision, console);
  } catch (const FatalError& error) {
    code = fail(console, error);
  } catch (const std::bad_alloc&) {
    code = fail(console, FatalError{Msg::out_of_memory, false, std::nullopt});
  }
  console.flush();
  return code;
}

}  // namespace sarnik
