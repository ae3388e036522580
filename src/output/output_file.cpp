#include "output/output_file.hpp"

#include "common/fail.hpp"
#include "platform/interrupts.hpp"
#include "platform/std_streams.hpp"

namespace sarnik {
namespace {

void refuse_output_over(const platform::FileId& output, const std::vector<std::string>& inputs,
                        const std::optional<platform::FileId>& script) {
  for (const std::string& name : inputs) {
    platform::FileId input{};
    if (platform::file_identity(name.c_str(), input) && input == output) {
      fail_and_exit(Msg::output_is_input);
    }
  }
  if (script == output) fail_and_exit(Msg::output_is_script);
  platform::FileId stream{};
  if (platform::std_stream_identity(platform::StdStream::out, stream) && stream == output) {
    fail_and_exit(Msg::output_is_stdout);
  }
  if (platform::std_stream_identity(platform::StdStream::err, stream) && stream == output) {
    fail_and_exit(Msg::output_is_stderr);
  }
}

}  // namespace

OutputFile::OutputFile(const std::string& name, const std::vector<std::string>& input_names,
                       const std::optional<platform::FileId>& script) {
  // A name that reaches no file yet names none of them.
  platform::FileId existing{};
  if (platform::file_identity(name.c_str(), existing)) {
    refuse_output_over(existing, input_names, script);
  }
  if (!file_.create_write(name.c_str())) fail_and_exit(Msg::output_open_failed);
}

OutputFile::~OutputFile() {
  if (file_.is_open()) static_cast<void>(file_.truncate(0));
}

platform::File& OutputFile::start_writing() {
  platform::empty_on_interrupt(file_);
  return file_;
}

void OutputFile::settle() {
  if (!file_.settle()) fail_and_exit(Msg::output_write_failed);
}

void OutputFile::commit() {
  if (!file_.close()) fail_and_exit(Msg::output_write_failed);
}

}  // namespace sarnik
