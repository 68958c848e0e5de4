// What the stand-in's UI pieces share among themselves (not for tests).
#pragma once

#include <cstdint>
#include <string>

#include "sdk/ui/UIDefs.h"

class CControlUI;
class CContainerUI;
class CMenuUI;

namespace sim::ui {

// The file of a resource ("layout/x.xml") in the registered folders, the
// last registered folder first; "" when none has it.
std::string FindResource(const std::string& relative);
// Reads a whole file; false when it cannot be read.
bool ReadFile(const std::string& path, std::string& contents);
// A regular file below the picture check's "too large" size: the only kind
// of file the picture loader reads.
bool IsLoadablePictureFile(const std::string& path);
bool IsValidUtf8(const std::string& text);

// Builds the children of `into` from skin/layout/<dialogId>.xml and applies
// the root element's attributes to it; false when missing or malformed.
bool BuildLayout(const std::u16string& dialogId, CContainerUI* into);

// Controls alive right now, so a timer never reaches a deleted one.
void ControlBorn(CControlUI* control);
void ControlDied(CControlUI* control);
bool IsAlive(const CControlUI* control);

// Counts world resets: a task id taken before a reset means nothing after
// it (ids start over), so objects that outlive a reset must not cancel it.
uint64_t ResetEpoch();

// A shown menu passes to the framework.
void MenuShown(CMenuUI* menu);

}  // namespace sim::ui
