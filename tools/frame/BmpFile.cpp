#include "BmpFile.h"

#include <cstdio>

namespace {
// Rows of 24-bit pixels are padded to whole 32-bit words.
DWORD RowBytes(int width) {
    return (static_cast<DWORD>(width) * 3 + 3) & ~3u;
}

BITMAPINFOHEADER BottomUp24(int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up, as a BMP file stores it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = RowBytes(width) * static_cast<DWORD>(height);
    return header;
}

bool WriteFile(const std::string &path, const BITMAPINFOHEADER &info, const void *bits) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                   std::fwrite(&info, sizeof info, 1, out) == 1 &&
                   std::fwrite(bits, info.biSizeImage, 1, out) == 1;
    return std::fclose(out) == 0 && written;
}
} // namespace

// The pixels go through a DIB section of the file's own layout, so they are
// written exactly as the back buffer holds them.
bool WriteBmp(HDC source, int width, int height, const std::string &path) {
    BITMAPINFO info{};
    info.bmiHeader = BottomUp24(width, height);
    void *bits = nullptr;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section)
        return false;
    bool ok = false;
    if (HDC copy = CreateCompatibleDC(source)) {
        HGDIOBJ previous = SelectObject(copy, section);
        ok = BitBlt(copy, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(copy, previous);
        DeleteDC(copy);
    }
    ok = ok && WriteFile(path, info.bmiHeader, bits);
    DeleteObject(section);
    return ok;
}
