// A picture of a chat window as a person would see it, drawn from the
// stand-in's control tree: the panel's controls where the skin places them,
// the history view as bubbles (the user's own on the right, others' on the
// left, failed ones marked), notices, panes and tip bars, the input with its
// text in its font, the tool bars, and the open menu and popups on top.
#pragma once

#include <string>

#include "sdk/win32.h"

namespace host {

// An SVG document of the window; for a handle that names no chat window, a
// small picture that says so.
std::string DrawWindowPicture(HWND chatWindow);
// Writes the picture into a file; false when the file cannot be written.
bool WriteWindowPicture(HWND chatWindow, const std::string& path);

}  // namespace host
