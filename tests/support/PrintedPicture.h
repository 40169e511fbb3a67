// A window's client area printed through WM_PRINTCLIENT into a 32-bit DIB, and the check that
// it shows a machine's picture scaled into a rectangle of it: each of the picture's pixels at
// the middle of the span it is stretched over. Header only: the DOS machine's tests, which
// link none of the application, use it too.
#pragma once

#include "doshost/PictureDrawing.h"
#include "machine/ScreenImage.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace PrintedPicture {

// A 32-bit top-down DIB section selected into a memory DC, and its pixels as 0x00RRGGBB.
class Surface {
public:
    explicit Surface(SIZE size) : m_size(size), m_dc(::CreateCompatibleDC(nullptr))
    {
        const BITMAPINFO info = dos::TopDownBitmapInfo(size.cx, size.cy);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~Surface()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC Dc() const { return m_dc; }
    std::vector<uint32_t> Pixels() const
    {
        ::GdiFlush();
        if (!m_bits)
            return {};
        const auto* pixels = static_cast<const uint32_t*>(m_bits);
        std::vector<uint32_t> copy(pixels, pixels + static_cast<size_t>(m_size.cx) * static_cast<size_t>(m_size.cy));
        for (uint32_t& pixel : copy)
            pixel &= 0xFFFFFF;
        return copy;
    }

private:
    SIZE m_size;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

inline std::vector<uint32_t> PrintClient(HWND window, SIZE size)
{
    const Surface surface(size);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Dc()), PRF_CLIENT);
    return surface.Pixels();
}

// The first pixel of the picture the print shows otherwise ("x,y: 0xRRGGBB printed 0xRRGGBB"),
// or "" when the print shows them all; `shown` is where the picture should be, at least as large
// as the picture.
inline std::string FirstDifference(const std::vector<uint32_t>& printed, SIZE size, const RECT& shown,
                                   const machine::ScreenImage& picture)
{
    if (printed.size() != static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy))
        return "nothing printed";
    const long width = shown.right - shown.left, height = shown.bottom - shown.top;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const long px = shown.left + (2L * x + 1) * width / (2L * picture.width);
            const long py = shown.top + (2L * y + 1) * height / (2L * picture.height);
            const uint32_t want = picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)];
            const uint32_t got = px >= 0 && py >= 0 && px < size.cx && py < size.cy
                                     ? printed[static_cast<size_t>(py) * static_cast<size_t>(size.cx) + static_cast<size_t>(px)]
                                     : 0xFF000000u;
            if (got != want) {
                char text[80];
                std::snprintf(text, sizeof text, "%d,%d: 0x%06X printed 0x%06X", x, y, static_cast<unsigned>(want),
                              static_cast<unsigned>(got));
                return text;
            }
        }
    }
    return "";
}

}  // namespace PrintedPicture
