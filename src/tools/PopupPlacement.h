// Where the tool bar's popups open, and the keys that keep them open.
#pragma once

#include "sdk/ui/ContainerUI.h"
#include "sdk/win32.h"

namespace tavi {

// A left or right Ctrl or Shift key is down: the user is choosing several
// entries, so the popup stays open.
bool IsMultiChoiceKeyDown();

// A popup of `size` beside a tool bar button whose screen rectangle is
// `anchor`: centred on the button's left edge but not left of its monitor,
// above the button when it sits in the lower half of the monitor, else
// below it.
RECT PlaceBesideAnchor(const RECT& anchor, TSizeUI size);

// In a mirrored (right-to-left) engine, a rectangle that runs past the
// right edge of the desktop (or of the primary screen while it starts on
// it) is shifted left to end 2 pixels inside.
void KeepInsideScreen(RECT& rect);

}  // namespace tavi
