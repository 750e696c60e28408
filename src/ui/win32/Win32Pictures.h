#pragma once

#include <windows.h>

#include <string>

namespace zembrel {

// The name of the bitmap resource that holds a picture of the program's resources: its file
// name in capitals, every other character than a letter or digit made "_" ("splash.png" is
// SPLASH_PNG). The build converts each picture to such a bitmap.
std::string pictureResourceName(const std::string& picture);

// The picture as a device-independent bitmap, with its colours weighted by their opacity when
// it has any, ready for drawing; null when the program holds no such picture.
HBITMAP loadPicture(const std::string& picture);

// Draws the picture at the top left of the rectangle, at its own size: what lies outside is cut
// off, and the background shows through its transparent parts.
void drawPicture(HDC dc, const RECT& rect, HBITMAP picture);

} // namespace zembrel
