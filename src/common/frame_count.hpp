#pragma once

#include <cstdint>
#include <vector>

#include "common/records.hpp"

namespace sarnik {

// The number of frames of all inputs joined. Fails through the error exit
// when the sum does not fit a 32-bit signed frame number.
std::int32_t total_frame_count(const std::vector<AdtsInput>& inputs);

}  // namespace sarnik
