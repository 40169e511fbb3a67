// Icons appended to image lists of less than 32-bit colour.
#include "framework/IconImages.h"

#include "framework/Handles.h"

#include <cstring>

namespace {
// An icon image as the resource holds it: a header, the colour rows and the AND mask rows,
// both bottom-up.
struct IconImage {
    const BITMAPINFOHEADER* header = nullptr;
    DWORD size = 0;
};

#pragma pack(push, 2)
// An icon group's directory as the resource holds it: a header of three words, then one
// entry an image.
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);
constexpr DWORD kGroupHeaderBytes = 3 * sizeof(WORD);

// The group's image of 32-bit colour and exactly cx × cy, which is what the system picks on a
// display of 32-bit colour; 0 when there is none. Reading the directory spares the system's
// lookup, which asks Wine's server for the display's colour depth every time.
int ExactImageId(const BYTE* directory, DWORD size, int cx, int cy)
{
    if (size < kGroupHeaderBytes)
        return 0;
    WORD count = 0;
    std::memcpy(&count, directory + 2 * sizeof(WORD), sizeof count);
    for (DWORD i = 0; i < count && kGroupHeaderBytes + (i + 1) * sizeof(GroupIconEntry) <= size; ++i) {
        GroupIconEntry entry{};
        std::memcpy(&entry, directory + kGroupHeaderBytes + i * sizeof entry, sizeof entry);
        const int width = entry.width ? entry.width : 256;
        const int height = entry.height ? entry.height : 256;
        if (width == cx && height == cy && entry.bitCount == 32)
            return entry.id;
    }
    return 0;
}

// The image of icon group `id` that the system would pick for cx × cy.
IconImage FindIconImage(HMODULE module, UINT id, int cx, int cy)
{
    HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    HGLOBAL directory = group ? ::LoadResource(module, group) : nullptr;
    auto* entries = directory ? static_cast<BYTE*>(::LockResource(directory)) : nullptr;
    int imageId = entries ? ExactImageId(entries, ::SizeofResource(module, group), cx, cy) : 0;
    if (entries && !imageId)
        imageId = ::LookupIconIdFromDirectoryEx(entries, TRUE, cx, cy, LR_DEFAULTCOLOR);
    HRSRC image = imageId ? ::FindResourceW(module, MAKEINTRESOURCEW(imageId), RT_ICON) : nullptr;
    HGLOBAL loaded = image ? ::LoadResource(module, image) : nullptr;
    if (!loaded)
        return {};
    return {static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)), ::SizeofResource(module, image)};
}

int MaskStride(int cx)
{
    return (cx + 31) / 32 * 4;
}

// Uncompressed 32-bit colour of exactly cx × cy (the height counts the mask too).
bool IsPlainImage(const IconImage& image, int cx, int cy)
{
    const BITMAPINFOHEADER* h = image.header;
    return h && image.size >= sizeof *h && h->biSize == sizeof *h && h->biWidth == cx && h->biHeight == 2 * cy &&
           h->biPlanes == 1 && h->biBitCount == 32 && h->biCompression == BI_RGB &&
           image.size >= sizeof *h + static_cast<DWORD>(cy) * static_cast<DWORD>(cx * 4 + MaskStride(cx));
}

// A bottom-up DIB section of cx × cy at bitCount with the given palette; bits points at its rows.
GdiObject<HBITMAP> MakeDib(int cx, int cy, WORD bitCount, const RGBQUAD* palette, int colours, void** bits)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD palette[2];
    } info{};
    info.header = {sizeof info.header, cx, cy, 1, bitCount, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(info.palette, palette, sizeof(RGBQUAD) * static_cast<size_t>(colours));
    return GdiObject<HBITMAP>(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0));
}

bool AddPlainImage(HIMAGELIST images, const IconImage& image, int cx, int cy)
{
    const auto* colour = reinterpret_cast<const BYTE*>(image.header + 1);
    const BYTE* andMask = colour + static_cast<size_t>(cx) * static_cast<size_t>(cy) * 4;
    void* colourBits = nullptr;
    void* maskBits = nullptr;
    const RGBQUAD blackAndWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    GdiObject<HBITMAP> colourDib = MakeDib(cx, cy, 32, nullptr, 0, &colourBits);
    GdiObject<HBITMAP> maskDib = MakeDib(cx, cy, 1, blackAndWhite, 2, &maskBits);
    if (!colourDib || !maskDib)
        return false;
    // The colours alone: a list of fewer colours has no use for the alpha channel.
    auto* pixels = static_cast<BYTE*>(colourBits);
    for (size_t i = 0, n = static_cast<size_t>(cx) * static_cast<size_t>(cy) * 4; i < n; i += 4) {
        std::memcpy(pixels + i, colour + i, 3);
        pixels[i + 3] = 0;
    }
    std::memcpy(maskBits, andMask, static_cast<size_t>(MaskStride(cx)) * static_cast<size_t>(cy));
    return ImageList_Add(images, colourDib.get(), maskDib.get()) >= 0;
}
}

bool AddIconImage(HIMAGELIST images, HMODULE module, UINT id)
{
    int cx = 0;
    int cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy))
        return false;
    IconImage image = FindIconImage(module, id, cx, cy);
    if (IsPlainImage(image, cx, cy))
        return AddPlainImage(images, image, cx, cy);
    UniqueIcon icon(static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, 0)));
    return icon && ImageList_AddIcon(images, icon.get()) >= 0;
}
