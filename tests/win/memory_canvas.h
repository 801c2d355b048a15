#pragma once
// A 32-bit top-down bitmap selected into a memory device context, filled with one colour: what
// a control draws or paints is read back from here, not from the screen.
#include <windows.h>

struct MemoryCanvas {
    int width, height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* pixels = nullptr;

    MemoryCanvas(int w, int h, DWORD background) : width(w), height(h)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<DWORD*>(bits);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < width * height; ++i)
            pixels[i] = background;
        GdiFlush();
    }
    ~MemoryCanvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    // The colour at x, y as 0xRRGGBB.
    DWORD At(int x, int y) const { return pixels[y * width + x] & 0xffffff; }
};
