#pragma once

#include <cstddef>

#include "gfx/screen.h"
#include "platform/fonts.h"
#include "platform/platform.h"

namespace kav {

struct DialogWindow;

// Paints the whole window, frame and all, into `out` (resized to the window's outer size).
// Without fonts the texts are left out.
void DrawDialogWindow(const DialogWindow& w, const Screen& screen, Fonts* fonts, Surface& out);

// The caret's x inside the input field, and the character nearest to an x there.
int DialogCaretX(const DialogWindow& w, Fonts* fonts);
size_t DialogCaretIndexAt(const DialogWindow& w, Fonts* fonts, int x);

// The crosshair the pointer shows over the dialog.
const PointerShape& DialogPointer(const Screen& screen);

}  // namespace kav
