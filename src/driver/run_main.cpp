#include "driver/run_main.hpp"

#include <limits>
#include <new>

#include "adts/report.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "cutlist/frame_mapping.hpp"
#include "cutlist/trim_source.hpp"
#include "driver/command_line.hpp"
#include "output/copy_plan.hpp"
#include "output/write_output.hpp"
#include "ts/demux.hpp"

namespace sarnik {
namespace {

// What the error exit needs of a run; everything else a run builds is the
// steps' own, freed before the error exit runs.
struct RunState {
  Console& console;
  const Revision& revision;
  RunSettings settings;
  platform::File output;  // created when an output name is set
};

// The output must not be created over a file that the run reads (an input
// or the script) nor over the file its console text goes to. Files are
// compared by identity, not by name.
void refuse_output_over_sources(const RunSettings& settings, const TrimSource& trim) {
  platform::FileId output{};
  if (!platform::file_identity(settings.output_name->c_str(), output)) return;
  for (const std::string& name : settings.input_names) {
    platform::FileId input{};
    if (platform::file_identity(name.c_str(), input) && input == output) {
      fail_and_exit(Msg::output_is_input);
    }
  }
  if (trim.script == output) fail_and_exit(Msg::output_is_script);
  platform::FileId stream{};
  if (platform::std_stream_identity(platform::StdStream::out, stream) && stream == output) {
    fail_and_exit(Msg::output_is_stdout);
  }
  if (platform::std_stream_identity(platform::StdStream::err, stream) && stream == output) {
    fail_and_exit(Msg::output_is_stderr);
  }
}

std::vector<ScannedInput> scan_and_report_inputs(const RunSettings& settings, Console& console) {
  std::vector<ScannedInput> inputs;
  for (const std::string& name : settings.input_names) {
    const ScannedInput& input = inputs.emplace_back(scan_adts_file(name.c_str(), console));
    if (input.result == ScanResult::skipped) console.out(Msg::frame_drop, {FileName{name}});
    print_input_report(name, input.frames, console);
    console.out(Msg::newline);
  }
  return inputs;
}

// Whether the cut would put a frame that its file cuts short before another
// frame, in the middle of the output's stream.
bool cuts_into_short_frame(const std::vector<ScannedInput>& inputs,
                           const std::vector<CutRange>& ranges) {
  std::vector<std::uint32_t> frame_counts;
  std::vector<bool> cut_short;
  for (const ScannedInput& input : inputs) {
    frame_counts.push_back(input.frames.frame_count);
    cut_short.push_back(input.frames.last_frame_cut_short);
  }
  return cut_frame_inside(frame_counts, cut_short, ranges);
}

// The steps of a run that ends well (exit code 0); every failure leaves
// through the error exit.
void run_steps(RunState& run, int argc, const char* const* argv) {
  if (!asks_for_ranges(argc, argv) && !asks_for_demux(argc, argv)) {
    run.console.out(run.revision.banner);
  }
  switch (parse_command_line(run.settings, argc, argv, run.revision, run.console)) {
    case ParseResult::usable:
      break;
    case ParseResult::invalid:
      fail_and_exit(Msg::invalid_options, true);
    case ParseResult::usage_shown:
      return;
  }
  const RunSettings& settings = run.settings;
  if (settings.print_ranges) {
    print_video_ranges(read_trim_source(settings.trim_argument).calls, run.console);
    return;
  }
  if (settings.demux) {
    demux_recording(settings.input_names.front(), run.console);
    return;
  }

  TrimSource trim;
  if (settings.output_name) {
    trim = read_trim_source(settings.trim_argument);
    refuse_output_over_sources(settings, trim);
    if (!run.output.create_write(settings.output_name->c_str())) {
      fail_and_exit(Msg::output_open_failed);
    }
  }
  std::vector<ScannedInput> inputs = scan_and_report_inputs(settings, run.console);
  if (!can_edit(inputs)) {
    run.console.out(Msg::not_editable);
    return;
  }
  if (settings.output_name) {
    const FrameMapping mapping{settings.frame_rate, settings.direct_frames, settings.delay,
                               run.revision.delay_shift_percent};
    const std::vector<CutRange> ranges = cut_ranges(trim.calls, mapping, total_frame_count(inputs));
    if (cuts_into_short_frame(inputs, ranges)) {
      run.console.out(Msg::not_editable);
      return;
    }
    write_output(inputs, ranges, run.output, run.console);
  }
}

// What a run that ended well still owes: its console text, which can fail
// only now, and the close of its output, which write_output has settled. The
// output stays the run's until its last text is written, so that an error up
// to there still empties it.
void finish(RunState& run) {
  run.console.flush();
  if (!run.console.output_ok()) fail_and_exit(Msg::console_write_failed);
  if (!run.output.close()) fail_and_exit(Msg::output_write_failed);
}

// The error exit. An output that the run created is left empty, before
// anything else is tried: whatever was copied into it is not the cut asked
// for.
int fail(RunState& run, const FatalError& error) {
  if (run.output.is_open()) static_cast<void>(run.output.truncate(0));
  run.console.err(Msg::error_line, {error.number ? FormatArg(error.message, *error.number)
                                                 : FormatArg(error.message)});
  if (error.with_usage) print_usage(run.console);
  return 1;
}

}  // namespace

std::int32_t total_frame_count(const std::vector<ScannedInput>& inputs) {
  std::int64_t total = 0;
  for (const ScannedInput& input : inputs) {
    total += input.frames.frame_count;
    if (total > std::numeric_limits<std::int32_t>::max()) fail_and_exit(Msg::too_many_frames);
  }
  return static_cast<std::int32_t>(total);
}

int run_main(int argc, const char* const* argv, const Revision& revision, Console& console) {
  platform::open_closed_std_streams();
  platform::report_broken_pipes();
  RunState run{console, revision, {}, {}};
  int code = 0;
  try {
    run_steps(run, argc, argv);
    finish(run);
  } catch (const FatalError& error) {
    code = fail(run, error);
  } catch (const std::bad_alloc&) {
    code = fail(run, FatalError{Msg::out_of_memory, false, std::nullopt});
  }
  console.flush();
  return code;
}

}  // namespace sarnik
