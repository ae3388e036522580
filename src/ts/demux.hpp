// --demux: the AAC streams of a recording's first programme, each to an
// ADTS file of its own in the current folder, lost frames filled with
// silence where the recording's clock says they were.
#pragma once

#include <string>

#include "common/console.hpp"

namespace sarnik {

// Writes the files and a line for each to the console. Stops through the
// error exit, with no file left, when the recording cannot be read or
// written out whole.
void demux_recording(const std::string& recording, Console& console);

}  // namespace sarnik
