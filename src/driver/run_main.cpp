#include "driver/run_main.hpp"

#include <limits>
#include <new>

#include "adts/report.hpp"
#include "adts/scanner.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "cutlist/frame_mapping.hpp"
#include "cutlist/trim_source.hpp"
#include "driver/command_line.hpp"
#include "output/write_output.hpp"

namespace sarnik {
namespace {

// The output must not be created over a file that the run reads (an input
// or the script) nor over the file its console text goes to. Files are
// compared by identity, not by name.
void refuse_output_over_sources(const RunState& run) {
  platform::FileId output{};
  if (!platform::file_identity(run.settings.output_name->c_str(), output)) return;
  for (const std::string& name : run.settings.input_names) {
    platform::FileId input{};
    if (platform::file_identity(name.c_str(), input) && input == output) {
      fail_and_exit(Msg::output_is_input);
    }
  }
  if (run.trim.script == output) fail_and_exit(Msg::output_is_script);
  platform::FileId stream{};
  if (platform::std_stream_identity(platform::StdStream::out, stream) && stream == output) {
    fail_and_exit(Msg::output_is_stdout);
  }
  if (platform::std_stream_identity(platform::StdStream::err, stream) && stream == output) {
    fail_and_exit(Msg::output_is_stderr);
  }
}

void scan_and_report_inputs(RunState& run) {
  for (const std::string& name : run.settings.input_names) {
    AdtsInput& input = run.inputs.emplace_back();
    if (scan_adts_file(name.c_str(), input, run.console, run.input_files.emplace_back()) ==
        ScanResult::skipped) {
      run.console.out(Msg::frame_drop, {FileName{name}});
      run.editable = false;
    }
    if (!input.every_frame_editable) run.editable = false;
    print_input_report(name, input, run.editable, run.console);
    run.console.out(Msg::newline);
  }
}

// The steps of a run that ends well (exit code 0); every failure leaves
// through the error exit.
void run_steps(RunState& run, int argc, const char* const* argv) {
  if (!asks_for_ranges(argc, argv)) {
    run.console.out(run.revision.add == 2 ? Msg::banner_add2 : Msg::banner_add3);
  }
  switch (parse_command_line(run.settings, argc, argv, run.revision, run.console)) {
    case ParseResult::usable: break;
    case ParseResult::invalid: fail_and_exit(Msg::invalid_options, true);
    case ParseResult::usage_shown: return;
  }
  if (run.settings.print_ranges) {
    print_video_ranges(read_trim_source(run.settings.trim_argument).calls, run.console);
    return;
  }
  const bool has_output = run.settings.output_name.has_value();

  if (has_output) {
    run.trim = read_trim_source(run.settings.trim_argument);
    refuse_output_over_sources(run);
    if (!run.output_file.create_write(run.settings.output_name->c_str())) {
      fail_and_exit(Msg::output_open_failed);
    }
  }

  scan_and_report_inputs(run);
  if (!run.editable) {
    run.console.out(Msg::not_editable);
    release_all(run);
    return;
  }

  if (has_output) {
    const FrameMapping mapping{run.settings.frame_rate, run.settings.direct_frames,
                               run.settings.delay, run.revision.add == 2 ? 108 : 100};
    run.ranges = cut_ranges(run.trim.calls, mapping, total_frame_count(run.inputs));
    write_output(run.inputs, run.input_files, run.ranges, run.output_file, run.console);
  }
  release_all(run);
}

// What a run that ended well still owes: its console text and its output,
// both of which can fail only now.
void finish(RunState& run) {
  run.console.flush();
  if (!run.console.output_ok()) fail_and_exit(Msg::console_write_failed);
  if (!run.output_file.close()) fail_and_exit(Msg::output_write_failed);
}

// The error exit. An output that the run created is left empty: whatever
// was copied into it is not the cut asked for.
int fail(RunState& run, const FatalError& error) {
  run.console.err(Msg::error_line, {error.number ? FormatArg(error.message, *error.number)
                                                 : FormatArg(error.message)});
  if (error.with_usage) print_usage(run.console);
  release_all(run);
  if (run.output_file.is_open()) static_cast<void>(run.output_file.truncate(0));
  return 1;
}

}  // namespace

std::int32_t total_frame_count(const std::vector<AdtsInput>& inputs) {
  std::int64_t total = 0;
  for (const AdtsInput& input : inputs) {
    total += input.frame_count;
    if (total > std::numeric_limits<std::int32_t>::max()) fail_and_exit(Msg::too_many_frames);
  }
  return static_cast<std::int32_t>(total);
}

void release_all(RunState& run) {
  run.inputs.clear();
  run.inputs.shrink_to_fit();
  run.input_files.clear();
  run.ranges.clear();
}

int run_main(int argc, const char* const* argv, const Revision& revision, Console& console) {
  platform::open_closed_std_streams();
  RunState run(console, revision);
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
