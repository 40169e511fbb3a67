// The clipboard's text in UTF-16, read and written for the edit controls and the text control.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

bool PutTextOnClipboard(HWND owner, std::wstring_view text);
// The clipboard's text, or nothing when it holds none or cannot be opened.
std::optional<std::wstring> TextOnClipboard(HWND owner);
