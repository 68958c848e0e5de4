// Whether a file can go into a message as a picture.
#pragma once

#include <string>

namespace tavi {

// The lower-case extension after the last dot of the file name, without
// the dot; empty when the name has none.
std::u16string LowerExtension(const std::u16string& path);

// One of the picture extensions a message takes (jpg, jpeg, png, bmp, gif).
bool HasPictureExtension(const std::u16string& path);

// A regular, non-empty file that the picture check lets go as a picture
// (not too large) and that loads as one. Devices, pipes and folders are
// refused before anything reads them.
bool IsSendablePictureFile(const std::u16string& path);

}  // namespace tavi
