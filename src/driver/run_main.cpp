#include "driver/run_main.hpp"

#include <limits>
#include <memory>
#include <new>
#include <system_error>

#include "adts/report.hpp"
#include "adts/scanner.hpp"
#include "common/delay.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "common/frame_count.hpp"
#include "cutlist/trim_source.hpp"
#include "driver/command_line.hpp"
#include "driver/fallback_range.hpp"
#include "driver/run_state.hpp"
#include "output/copy_ahead.hpp"
#include "output/write_output.hpp"

namespace sarnik {
namespace {

// The output must not be created over a file that the run reads: an input
// or the script. Files are compared by identity, not by name.
void refuse_output_over_sources(const RunState& run) {
  platform::FileId output{};
  if (!platform::file_identity(run.settings.output_name->c_str(), output)) return;
  for (const std::string& name : run.settings.input_names) {
    platform::FileId input{};
    if (platform::file_identity(name.c_str(), input) && input == output) {
      fail_and_exit(Msg::output_is_input);
    }
  }
  platform::FileId script{};
  if (run.script_file.is_open() && run.script_file.identity(script) && script == output) {
    fail_and_exit(Msg::output_is_script);
  }
}

// The ranges as they will be if the stream turns out long enough for
// every one of them: what the output is copied ahead for. The ranges taken
// after the scan, from the true frame total, decide what is kept.
std::vector<CutRange> ranges_before_scan(const RunState& run, std::int64_t shift) {
  constexpr std::int32_t kLongest = std::numeric_limits<std::int32_t>::max();
  std::vector<CutRange> ranges;
  if (run.trim_text.present && !run.trim_text.read_failed) {
    read_trim_ranges(run.settings, run.trim_text, kLongest, shift, ranges);
  }
  if (ranges.empty()) ranges.push_back(fallback_range(kLongest, shift));
  return ranges;
}

// Copying ahead needs an output that can be emptied again, and a thread.
std::unique_ptr<CopyAhead> start_copy_ahead(RunState& run) {
  if (!run.output_file.is_regular()) return nullptr;
  const std::int64_t shift = delay_shift_frames(run.settings.delay, run.revision.add);
  try {
    return std::make_unique<CopyAhead>(ranges_before_scan(run, shift), run.settings.input_names,
                                       run.output_file);
  } catch (const std::system_error&) {
    return nullptr;
  }
}

void scan_and_report_inputs(RunState& run, CopyAhead* ahead) {
  for (std::size_t i = 0; i < run.settings.input_names.size(); ++i) {
    const std::string& name = run.settings.input_names[i];
    AdtsInput& input = run.inputs.emplace_back();
    if (ahead != nullptr) ahead->begin_input(i);
    if (scan_adts_file(name.c_str(), &input, run.console, ahead) == kScanSkipped) {
      run.console.out(Msg::frame_drop, {FileName{name}});
      run.editable = false;
    }
    if (ahead != nullptr) ahead->end_input();
    print_input_report(name, input, run.editable, run.console);
    run.console.out(Msg::newline);
    if (!run.editable && ahead != nullptr) ahead->abandon();
  }
}

int run_steps(RunState& run, int argc, const char* const* argv) {
  run.console.out(run.revision.add == 2 ? Msg::banner_add2 : Msg::banner_add3);
  if (parse_command_line(run.settings, argc, argv, run.revision, run.console) == 0) {
    fail_and_exit(Msg::invalid_options, true);
  }
  const bool has_output = run.settings.output_name.has_value();

  // Lives only in this function: should the run stop, it is gone, with the
  // output emptied, before the error is told.
  std::unique_ptr<CopyAhead> ahead;
  if (has_output) {
    open_trim_source(run.settings.trim_argument, run.script_file);
    refuse_output_over_sources(run);
    if (!run.output_file.create_write(run.settings.output_name->c_str())) {
      fail_and_exit(Msg::output_open_failed);
    }
    run.trim_text = load_trim_text(run.settings, run.script_file);
    ahead = start_copy_ahead(run);
  }

  scan_and_report_inputs(run, ahead.get());
  if (!run.editable) {
    run.console.out(Msg::not_editable);
    release_all(run);
    return 0;
  }

  if (has_output) {
    const std::int32_t total = total_frame_count(run.inputs);
    const std::int64_t shift = delay_shift_frames(run.settings.delay, run.revision.add);
    if (read_trim_ranges(run.settings, run.trim_text, total, shift, run.ranges) == 0) {
      run.ranges.push_back(fallback_range(total, shift));
    }
    if (ahead != nullptr) {
      const std::vector<CopyBlock> written = ahead->finish();
      write_output(run.inputs, run.settings.input_names, run.ranges, run.output_file, run.console,
                   &written);
    } else {
      write_output(run.inputs, run.settings.input_names, run.ranges, run.output_file, run.console);
    }
  }
  release_all(run);
  return 0;
}

int fail(RunState& run, const FatalError& error) {
  run.console.err(Msg::error_line, {error.number ? FormatArg(error.message, *error.number)
                                                 : FormatArg(error.message)});
  if (error.with_usage) print_usage(run.console);
  release_all(run);
  run.script_file.close();
  run.output_file.close();
  return 1;
}

}  // namespace

void release_all(RunState& run) {
  run.inputs.clear();
  run.inputs.shrink_to_fit();
  run.ranges.clear();
}

int run_main(int argc, const char* const* argv, const Revision& revision, Console& console) {
  RunState run(console, revision);
  int code = 0;
  try {
    code = run_steps(run, argc, argv);
  } catch (const UsageShown&) {
    code = 0;
  } catch (const FatalError& error) {
    code = fail(run, error);
  } catch (const std::bad_alloc&) {
    code = fail(run, FatalError{Msg::out_of_memory, false, std::nullopt});
  }
  console.flush();
  if (!console.output_ok() && code == 0) {
    console.err(Msg::error_line, {Msg::console_write_failed});
    code = 1;
  }
  return code;
}

}  // namespace sarnik
