// A pane's bar and view.
#include "debugui/PaneHost.h"

#include "framework/Strings.h"
#include "framework/docking/CFrameWnd.h"
#include "resource.h"

#include <algorithm>

namespace {
// A visible child aligned to the top, before docking; shown once it is docked.
constexpr DWORD kBarStyle = WS_CHILD | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
// What the pane texts are in: bytes of the machine's screen, the system's OEM code page.
constexpr UINT kPaneCodePage = CP_OEMCP;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
}

CPaneHost::CPaneHost(CFrameWnd& frame, const PaneInfo& info, const Look& look) : m_info(info)
{
    m_bar.ShowTitle(true);
    m_bar.Create(LoadResString(info.titleId).c_str(), &frame, SIZE{200, 150}, true, info.barId, kBarStyle);
    m_bar.SetBarStyle(m_bar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_bar.EnableDocking(CBRS_ALIGN_ANY);
    m_bWanted = info.shownFirst;
    CreateView(look);
    Configure(info);
}

void CPaneHost::CreateView(const Look& look)
{
    switch (m_info.kind) {
    case PaneKind::Text:
        m_text = std::make_unique<CPaneView>();
        m_text->Create(m_bar, m_info.id, look.font, m_info.scrolls || m_info.log);
        if (m_info.breakpoints)
            m_text->AllowChoosing();
        break;
    case PaneKind::Memory:
        m_memory = std::make_unique<CMemoryPane>();
        m_memory->Create(m_bar, m_info.id, look.font, LoadResString(IDS_MEMORY_ADDRESS));
        break;
    case PaneKind::Screen:
        m_screen = std::make_unique<CScreenView>();
        m_screen->Create(m_bar, m_info.id, look.screenFace);
        break;
    case PaneKind::Command:
        m_command = std::make_unique<CCommandPane>();
        m_command->Create(m_bar, m_info.id, IDC_DEBUG_COMMAND, IDC_DEBUG_COMMAND_OUTPUT, look.font);
        break;
    case PaneKind::Device:
        m_device = std::make_unique<CDeviceView>();
        m_device->Create(m_bar, m_info.id, look.font);
        break;
    }
}

void CPaneHost::Configure(const PaneInfo& info)
{
    m_info = info;
    m_bar.SetWindowText(LoadResString(info.titleId));
    if (m_text)
        m_text->SetMarkLook(info.look);
    if (m_memory)
        m_memory->Configure(info.spacesId ? SplitLines(LoadResString(info.spacesId)) : std::vector<std::string>{},
                            info.spaceLetters, info.firstAddress);
    // A new session's log shows whatever it holds, also when that is nothing.
    m_shownLog.reset();
}

CPaneView* CPaneHost::Lines() const
{
    return m_memory ? &m_memory->View() : m_text.get();
}

HWND CPaneHost::ViewWindow() const
{
    const CWnd* views[] = {m_text.get(), m_memory.get(), m_screen.get(), m_command.get(), m_device.get()};
    for (const CWnd* view : views)
        if (view)
            return view->GetSafeHwnd();
    return nullptr;
}

PaneQuery CPaneHost::Query() const
{
    PaneQuery query;
    if (const CPaneView* lines = Lines(); lines && !m_info.log)
        query.rows = lines->VisibleRows();
    if (m_memory)
        query.expression = m_memory->Expression();
    return query;
}

bool CPaneHost::Show(const PaneContent& content)
{
    if (m_screen)
        m_screen->Show(content.image);
    if (m_device)
        m_device->Show(content);
    if (m_memory) {
        if (!content.text.valid)
            return false;
        m_memory->View().Show(content.text, kPaneCodePage);
    }
    if (m_text) {
        if (m_info.log && m_shownLog == content.text.text)
            return true;
        if (m_info.log)
            m_shownLog = content.text.text;
        m_text->Show(content.text, kPaneCodePage);
        if (m_info.log)
            m_text->ScrollToEnd();
    }
    return true;
}
