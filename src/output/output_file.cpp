#include "output/output_file.hpp"

#include <utility>

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

OutputFile::OutputFile(std::string name) {
  if (!file_.create_new(name.c_str())) {
    platform::FileId existing{};
    fail_and_exit(platform::file_identity(name.c_str(), existing) ? Msg::output_exists
                                                                  : Msg::output_open_failed);
  }
  new_name_ = std::move(name);
}

OutputFile::~OutputFile() {
  if (committed_) return;
  if (!new_name_.empty()) {
    static_cast<void>(file_.close());
    static_cast<void>(platform::remove_file(new_name_.c_str()));
  } else if (file_.is_open()) {
    static_cast<void>(file_.truncate(0));
  }
}

platform::File& OutputFile::start_writing() {
  platform::empty_on_interrupt(file_);
  return file_;
}

void OutputFile::settle() {
  if (!file_.settle()) fail_and_exit(Msg::output_write_failed);
}

void OutputFile::write(const void* bytes, std::size_t n) {
  if (!file_.write_all(bytes, n)) fail_and_exit(Msg::output_write_failed);
}

void OutputFile::close() {
  if (!file_.close()) fail_and_exit(Msg::output_write_failed);
}

void OutputFile::commit() {
  close();
  committed_ = true;
}

}  // namespace sarnik
