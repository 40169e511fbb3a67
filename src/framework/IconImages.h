// Icons appended to image lists of less than 32-bit colour.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Appends icon `id` of `module` to `images` at the list's image size, with the pixels that
// ImageList_AddIcon gives such a list: the icon's colours, and its AND mask as the list's
// mask. A 32-bit colour image of exactly that size is read straight from the resource, which
// skips making an icon object (a dozen round trips to Wine's server for each icon); any other
// image goes through ImageList_AddIcon. True when the image was added.
bool AddIconImage(HIMAGELIST images, HMODULE module, UINT id);
