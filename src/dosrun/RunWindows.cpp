// The run's windows: made when there is something to show, their input taken between slices.
#include "dosrun/RunWindows.h"

#include "dosrun/RunnerText.h"

#include "korvane-dos.h"

namespace dos {

namespace {
// The program's picture takes this share of the work area's width beside the box's.
constexpr double kScreenShare = 0.6;
}

CRunWindows::CRunWindows(std::wstring title, labbox::CLabBox* box) : m_strTitle(std::move(title)), m_pBox(box)
{
    if (box)
        m_box = std::make_unique<CScreenWindow>(RunnerText::Format(IDS_DOS_LAB_BOX_TITLE, {m_strTitle}),
                                                CScreenWindow::Shape::Picture, CScreenWindow::kLabBoxClassName);
}

void CRunWindows::Show(const machine::ScreenImage& screen, CConsoleScreen* console)
{
    if (m_box)
        m_box->Present(m_pBox->View().picture);
    if (screen.kind == machine::ScreenImage::Kind::Pixels) {
        if (!m_screen)
            MakeScreen();
        m_screen->Present(screen);
        return;
    }
    if (m_screen)
        m_screen->Hide();
    if (console)
        console->Present(screen);
}

void CRunWindows::Wait(DWORD ms) const
{
    // Either window's input wakes the run; the box's is looked at as often.
    if (m_screen)
        m_screen->Wait(m_box ? std::min<DWORD>(ms, 10) : ms);
    else if (m_box)
        m_box->Wait(ms);
}

void CRunWindows::TakeInput(CDosMachine& machine)
{
    if (m_screen) {
        for (const uint16_t key : m_screen->TakeKeys())
            machine.PressKey(key);
        const CScreenWindow::Pointer pointer = m_screen->PointerState();
        machine.SetPointer(pointer.x, pointer.y, pointer.buttons);
    }
    if (m_box)
        for (const machine::DeviceInput& input : m_box->TakeInputs())
            m_pBox->Input(input);
}

void CRunWindows::MakeScreen()
{
    m_screen = std::make_unique<CScreenWindow>(m_strTitle);
    if (!m_box)
        return;
    RECT work{0, 0, 1024, 768};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const Rooms rooms = Split(work);
    m_screen->SetRoom(rooms.screen);
    m_box->SetRoom(rooms.box);
}

CRunWindows::Rooms CRunWindows::Split(const RECT& workArea)
{
    const LONG middle = workArea.left + static_cast<LONG>((workArea.right - workArea.left) * kScreenShare);
    return {RECT{workArea.left, workArea.top, middle, workArea.bottom}, RECT{middle, workArea.top, workArea.right, workArea.bottom}};
}

CScreenWindow::Paints CRunWindows::ScreenPaints() const
{
    return m_screen ? m_screen->PaintCount() : CScreenWindow::Paints{};
}

bool CRunWindows::Closed() const
{
    return (m_screen && m_screen->Closed()) || (m_box && m_box->Closed());
}

}  // namespace dos
