#include "ts/outputs.hpp"

#include <utility>

#include "platform/interrupts.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kBufferSize = 256 << 10;

}  // namespace

DemuxOutputs::DemuxOutputs(std::vector<std::string> names)
    : names_(std::move(names)), buffers_(names_.size()) {
  try {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      files_.emplace_back(names_[i]);
      platform::remove_on_interrupt(names_, i + 1);
      buffers_[i].reserve(kBufferSize);
    }
  } catch (...) {
    // The files created so far are removed as files_ goes.
    platform::remove_on_interrupt(names_, 0);
    throw;
  }
}

DemuxOutputs::~DemuxOutputs() {
  if (!kept_) platform::remove_on_interrupt(names_, 0);
}

void DemuxOutputs::write(std::size_t i, const std::uint8_t* bytes, std::size_t n) {
  std::vector<std::uint8_t>& buffer = buffers_[i];
  if (buffer.size() + n > kBufferSize) flush(i);
  buffer.insert(buffer.end(), bytes, bytes + n);
}

void DemuxOutputs::flush(std::size_t i) {
  files_[i].write(buffers_[i].data(), buffers_[i].size());
  buffers_[i].clear();
}

void DemuxOutputs::close_all() {
  for (std::size_t i = 0; i < files_.size(); ++i) {
    flush(i);
    files_[i].close();
  }
}

void DemuxOutputs::keep() {
  platform::remove_on_interrupt(names_, 0);
  for (OutputFile& file : files_) file.commit();
  kept_ = true;
}

}  // namespace sarnik
