// korvane.exe as Windows reads it before running it: the version its Properties page shows,
// which must be the About box's, and the manifest that decides how it runs.
#include "support/TestSupport.h"

#include "KorvaneVersion.h"
#include "framework/CWnd.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// The program file's version resource, read as Explorer reads it: the strings through the
// language and code page of its first translation entry.
class VersionResource {
public:
    explicit VersionResource(const std::string& path)
    {
        DWORD ignored = 0;
        std::wstring widePath = Widen(path);
        m_data.resize(::GetFileVersionInfoSizeW(widePath.c_str(), &ignored));
        if (m_data.empty() || !::GetFileVersionInfoW(widePath.c_str(), 0, static_cast<DWORD>(m_data.size()), m_data.data()))
            m_data.clear();
    }

    template <typename T>
    std::vector<T> Values(const std::string& query) const
    {
        UINT length = 0;
        const T* first = static_cast<const T*>(Query(query, &length));
        return first ? std::vector<T>(first, first + length / sizeof(T)) : std::vector<T>{};
    }

    std::string String(const char* name) const
    {
        std::vector<DWORD> translations = Values<DWORD>("\\VarFileInfo\\Translation");
        if (translations.empty())
            return "";
        char block[32];
        ::wsprintfA(block, "%04x%04x", LOWORD(translations[0]), HIWORD(translations[0]));
        std::string query = std::string("\\StringFileInfo\\") + block + "\\" + name;
        UINT length = 0;
        const auto* text = static_cast<const wchar_t*>(Query(query, &length));
        return text ? Narrow(text) : "";
    }

private:
    const void* Query(const std::string& query, UINT* length) const
    {
        void* value = nullptr;
        if (m_data.empty() || !::VerQueryValueW(m_data.data(), Widen(query).c_str(), &value, length))
            return nullptr;
        return value;
    }

    std::vector<BYTE> m_data;
};

// The texts of the About box that the program file holds, created from it.
std::vector<std::string> AboutBoxTexts(HMODULE program)
{
    HWND box = ::CreateDialogParamW(program, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    std::vector<std::string> texts;
    for (HWND child = box ? ::GetWindow(box, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowTextOf(child));
    if (box)
        ::DestroyWindow(box);
    return texts;
}

std::string Manifest(HMODULE program)
{
    HRSRC found = ::FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? ::LoadResource(program, found) : nullptr;
    return loaded ? std::string(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(program, found))
                  : "";
}

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_module, nullptr); }
    void TearDown() override
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }

    const std::string m_strPath = HelperPath("korvane.exe");
    HMODULE m_module = ::LoadLibraryExA(m_strPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
};
}

TEST_F(ProgramFile, PropertiesShowTheAboutBoxVersionAndTerms)
{
    VersionResource version(m_strPath);
    std::vector<VS_FIXEDFILEINFO> fixed = version.Values<VS_FIXEDFILEINFO>("\\");
    ASSERT_EQ(fixed.size(), 1u);
    const WORD numbers[] = {KORVANE_VERSION_NUMBERS};
    EXPECT_EQ(fixed[0].dwFileVersionMS, MAKELONG(numbers[1], numbers[0]));
    EXPECT_EQ(fixed[0].dwFileVersionLS, MAKELONG(numbers[3], numbers[2]));
    EXPECT_EQ(fixed[0].dwProductVersionMS, fixed[0].dwFileVersionMS);
    EXPECT_EQ(fixed[0].dwProductVersionLS, fixed[0].dwFileVersionLS);
    EXPECT_EQ(fixed[0].dwFileType, static_cast<DWORD>(VFT_APP));

    // Simplified Chinese texts in UTF-16.
    EXPECT_EQ(version.Values<DWORD>("\\VarFileInfo\\Translation"), std::vector<DWORD>{MAKELONG(0x0804, 1200)});
    EXPECT_EQ(version.String("ProductName"), "Korvane");
    EXPECT_EQ(version.String("ProductVersion"), KORVANE_VERSION_TEXT);
    EXPECT_EQ(version.String("FileVersion"), KORVANE_VERSION_TEXT);
    EXPECT_EQ(version.String("OriginalFilename"), "korvane.exe");
    std::string description = version.String("FileDescription");
    EXPECT_EQ(description.rfind("Korvane ", 0), 0u) << description;
    std::wstring wide = Widen(description);
    EXPECT_TRUE(std::any_of(wide.begin(), wide.end(), [](wchar_t c) { return c >= 0x4E00 && c <= 0x9FFF; }))
        << "no Chinese in " << description;

    // The About box of the same file: its version line, and the terms as its indented paragraph.
    std::vector<std::string> about = AboutBoxTexts(m_module);
    EXPECT_NE(std::find(about.begin(), about.end(), std::string("Korvane " KORVANE_VERSION_TEXT " 版")), about.end());
    std::string terms = version.String("LegalCopyright");
    ASSERT_FALSE(terms.empty());
    EXPECT_TRUE(std::any_of(about.begin(), about.end(),
                            [&](const std::string& text) { return text.rfind("    " + terms, 0) == 0; }))
        << "the About box does not show " << terms;
}

TEST_F(ProgramFile, ManifestRunsAsInvokerOnWindows7To11WithTheClassicLook)
{
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = m_strPath.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = ::CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not load: error " << ::GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
    SIZE_T written = 0;
    EXPECT_TRUE(::QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                               sizeof runLevel, &written));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_FALSE(runLevel.UiAccess);
    ::ReleaseActCtx(context);

    std::string manifest = Manifest(m_module);
    const char* const windows7To11[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
    for (const char* id : windows7To11)
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    // Common controls 6 would change the look, DPI awareness the scaling of a layout in pixels.
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}
