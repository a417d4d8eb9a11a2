#pragma once

#include <string>

#include "base/trace.h"
#include "gfx/screen.h"

namespace kav {

// Redraws the whole strip (picTim or Picture2) with the text in the digit font over the
// backdrop behind it. Reports a "digits" event.
void DrawDigits(Screen& screen, Pic target, const std::string& text, const Trace& trace);

}  // namespace kav
