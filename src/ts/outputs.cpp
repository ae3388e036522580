#include "ts/outputs.hpp"

#include <cstring>

#include "common/fail.hpp"
#include "platform/interrupts.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kBufferSize = 256 << 10;

}  // namespace

DemuxOutputs::DemuxOutputs(std::vector<std::string> names)
    : names_(std::move(names)), files_(names_.size()), buffers_(names_.size()) {
  for (; created_ < names_.size(); ++created_) {
    const char* name = names_[created_].c_str();
    if (!files_[created_].create_new(name)) {
      platform::FileId existing{};
      remove_all();
      fail_and_exit(platform::file_identity(name, existing) ? Msg::output_exists
                                                            : Msg::output_open_failed);
    }
    platform::remove_on_interrupt(names_, created_ + 1);
    buffers_[created_].reserve(kBufferSize);
  }
}

DemuxOutputs::~DemuxOutputs() {
  if (!kept_) remove_all();
}

void DemuxOutputs::remove_all() noexcept {
  platform::remove_on_interrupt(names_, 0);
  for (std::size_t i = 0; i < created_; ++i) {
    static_cast<void>(files_[i].close());
    static_cast<void>(platform::remove_file(names_[i].c_str()));
  }
  created_ = 0;
}

void DemuxOutputs::write(std::size_t i, const std::uint8_t* bytes, std::size_t n) {
  std::vector<std::uint8_t>& buffer = buffers_[i];
  if (buffer.size() + n > kBufferSize) flush(i);
  buffer.insert(buffer.end(), bytes, bytes + n);
}

void DemuxOutputs::flush(std::size_t i) {
  if (!files_[i].write_all(buffers_[i].data(), buffers_[i].size())) {
    fail_and_exit(Msg::output_write_failed);
  }
  buffers_[i].clear();
}

void DemuxOutputs::close_all() {
  for (std::size_t i = 0; i < files_.size(); ++i) {
    flush(i);
    if (!files_[i].close()) fail_and_exit(Msg::output_write_failed);
  }
}

void DemuxOutputs::keep() {
  platform::remove_on_interrupt(names_, 0);
  kept_ = true;
}

}  // namespace sarnik
