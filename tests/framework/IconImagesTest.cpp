// Icons appended to 8-bit image lists from their resource bits: the same image and mask
// pixels as ImageList_AddIcon gives, for the toolbar's icons and for icons it cannot read.
#include "framework/Handles.h"
#include "framework/IconImages.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

namespace {
const UINT kToolBarIcons[] = {IDI_TB_NEW,     IDI_TB_OPEN, IDI_TB_SAVE,  IDI_TB_UTILITY, IDI_TB_OUTPUT,
                              IDI_TB_COMPILE, IDI_TB_LINK, IDI_TB_BUILD, IDI_TB_RUN,     IDI_TB_ABOUT};

std::vector<DWORD> PixelsOf(HBITMAP bitmap)
{
    BITMAP shape{};
    ::GetObjectW(bitmap, sizeof shape, &shape);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, shape.bmWidth, -shape.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(shape.bmWidth) * static_cast<size_t>(shape.bmHeight));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// An 8-bit list with a mask, as the toolbar's, holding the icons added one way or the other.
struct ListContents {
    int count;
    std::vector<DWORD> image;
    std::vector<DWORD> mask;
};

template <typename Add> ListContents ListOf(int size, const std::vector<UINT>& ids, Add add)
{
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR8 | ILC_MASK, 4, 4));
    for (UINT id : ids)
        add(images.get(), id);
    IMAGEINFO info{};
    ImageList_GetImageInfo(images.get(), 0, &info);
    return {ImageList_GetImageCount(images.get()), PixelsOf(info.hbmImage), PixelsOf(info.hbmMask)};
}

ListContents FromResourceBits(int size, const std::vector<UINT>& ids)
{
    return ListOf(size, ids, [](HIMAGELIST images, UINT id) {
        EXPECT_TRUE(AddIconImage(images, ::GetModuleHandleW(nullptr), id)) << id;
    });
}

ListContents FromIcons(int size, const std::vector<UINT>& ids)
{
    return ListOf(size, ids, [size](HIMAGELIST images, UINT id) {
        UniqueIcon icon(static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
        ImageList_AddIcon(images, icon.get());
    });
}

void ExpectSameContents(int size, const std::vector<UINT>& ids)
{
    ListContents ours = FromResourceBits(size, ids);
    ListContents system = FromIcons(size, ids);
    EXPECT_EQ(ours.count, static_cast<int>(ids.size()));
    EXPECT_EQ(ours.count, system.count);
    EXPECT_TRUE(ours.image == system.image) << "image pixels differ at " << size << " pixels";
    EXPECT_TRUE(ours.mask == system.mask) << "mask pixels differ at " << size << " pixels";
}
}

TEST(IconImages, ToolbarIconsGetTheSystemsPixelsAndMasks)
{
    ExpectSameContents(32, std::vector<UINT>(std::begin(kToolBarIcons), std::end(kToolBarIcons)));
}

// Rows of a 16-pixel mask are padded to four bytes.
TEST(IconImages, SixteenPixelImagesAreReadWithTheirPaddedMaskRows)
{
    ExpectSameContents(16, {IDR_MAINFRAME, IDI_DOCUMENT, IDI_UTILITY_PAGE});
}

// The utility page's icon has no 32-pixel image: the system scales the one it has.
TEST(IconImages, AnIconWithoutAnImageOfTheListsSizeIsScaledAsTheSystemDoes)
{
    ExpectSameContents(32, {IDI_UTILITY_PAGE, IDI_TB_NEW});
}

TEST(IconImages, AMissingIconAddsNothing)
{
    UniqueImageList images(ImageList_Create(32, 32, ILC_COLOR8 | ILC_MASK, 4, 4));
    EXPECT_FALSE(AddIconImage(images.get(), ::GetModuleHandleW(nullptr), 9999));
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 0);
}
