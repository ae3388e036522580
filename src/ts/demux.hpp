// --demux: the AAC streams of a recording's first programme, each to an
// ADTS file of its own in the current folder, lost frames filled with
// silence where the recording's clock says they were.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/console.hpp"

namespace sarnik {

// The file of the n-th audio stream (from 1) of the recording: its name
// without folders and extension, then " audio<n> DELAY <delay>ms.aac".
std::string demux_output_name(std::string_view recording, std::size_t n, std::int64_t delay_ms);

// ticks of the 90 kHz clock in milliseconds, halves rounded away from zero.
std::int64_t ticks_to_ms(std::int64_t ticks);

// Writes the files and a line for each to the console. Stops through the
// error exit, with no file left, when the recording cannot be read or
// written out whole.
void demux_recording(const std::string& recording, Console& console);

}  // namespace sarnik
