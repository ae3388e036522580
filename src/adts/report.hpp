// The information report on one scanned input, with the editable verdict.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/console.hpp"
#include "common/records.hpp"

namespace sarnik {

// Playing time in whole seconds and average bit rate in bits per second,
// both from the first segment's sampling rate; 0 when that rate is 0.
std::uint32_t playing_seconds(std::uint32_t frame_count, std::uint32_t sampling_rate);
std::uint32_t average_bit_rate(std::uint32_t file_size, std::uint32_t frame_count,
                               std::uint32_t sampling_rate);

// Prints the report of one input; clears editable unless every segment is
// AAC LC at 48000 Hz.
void print_input_report(std::string_view name, const AdtsInput& input, bool& editable,
                        Console& console);

}  // namespace sarnik
