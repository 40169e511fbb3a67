// The frame's commands as the user reaches them: accelerators, status prompts, toolbar
// tooltips and fly-by prompts, the bar toggles of the View menu.
#include "ShellFixture.h"

#include "doc/KorvaneDoc.h"
#include "frame/MainFrame.h"
#include "framework/Unicode.h"
#include "resource.h"
#include "support/ProbeCmdUI.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <ostream>

namespace {
struct Accelerator {
    UINT key;
    BYTE modifiers;
    UINT command;
    const char* name;
};

void PrintTo(const Accelerator& a, std::ostream* out)
{
    *out << a.name;
}

const Accelerator kAccelerators[] = {
    {'N', kCtrl, ID_FILE_NEW, "CtrlN"},          {'O', kCtrl, ID_FILE_OPEN, "CtrlO"},
    {'S', kCtrl, ID_FILE_SAVE, "CtrlS"},         {'Z', kCtrl, ID_EDIT_UNDO, "CtrlZ"},
    {VK_BACK, kAlt, ID_EDIT_UNDO, "AltBack"},    {'X', kCtrl, ID_EDIT_CUT, "CtrlX"},
    {VK_DELETE, kShift, ID_EDIT_CUT, "ShiftDel"}, {'C', kCtrl, ID_EDIT_COPY, "CtrlC"},
    {VK_INSERT, kCtrl, ID_EDIT_COPY, "CtrlIns"}, {'V', kCtrl, ID_EDIT_PASTE, "CtrlV"},
    {VK_INSERT, kShift, ID_EDIT_PASTE, "ShiftIns"}, {VK_F5, 0, ID_COMPILE, "F5"},
    {VK_F7, 0, ID_LINK, "F7"},                   {VK_F8, 0, ID_BUILD, "F8"},
    {VK_F9, 0, ID_RUN, "F9"},                    {VK_F10, 0, ID_DEBUG, "F10"},
    {VK_F6, 0, ID_NEXT_PANE, "F6"},              {VK_F6, kShift, ID_PREV_PANE, "ShiftF6"},
    {'F', kCtrl, ID_EDIT_FIND, "CtrlF"},         {VK_F3, 0, ID_EDIT_REPEAT, "F3"},
    {VK_F3, kShift, ID_EDIT_FIND_PREVIOUS, "ShiftF3"}, {'H', kCtrl, ID_EDIT_REPLACE, "CtrlH"},
    {'G', kCtrl, ID_GOTO_LINE, "CtrlG"},         {'A', kCtrl, ID_EDIT_SELECT_ALL, "CtrlA"},
    {VK_F4, 0, ID_NEXT_MESSAGE, "F4"},           {VK_F4, kShift, ID_PREV_MESSAGE, "ShiftF4"},
};

// Records the commands that reach the frame's window; optionally keeps them from going on.
class FrameCommandRecorder {
public:
    FrameCommandRecorder(HWND frame, bool swallow) : m_hFrame(frame), m_bSwallow(swallow)
    {
        s_pActive = this;
        m_pfnOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameCommandRecorder::Proc)));
    }
    ~FrameCommandRecorder()
    {
        ::SetWindowLongPtrA(m_hFrame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOld));
        s_pActive = nullptr;
    }

    std::vector<UINT> m_ids;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        FrameCommandRecorder* self = s_pActive;
        if (message == WM_COMMAND && lParam == 0) {
            self->m_ids.push_back(LOWORD(wParam));
            if (self->m_bSwallow)
                return 0;
        }
        return ::CallWindowProcA(self->m_pfnOld, wnd, message, wParam, lParam);
    }

    static inline FrameCommandRecorder* s_pActive = nullptr;
    HWND m_hFrame;
    bool m_bSwallow;
    WNDPROC m_pfnOld = nullptr;
};

void SetClipboardText(const std::string& text)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
}

std::string ClipboardText()
{
    std::string text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

class Accelerators : public ShellTest, public ::testing::WithParamInterface<Accelerator> {};
class FrameCommands : public ShellTest {};
}

TEST_P(Accelerators, ReachTheirCommand)
{
    const Accelerator& a = GetParam();
    ASSERT_TRUE(Start());
    // Every edit command has something to work on, so the menu does not grey it out.
    Type("q");
    ::SendMessageA(EditWnd(), EM_SETSEL, 0, 3);
    SetClipboardText("clip");

    FrameCommandRecorder recorder(FrameWnd(), true);
    EXPECT_TRUE(PressAccelerator(EditWnd(), a.key, a.modifiers));
    EXPECT_EQ(recorder.m_ids, std::vector<UINT>{a.command});
}

INSTANTIATE_TEST_SUITE_P(Table, Accelerators, ::testing::ValuesIn(kAccelerators),
                         [](const ::testing::TestParamInfo<Accelerator>& info) { return std::string(info.param.name); });

TEST_F(FrameCommands, ProgramCommandsBelongToTheFrameOnlyThePanelsAreCheckedAndOnlyStopWaitsForAStep)
{
    ASSERT_TRUE(Start());
    const UINT ids[] = {ID_VIEW_OUTPUT, ID_VIEW_UTILITY, ID_COMPILE, ID_LINK,        ID_BUILD,
                        ID_RUN,         ID_DEBUG,        ID_SET_COMPILER, ID_STOP_BUILD};
    for (UINT id : ids) {
        ProbeCmdUI probe(id);
        EXPECT_TRUE(Frame()->CMainFrame::OnCmdMsg(id, &probe)) << id;
        probe.DoUpdate(Frame(), true);
        EXPECT_EQ(probe.m_nEnabled, id != ID_STOP_BUILD ? 1 : 0) << id;
        // Both panels show at the start, and their entries say so.
        const bool panel = id == ID_VIEW_OUTPUT || id == ID_VIEW_UTILITY;
        EXPECT_EQ(probe.m_nCheck, panel ? 1 : -1) << id;
    }
    for (int popup : {2, 3, 4}) {
        for (const MenuEntry& e : PopupEntries(popup)) {
            if (e.id >= ID_VIEW_OUTPUT && e.id <= ID_STOP_BUILD) {
                EXPECT_EQ(e.grayed, e.id == ID_STOP_BUILD) << e.id;
                EXPECT_EQ(e.checked, e.id == ID_VIEW_OUTPUT || e.id == ID_VIEW_UTILITY) << e.id;
            }
        }
    }
    Command(ID_VIEW_OUTPUT);
    ProbeCmdUI hidden(ID_VIEW_OUTPUT);
    hidden.DoUpdate(Frame(), true);
    EXPECT_EQ(hidden.m_nCheck, 0);
    Command(ID_VIEW_OUTPUT);
}

TEST_F(FrameCommands, EditAcceleratorsActOnTheEditor)
{
    ASSERT_TRUE(Start());
    const std::string original = EditorText();
    HWND edit = EditWnd();

    Type("q");
    PressAccelerator(edit, 'Z', kCtrl);
    EXPECT_EQ(EditorText(), original);

    // Selections stay in ASCII text, where character and byte positions agree.
    Type("abcdef");
    ::SendMessageA(edit, EM_SETSEL, 0, 5);
    PressAccelerator(edit, 'C', kCtrl);
    EXPECT_EQ(ClipboardText(), "abcde");
    ::SendMessageA(edit, EM_SETSEL, 1, 3);
    PressAccelerator(edit, VK_INSERT, kCtrl);
    EXPECT_EQ(ClipboardText(), "bc");

    ::SendMessageA(edit, EM_SETSEL, 0, 1);
    PressAccelerator(edit, 'X', kCtrl);
    EXPECT_EQ(ClipboardText(), "a");
    EXPECT_EQ(EditorText(), "bcdef" + original);
    EXPECT_TRUE(Doc()->IsModified());

    SetClipboardText("AB");
    ::SendMessageA(edit, EM_SETSEL, 0, 0);
    PressAccelerator(edit, 'V', kCtrl);
    PressAccelerator(edit, VK_INSERT, kShift);
    EXPECT_EQ(EditorText(), "ABABbcdef" + original);

    ::SendMessageA(edit, EM_SETSEL, 0, 2);
    PressAccelerator(edit, VK_DELETE, kShift);
    EXPECT_EQ(EditorText(), "ABbcdef" + original);
    EXPECT_EQ(ClipboardText(), "AB");
    PressAccelerator(edit, VK_BACK, kAlt);
    EXPECT_EQ(EditorText(), "ABABbcdef" + original);
}

TEST_F(FrameCommands, FileAcceleratorsActOnTheDocument)
{
    ScratchDir dir("frame-keys");
    ASSERT_TRUE(Start());
    Type("q");
    m_dialogs.QueueAnswer(dir.File("keys.asm"));
    PressAccelerator(EditWnd(), 'S', kCtrl);
    EXPECT_EQ(m_dialogs.LastInitialName(), std::string("无标题.asm"));
    EXPECT_EQ(Title(), "keys.asm - Korvane");

    Type("r");
    m_boxes.QueueAnswer(IDNO);
    PressAccelerator(EditWnd(), 'N', kCtrl);
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(Title(), std::string("无标题 - Korvane"));

    PressAccelerator(EditWnd(), 'O', kCtrl);
    EXPECT_EQ(m_dialogs.Count(), 2);
    EXPECT_EQ(m_dialogs.LastTitle(), std::string("打开"));
}

TEST_F(FrameCommands, GreyedEditCommandsIgnoreTheirKeys)
{
    ASSERT_TRUE(Start());
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    FrameCommandRecorder recorder(FrameWnd(), true);
    PressAccelerator(EditWnd(), 'Z', kCtrl);
    PressAccelerator(EditWnd(), 'X', kCtrl);
    PressAccelerator(EditWnd(), 'C', kCtrl);
    PressAccelerator(EditWnd(), 'V', kCtrl);
    EXPECT_TRUE(recorder.m_ids.empty());
    std::vector<MenuEntry> edit = PopupEntries(1);
    for (const MenuEntry& e : edit) {
        if (e.id == 0)
            continue;
        const bool needsSomething =
            e.id == ID_EDIT_UNDO || e.id == ID_EDIT_REDO || e.id == ID_EDIT_CUT || e.id == ID_EDIT_COPY ||
            e.id == ID_EDIT_PASTE;
        EXPECT_EQ(e.grayed, needsSomething) << e.text;
    }
}

TEST_F(FrameCommands, MenuSelectionShowsPromptsAndIdleText)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(StatusText(), std::string("就绪"));
    struct Prompt {
        UINT id;
        const char* text;
    };
    const Prompt prompts[] = {{ID_VIEW_OUTPUT, "显示输出栏"},    {ID_VIEW_UTILITY, "显示实用工具栏"},
                              {ID_COMPILE, "编译"},              {ID_LINK, "连接"},
                              {ID_BUILD, "构建"},                {ID_RUN, "运行"},
                              {ID_DEBUG, ""},                    {ID_SET_COMPILER, ""},
                              {ID_STOP_BUILD, "停止正在运行的编译或连接"},
                              {ID_FILE_NEW, "建立新文档"},       {ID_FILE_OPEN, "打开一个现有文档"},
                              {ID_EDIT_UNDO, "撤消最后一步操作"}, {ID_VIEW_TOOLBAR, "显示或隐藏工具栏"}};
    HMENU menu = ::GetMenu(FrameWnd());
    for (const Prompt& p : prompts) {
        StatusBar(*Frame()).SetPaneText(0, "x");
        ::SendMessageA(FrameWnd(), WM_MENUSELECT, MAKEWPARAM(p.id, MF_HILITE), reinterpret_cast<LPARAM>(menu));
        EXPECT_EQ(StatusText(), std::string(p.text)) << p.id;
    }
    ::SendMessageA(FrameWnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(), std::string("就绪"));
}

TEST_F(FrameCommands, ToolbarTooltipsAndFlyByPrompts)
{
    ASSERT_TRUE(Start());
    struct Tip {
        UINT id;
        const char* tip;
    };
    const Tip tips[] = {{ID_FILE_NEW, "新建"}, {ID_FILE_OPEN, "打开"},  {ID_FILE_SAVE, "保存"}, {ID_VIEW_UTILITY, ""},
                        {ID_VIEW_OUTPUT, ""}, {ID_COMPILE, "编译 (F5)"}, {ID_LINK, "连接 (F7)"}, {ID_BUILD, "构建 (F8)"},
                        {ID_RUN, "运行 (F9)"}, {ID_APP_ABOUT, "关于"}};
    for (const Tip& t : tips) {
        NMTTDISPINFOW info{};
        info.hdr.code = TTN_GETDISPINFOW;
        info.hdr.idFrom = t.id;
        ::SendMessageW(FrameWnd(), WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&info));
        std::string shown = Narrow(info.lpszText ? info.lpszText : info.szText);

        EXPECT_EQ(shown, std::string(t.tip)) << t.id;
    }

    CToolBar& toolBar = ToolBar(*Frame());
    HWND bar = toolBar.GetSafeHwnd();
    auto indexOf = [&](UINT id) {
        return static_cast<int>(::SendMessageA(bar, TB_COMMANDTOINDEX, id, 0));
    };
    ::SendMessageA(bar, TB_SETHOTITEM, indexOf(ID_FILE_NEW), 0);
    PumpMessages();
    EXPECT_EQ(StatusText(), std::string("建立新文档"));
    ::SendMessageA(bar, TB_SETHOTITEM, indexOf(ID_COMPILE), 0);
    PumpMessages();
    EXPECT_EQ(StatusText(), std::string("编译"));
    ::SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    PumpMessages();
    EXPECT_EQ(StatusText(), std::string("就绪"));

    // Debug and the compiler settings have no button.
    EXPECT_EQ(indexOf(ID_DEBUG), -1);
    EXPECT_EQ(indexOf(ID_SET_COMPILER), -1);
}

TEST_F(FrameCommands, ViewMenuTogglesToolbarAndStatusBar)
{
    ASSERT_TRUE(Start());
    struct Bar {
        UINT id;
        HWND wnd;
        const char* text;
    };
    const Bar bars[] = {{ID_VIEW_TOOLBAR, ToolBar(*Frame()).GetSafeHwnd(), "工具栏(&T)"},
                        {ID_VIEW_STATUS_BAR, StatusBar(*Frame()).GetSafeHwnd(), "状态栏(&S)"}};
    auto entryFor = [&](UINT id) {
        for (const MenuEntry& e : PopupEntries(2)) {
            if (e.id == id)
                return e;
        }
        return MenuEntry{0, "", false, false};
    };
    auto editorRect = [&] {
        RECT rc{};
        ::GetWindowRect(EditWnd(), &rc);
        return rc;
    };
    for (const Bar& b : bars) {
        MenuEntry entry = entryFor(b.id);
        EXPECT_EQ(entry.text, std::string(b.text));
        EXPECT_TRUE(entry.checked) << b.text;
        EXPECT_TRUE(::IsWindowVisible(b.wnd));
        RECT before = editorRect();

        Command(b.id);
        EXPECT_FALSE(::IsWindowVisible(b.wnd)) << b.text;
        EXPECT_FALSE(entryFor(b.id).checked) << b.text;
        RECT hidden = editorRect();
        EXPECT_GT(hidden.bottom - hidden.top, before.bottom - before.top) << "the editor takes the bar's room";

        Command(b.id);
        EXPECT_TRUE(::IsWindowVisible(b.wnd)) << b.text;
        EXPECT_TRUE(entryFor(b.id).checked) << b.text;
        RECT shown = editorRect();
        EXPECT_EQ(shown.bottom - shown.top, before.bottom - before.top);
    }
}

// The program's dialogs open over the main window, wherever it stands.
TEST_F(FrameCommands, DialogsOpenCentredOverTheMainWindow)
{
    ASSERT_TRUE(Start());
    ::SetWindowPos(FrameWnd(), nullptr, 120, 60, 900, 640, SWP_NOZORDER);
    RECT frame{};
    ::GetWindowRect(FrameWnd(), &frame);
    const POINT frameCentre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    for (UINT command : {ID_GOTO_LINE, ID_APP_ABOUT, ID_SET_COMPILER}) {
        POINT centre{};
        WhenDialogShows([&](HWND dialog) {
            RECT own{};
            ::GetWindowRect(dialog, &own);
            centre = POINT{(own.left + own.right) / 2, (own.top + own.bottom) / 2};
            ::EndDialog(dialog, IDCANCEL);
        });
        Command(command);
        EXPECT_LE(std::abs(centre.x - frameCentre.x), 2) << command;
        EXPECT_LE(std::abs(centre.y - frameCentre.y), 2) << command;
    }
}
