// The UI framework extensions' picture check.
#pragma once

// How a picture file may go into a message: 0 as a picture, 1 too large
// to send at all, 2 too large for a picture but fine as a file.
int GdiplusLoadImage(const char16_t* path);
