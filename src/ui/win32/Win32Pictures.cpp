#include "ui/win32/Win32Pictures.h"

#include <algorithm>
#include <cctype>

namespace zembrel {

std::string pictureResourceName(const std::string& picture) {
    std::string name = picture;
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        c = std::isalnum(byte) && byte < 0x80 ? static_cast<char>(std::toupper(byte)) : '_';
    }
    return name;
}

HBITMAP loadPicture(const std::string& picture) {
    const std::string name = pictureResourceName(picture);
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name.c_str(),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION dib{};
    if (!bitmap || GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib ||
        dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits)
        return bitmap;
    // AlphaBlend takes colours already weighted by their opacity; the file holds them plain.
    auto* pixel = static_cast<unsigned char*>(dib.dsBm.bmBits);
    const long count = long(dib.dsBm.bmWidth) * std::abs(dib.dsBm.bmHeight);
    for (long i = 0; i < count; ++i, pixel += 4)
        for (int c = 0; c < 3; ++c)
            pixel[c] = static_cast<unsigned char>(pixel[c] * pixel[3] / 255);
    return bitmap;
}

void drawPicture(HDC dc, const RECT& rect, HBITMAP picture) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP size{};
    if (!picture || !GetObjectA(picture, sizeof size, &size))
        return;
    const int width = std::min<int>(size.bmWidth, rect.right - rect.left);
    const int height = std::min<int>(size.bmHeight, rect.bottom - rect.top);
    HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, picture);
    if (size.bmBitsPixel == 32) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, rect.left, rect.top, width, height, memory, 0, 0, width, height, blend);
    } else {
        BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
}

} // namespace zembrel
