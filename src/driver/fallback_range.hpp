#pragma once

#include <cstdint>

#include "common/records.hpp"

namespace sarnik {

// The range over every frame of all inputs, shifted by delay_shift frames: a
// positive shift drops frames at the end, a negative one at the start. A
// range that comes out empty produces no output.
CutRange fallback_range(std::int32_t total_frames, std::int64_t delay_shift);

}  // namespace sarnik
