// The information report on a scanned input, and the verdict on editing.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "adts/input_file.hpp"
#include "common/console.hpp"
#include "common/records.hpp"

namespace sarnik {

// Playing time in whole seconds and average bit rate in bits per second,
// both from the first segment's sampling rate; 0 when that rate is 0.
std::uint32_t playing_seconds(std::uint32_t frame_count, std::uint32_t sampling_rate);
std::uint32_t average_bit_rate(std::uint32_t file_size, std::uint32_t frame_count,
                               std::uint32_t sampling_rate);

// Prints the report of one input.
void print_input_report(std::string_view name, const AdtsInput& input, Console& console);

// Whether the inputs can be edited: every frame of each is AAC LC at 48000 Hz
// with one raw data block, and its scan skipped no byte.
bool can_edit(const std::vector<InputFile>& inputs);

}  // namespace sarnik
