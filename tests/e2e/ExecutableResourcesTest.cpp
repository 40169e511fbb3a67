// korvane.exe as Windows reads it before running it: the version its Properties page shows,
// which must be the About box's, and the manifest that decides how it runs.
#include "support/TestSupport.h"

#include "KorvaneVersion.h"
#include "framework/Strings.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
std::wstring ProgramPath()
{
    std::string path = HelperPath("korvane.exe");
    int size = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string ToGbk(const wchar_t* text)
{
    int size = ::WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(936, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

// A program file's version resource, read as Explorer reads it: the strings through the
// language and code page that its translation entry names.
class VersionResource {
public:
    explicit VersionResource(const std::wstring& path)
    {
        DWORD ignored = 0;
        DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
        m_data.resize(size);
        m_bLoaded = size > 0 && ::GetFileVersionInfoW(path.c_str(), 0, size, m_data.data());
    }

    bool Loaded() const { return m_bLoaded; }

    const VS_FIXEDFILEINFO* Fixed() const
    {
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(m_data.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    std::vector<DWORD> Translations() const
    {
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(m_data.data(), L"\\VarFileInfo\\Translation", &value, &length))
            return {};
        const DWORD* entries = static_cast<const DWORD*>(value);
        return std::vector<DWORD>(entries, entries + length / sizeof(DWORD));
    }

    // The string of the first translation, in code page 936; empty when it is missing.
    std::string String(const wchar_t* name) const
    {
        std::vector<DWORD> translations = Translations();
        if (translations.empty())
            return "";
        wchar_t query[128];
        ::wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", LOWORD(translations[0]), HIWORD(translations[0]), name);
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(m_data.data(), query, &value, &length) || length == 0)
            return "";
        return ToGbk(static_cast<const wchar_t*>(value));
    }

private:
    std::vector<BYTE> m_data;
    bool m_bLoaded = false;
};

// The program file loaded as data, for its resources.
class ProgramResources {
public:
    ProgramResources() : m_module(::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramResources()
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    bool Loaded() const { return m_module != nullptr; }

    std::string Manifest() const
    {
        HRSRC found = ::FindResourceW(m_module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
        HGLOBAL loaded = found ? ::LoadResource(m_module, found) : nullptr;
        if (!loaded)
            return "";
        return std::string(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(m_module, found));
    }

    // The texts of the About box's controls, in code page 936.
    std::vector<std::string> AboutBoxTexts() const
    {
        HWND box = ::CreateDialogParamW(m_module, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr,
                                        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        std::vector<std::string> texts;
        for (HWND child = box ? ::GetWindow(box, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[1024] = L"";
            ::GetWindowTextW(child, text, ARRAYSIZE(text));
            texts.push_back(ToGbk(text));
        }
        if (box)
            ::DestroyWindow(box);
        return texts;
    }

private:
    HMODULE m_module;
};

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}
}

TEST(ProgramVersion, PropertiesShowTheAboutBoxVersionAndTerms)
{
    VersionResource version(ProgramPath());
    ASSERT_TRUE(version.Loaded());

    const VS_FIXEDFILEINFO* fixed = version.Fixed();
    ASSERT_NE(fixed, nullptr);
    const WORD numbers[] = {KORVANE_VERSION_NUMBERS};
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(numbers[1], numbers[0]));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(numbers[3], numbers[2]));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // Simplified Chinese texts in UTF-16.
    EXPECT_EQ(version.Translations(), std::vector<DWORD>{MAKELONG(0x0804, 1200)});
    EXPECT_EQ(version.String(L"ProductName"), "Korvane");
    EXPECT_EQ(version.String(L"ProductVersion"), KORVANE_VERSION_TEXT);
    EXPECT_EQ(version.String(L"FileVersion"), KORVANE_VERSION_TEXT);
    EXPECT_EQ(version.String(L"OriginalFilename"), "korvane.exe");
    std::string description = version.String(L"FileDescription");
    EXPECT_EQ(description.rfind("Korvane ", 0), 0u) << description;
    EXPECT_TRUE(std::any_of(description.begin(), description.end(), IsLeadByte)) << "no Chinese in " << description;

    // The About box of the same file: its version line and its terms paragraph, indented.
    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded());
    std::vector<std::string> about = resources.AboutBoxTexts();
    EXPECT_TRUE(Contains(about, Gbk("Korvane " KORVANE_VERSION_TEXT " 版")));
    std::string terms = version.String(L"LegalCopyright");
    ASSERT_FALSE(terms.empty());
    EXPECT_TRUE(std::any_of(about.begin(), about.end(), [&](const std::string& text) {
        return text.rfind("    " + terms, 0) == 0;
    })) << "the About box does not show " << terms;
}

TEST(ProgramManifest, RunsAsInvokerOnWindows7To11WithTheClassicLook)
{
    ACTCTXW request{};
    request.cbSize = sizeof request;
    std::wstring path = ProgramPath();
    request.lpSource = path.c_str();
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = ::CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not load: error " << ::GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
    SIZE_T written = 0;
    EXPECT_TRUE(::QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                               sizeof runLevel, &written));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_FALSE(runLevel.UiAccess);
    ::ReleaseActCtx(context);

    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded());
    std::string manifest = resources.Manifest();
    const char* const supportedSystems[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    for (const char* id : supportedSystems)
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    // Common controls 6 would change the look, DPI awareness the scaling of a layout in pixels.
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}
