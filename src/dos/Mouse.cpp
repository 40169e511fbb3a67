// The mouse driver's INT 33h, its picture of the screen, and its calls of the program's event
// handler through IRQ 12.
#include "dos/Mouse.h"

#include "dos/DeviceText.h"
#include "dos/DosLayout.h"

#include <algorithm>

namespace dos {

using namespace DosLayout;

namespace {

// The arrow of the mouse programming reference, its hot spot at its tip (0, 0).
constexpr std::array<uint16_t, 16> kArrowScreen = {0x3FFF, 0x1FFF, 0x0FFF, 0x07FF, 0x03FF, 0x01FF, 0x00FF, 0x007F,
                                                   0x003F, 0x001F, 0x01FF, 0x10FF, 0x30FF, 0xF87F, 0xF87F, 0xFC3F};
constexpr std::array<uint16_t, 16> kArrowCursor = {0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00,
                                                   0x7F80, 0x7C00, 0x6C00, 0x4600, 0x0600, 0x0300, 0x0300, 0x0000};
// The handler's return: POP ES, DS, BP, DI, SI, DX, CX, BX, AX; JMP FAR to INT 74h's mark,
// which returns from the interrupt as IRET and tells the driver the handler is done.
constexpr uint8_t kReturnCode[] = {0x07, 0x1F, 0x5D, 0x5F, 0x5E, 0x5A, 0x59, 0x5B, 0x58, 0xEA,
                                   ServiceOffset(CMouse::kIrqVector) & 0xFF, ServiceOffset(CMouse::kIrqVector) >> 8,
                                   kServiceSegment & 0xFF, kServiceSegment >> 8};
// Version 8.05 of a PS/2 mouse's driver (type 4, no IRQ of the bus mice).
constexpr uint16_t kVersion = 0x0805;
constexpr uint16_t kPs2Type = 0x0400;
constexpr uint16_t kInstalled = 0xFFFF;
constexpr uint16_t kButtons = 2;
// The condition bit of motion in the handler's call mask and in its AX; the buttons' follow.
constexpr uint16_t kMoved = 0x01;

// The graphics modes' pixels, by mode number.
struct GraphicsSize {
    uint8_t mode;
    int width;
    int height;
};
constexpr GraphicsSize kGraphicsSizes[] = {{0x04, 320, 200}, {0x05, 320, 200}, {0x06, 640, 200}, {0x0D, 320, 200},
                                           {0x0E, 640, 200}, {0x0F, 640, 350}, {0x10, 640, 350}, {0x11, 640, 480},
                                           {0x12, 640, 480}, {0x13, 320, 200}};

int Clamp(int value, int first, int last) { return std::max(first, std::min(value, last)); }

}

CMouse::Screen CMouse::CurrentScreen() const
{
    Screen screen;
    if (m_adapter.Layout() == VgaMode::Layout::Text) {
        screen.text = true;
        screen.width = std::max<int>(m_memory.Read8(kBiosDataSegment, Bda::kColumns), 1);
        screen.height = m_memory.Read8(kBiosDataSegment, Bda::kRowsMinusOne) + 1;
        screen.unitX = screen.width <= 40 ? 16 : 8;
        screen.unitY = 8;
        return screen;
    }
    const uint8_t mode = m_memory.Read8(kBiosDataSegment, Bda::kVideoMode) & 0x7F;
    for (const GraphicsSize& size : kGraphicsSizes) {
        if (size.mode == mode) {
            screen.width = size.width;
            screen.height = size.height;
        }
    }
    screen.unitX = screen.width == 320 ? 2 : 1;
    return screen;
}

void CMouse::ResetScreen()
{
    m_cursor.Forget();
    const Screen screen = CurrentScreen();
    m_nMinX = 0;
    m_nMinY = 0;
    m_nMaxX = screen.width * screen.unitX - 1;
    m_nMaxY = screen.height * screen.unitY - 1;
    m_nX = (m_nMaxX + 1) / 2;
    m_nY = (m_nMaxY + 1) / 2;
    m_nShown = -1;
}

void CMouse::ResetDriver()
{
    m_cursor.Erase();
    ResetScreen();
    m_presses = {};
    m_releases = {};
    m_nMickeysX = m_nMickeysY = 0;
    m_nRatioX = 8;
    m_nRatioY = 16;
    m_shape = {kArrowScreen, kArrowCursor, 0, 0};
    m_textShape = {};
    m_nCallMask = 0;
    m_nConditions = 0;
    m_bRequest = false;
}

void CMouse::Reset()
{
    for (size_t i = 0; i < sizeof kReturnCode; ++i)
        m_memory.Write8(kServiceSegment, static_cast<uint16_t>(kReturnOffset + i), kReturnCode[i]);
    m_memory.Write8(kServiceSegment, kBusyOffset, 0);
    m_cursor.Forget();
    m_nSpeedX = m_nSpeedY = m_nThreshold = 50;
    m_nHandlerSegment = m_nHandlerOffset = 0;
    m_nButtons = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bNext = false;
        m_pointer = m_next = Pointer{};
    }
    ResetDriver();
}

void CMouse::SetPointer(int x, int y, unsigned buttons)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_next = {x, y, buttons & 7};
    m_bNext = true;
}

uint64_t CMouse::Advance(uint64_t)
{
    Pointer pointer;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_bNext)
            return kNever;
        m_bNext = false;
        pointer = m_next;
    }
    Follow(pointer);
    return kNever;
}

void CMouse::Follow(const Pointer& pointer)
{
    const Screen screen = CurrentScreen();
    // The picture's pixels in the driver's units; a text cell is 8 pixels each way there.
    const int pictureCell = screen.text ? 8 : 1;
    const int x = pointer.x * screen.unitX / pictureCell, y = pointer.y * screen.unitY / pictureCell;
    const bool moved = pointer.x != m_pointer.x || pointer.y != m_pointer.y;
    m_pointer = pointer;
    uint16_t conditions = 0;
    if (moved) {
        const int oldX = m_nX, oldY = m_nY;
        Move(x, y);
        m_nMickeysX = static_cast<int16_t>(m_nMickeysX + (m_nX - oldX) * m_nRatioX / 8);
        m_nMickeysY = static_cast<int16_t>(m_nMickeysY + (m_nY - oldY) * m_nRatioY / 8);
        if (m_nX != oldX || m_nY != oldY)
            conditions |= kMoved;
    }
    for (unsigned button = 0; button < 3; ++button) {
        const bool was = (m_nButtons >> button) & 1, is = (pointer.buttons >> button) & 1;
        if (was == is)
            continue;
        ButtonRecord& record = is ? m_presses[button] : m_releases[button];
        record = {static_cast<uint16_t>(record.count + 1), static_cast<uint16_t>(m_nX), static_cast<uint16_t>(m_nY)};
        // Left pressed is bit 1, released bit 2; right 3 and 4; middle 5 and 6.
        conditions |= static_cast<uint16_t>(1u << (1 + button * 2 + (is ? 0 : 1)));
    }
    m_nButtons = pointer.buttons;
    m_nConditions |= conditions;
    if (conditions & m_nCallMask)
        m_bRequest = true;
}

void CMouse::Move(int x, int y)
{
    m_nX = Clamp(x, m_nMinX, m_nMaxX);
    m_nY = Clamp(y, m_nMinY, m_nMaxY);
    if (m_nShown == 0)
        Redraw();
}

void CMouse::Redraw()
{
    const Screen screen = CurrentScreen();
    if (screen.text) {
        const bool mono = (m_memory.Read8(kBiosDataSegment, Bda::kVideoMode) & 0x7F) == 7;
        m_cursor.DrawText(m_textShape, m_nY / screen.unitY, m_nX / screen.unitX, screen.width, mono);
    } else {
        m_cursor.DrawGraphics(m_shape, m_nX / screen.unitX, m_nY, screen.width, screen.height);
    }
}

void CMouse::Show()
{
    if (m_nShown < 0 && ++m_nShown == 0)
        Redraw();
}

void CMouse::Hide()
{
    if (m_nShown-- == 0)
        m_cursor.Erase();
}

void CMouse::BeforeScreenService() { m_cursor.Erase(); }

void CMouse::AfterScreenService(bool modeSet)
{
    if (modeSet)
        ResetScreen();
    else if (m_nShown == 0)
        Redraw();
}

void CMouse::ButtonInfo(CpuState& state, bool presses)
{
    const uint16_t button = state.bx();
    state.ax() = static_cast<uint16_t>(m_nButtons);
    if (button >= m_presses.size()) {
        state.bx() = state.cx() = state.dx() = 0;
        return;
    }
    ButtonRecord& record = presses ? m_presses[button] : m_releases[button];
    state.bx() = record.count;
    state.cx() = record.x;
    state.dx() = record.y;
    record.count = 0;
}

void CMouse::SetRange(int& first, int& last, uint16_t a, uint16_t b)
{
    const int low = static_cast<int16_t>(a), high = static_cast<int16_t>(b);
    first = std::min(low, high);
    last = std::max(low, high);
    Move(m_nX, m_nY);
}

void CMouse::DefineGraphicsCursor(CpuState& state)
{
    for (uint16_t row = 0; row < 16; ++row) {
        m_shape.screenMask[row] = m_memory.Read16(state.es(), static_cast<uint16_t>(state.dx() + row * 2));
        m_shape.cursorMask[row] = m_memory.Read16(state.es(), static_cast<uint16_t>(state.dx() + 32 + row * 2));
    }
    m_shape.hotX = static_cast<int16_t>(state.bx());
    m_shape.hotY = static_cast<int16_t>(state.cx());
}

void CMouse::SetEventHandler(CpuState& state)
{
    m_nCallMask = state.cx() & 0x7F;
    m_nHandlerSegment = state.es();
    m_nHandlerOffset = state.dx();
    m_nConditions = 0;
    m_bRequest = false;
}

void CMouse::Interrupt33(CpuState& state)
{
    switch (state.ax()) {
    case 0x00:
    case 0x21:
        ResetDriver();
        state.ax() = kInstalled;
        state.bx() = kButtons;
        break;
    case 0x01: Show(); break;
    case 0x02: Hide(); break;
    case 0x03:
        state.bx() = static_cast<uint16_t>(m_nButtons);
        state.cx() = static_cast<uint16_t>(m_nX);
        state.dx() = static_cast<uint16_t>(m_nY);
        break;
    case 0x04: Move(static_cast<int16_t>(state.cx()), static_cast<int16_t>(state.dx())); break;
    case 0x05: ButtonInfo(state, true); break;
    case 0x06: ButtonInfo(state, false); break;
    case 0x07: SetRange(m_nMinX, m_nMaxX, state.cx(), state.dx()); break;
    case 0x08: SetRange(m_nMinY, m_nMaxY, state.cx(), state.dx()); break;
    case 0x09:
        DefineGraphicsCursor(state);
        Move(m_nX, m_nY);
        break;
    case 0x0A:
        m_textShape.hardware = state.bx() != 0;
        if (m_textShape.hardware) {
            m_textShape.startLine = state.cl();
            m_textShape.endLine = state.dl();
        } else {
            m_textShape.screenMask = state.cx();
            m_textShape.cursorMask = state.dx();
        }
        Move(m_nX, m_nY);
        break;
    case 0x0B:
        state.cx() = static_cast<uint16_t>(m_nMickeysX);
        state.dx() = static_cast<uint16_t>(m_nMickeysY);
        m_nMickeysX = m_nMickeysY = 0;
        break;
    case 0x0C: SetEventHandler(state); break;
    case 0x0F:
        m_nRatioX = state.cx();
        m_nRatioY = state.dx();
        break;
    case 0x1A:
        m_nSpeedX = state.bx();
        m_nSpeedY = state.cx();
        m_nThreshold = state.dx();
        break;
    case 0x1B:
        state.bx() = m_nSpeedX;
        state.cx() = m_nSpeedY;
        state.dx() = m_nThreshold;
        break;
    case 0x24:
        state.bx() = kVersion;
        state.cx() = kPs2Type;
        break;
    default:
        break;
    }
}

bool CMouse::CallWaiting() const
{
    return m_bRequest && (m_nConditions & m_nCallMask) && !Busy();
}

void CMouse::Push(CpuState& state, uint16_t value)
{
    state.sp() = static_cast<uint16_t>(state.sp() - 2);
    m_memory.Write16(state.ss(), state.sp(), value);
}

// The interrupted program's registers go on its stack under the return to the ROM's routine,
// which puts them back and returns from the interrupt.
void CMouse::CallHandler(CpuState& state, uint16_t conditions)
{
    Push(state, state.flags);
    Push(state, state.cs());
    Push(state, state.ip);
    for (const uint16_t value : {state.ax(), state.bx(), state.cx(), state.dx(), state.si(), state.di(), state.bp(), state.ds(), state.es()})
        Push(state, value);
    Push(state, kServiceSegment);
    Push(state, kReturnOffset);
    m_memory.Write8(kServiceSegment, kBusyOffset, 1);
    state.SetFlag(kFlagInterrupt, false);
    state.SetFlag(kFlagTrap, false);
    state.ax() = conditions;
    state.bx() = static_cast<uint16_t>(m_nButtons);
    state.cx() = static_cast<uint16_t>(m_nX);
    state.dx() = static_cast<uint16_t>(m_nY);
    state.si() = static_cast<uint16_t>(m_nMickeysX);
    state.di() = static_cast<uint16_t>(m_nMickeysY);
    state.cs() = m_nHandlerSegment;
    state.ip = m_nHandlerOffset;
}

void CMouse::Interrupt74(CpuState& state)
{
    if (Busy()) {
        m_memory.Write8(kServiceSegment, kBusyOffset, 0);
        return;
    }
    const uint16_t conditions = m_nConditions & m_nCallMask;
    m_nConditions = 0;
    m_bRequest = false;
    if (conditions != 0)
        CallHandler(state, conditions);
}

machine::DeviceView CMouse::View() const
{
    std::string text = DeviceText::Line("x " + std::to_string(m_nX) + " y " + std::to_string(m_nY) + " buttons " +
                                        std::to_string(m_nButtons) + (m_nShown == 0 ? " shown" : " hidden " + std::to_string(m_nShown)));
    text += DeviceText::Line("range x " + std::to_string(m_nMinX) + "-" + std::to_string(m_nMaxX) + " y " + std::to_string(m_nMinY) +
                             "-" + std::to_string(m_nMaxY) + " mickeys " + std::to_string(m_nMickeysX) + " " + std::to_string(m_nMickeysY));
    text += DeviceText::Line("handler " + DeviceText::Hex(m_nHandlerSegment, 4) + ":" + DeviceText::Hex(m_nHandlerOffset, 4) + " mask " +
                             DeviceText::Hex(m_nCallMask, 4) + (Busy() ? " running" : ""));
    return {text, {}};
}

}  // namespace dos
