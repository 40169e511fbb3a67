// The boards' parts, their wiring and places in the picture, and the keys a person holds.
#include "mcs51/Board51.h"

#include "mcs51/BoardColours51.h"
#include "mcs51/Buzzer51.h"
#include "mcs51/Digits51.h"
#include "mcs51/Keypad51.h"
#include "mcs51/Keys51.h"
#include "mcs51/Lcd51.h"
#include "mcs51/Leds51.h"
#include "mcs51/Machine51.h"
#include "mcs51/PinPanel51.h"

#include <cctype>

namespace mcs51 {

namespace {
const char* const kNames[] = {"plain", "pz", "tx"};

// The places of the parts of the pz and tx boards, in a picture small enough (under 30,000
// pixels) to be made afresh 50 times a second at little cost.
const machine::Rect kDigitsPlace{4, 4, 180, 34};
const machine::Rect kBuzzerPlace{186, 6, 200, 20};
const machine::Rect kLedsPlace{4, 38, 112, 62};
const machine::Rect kLcdPlace{4, 64, 112, 92};
const machine::Rect kKeysPlace{4, 96, 112, 124};
const machine::Rect kKeypadPlace{116, 38, 228, 124};
const int kBoardWidth = 232;
const int kBoardHeight = 128;
const machine::Rect kPinsPlace{4, 4, 244, 108};
}

CBoard51::CBoard51(BoardKind51 kind) : m_kind(kind)
{
    switch (kind) {
    case BoardKind51::kPlain:
        m_nWidth = kPinsPlace.right + 4;
        m_nHeight = kPinsPlace.bottom + 4;
        Add(std::make_unique<CPinPanel51>(), kPinsPlace);
        break;
    case BoardKind51::kPz:
        AddPz();
        break;
    case BoardKind51::kTx:
        AddTx();
        break;
    }
}

std::optional<BoardKind51> CBoard51::KindOf(std::string_view name)
{
    for (unsigned kind = 0; kind < 3; ++kind)
        if (name == kNames[kind])
            return static_cast<BoardKind51>(kind);
    return std::nullopt;
}

std::string_view CBoard51::NameOf(BoardKind51 kind)
{
    return kNames[static_cast<unsigned>(kind)];
}

void CBoard51::Add(std::unique_ptr<CBoardPart51> part, const machine::Rect& place)
{
    const unsigned keys = part->Keys();
    m_parts.push_back(Placed{std::move(part), place, m_nKeys});
    m_nKeys += keys;
}

void CBoard51::AddPz()
{
    m_nWidth = kBoardWidth;
    m_nHeight = kBoardHeight;
    Add(std::make_unique<CLeds51>(2), kLedsPlace);
    CDigits51::Wiring digits;
    digits.segmentPort = 0;
    digits.select = {Pin51{2, 4}, Pin51{2, 3}, Pin51{2, 2}};
    Add(std::make_unique<CDigits51>(digits), kDigitsPlace);
    Add(std::make_unique<CLcd51>(CLcd51::Wiring{0, Pin51{2, 6}, Pin51{2, 5}, Pin51{2, 7}}), kLcdPlace);
    Add(std::make_unique<CBuzzer51>(Pin51{1, 5}), kBuzzerPlace);
    Add(std::make_unique<CKeys51>(std::vector<Pin51>{{3, 1}, {3, 0}, {3, 2}, {3, 3}}), kKeysPlace);
    Add(std::make_unique<CKeypad51>(1, std::array<uint8_t, 4>{7, 6, 5, 4}, std::array<uint8_t, 4>{3, 2, 1, 0}), kKeypadPlace);
}

void CBoard51::AddTx()
{
    m_nWidth = kBoardWidth;
    m_nHeight = kBoardHeight;
    Add(std::make_unique<CLeds51>(1), kLedsPlace);
    CDigits51::Wiring digits;
    digits.segmentPort = 0;
    digits.decoder = false;
    digits.segmentLatch = Pin51{2, 6};
    digits.digitLatch = Pin51{2, 7};
    Add(std::make_unique<CDigits51>(digits), kDigitsPlace);
    Add(std::make_unique<CLcd51>(CLcd51::Wiring{0, Pin51{3, 5}, Pin51{3, 6}, Pin51{3, 4}}), kLcdPlace);
    Add(std::make_unique<CBuzzer51>(Pin51{2, 3}), kBuzzerPlace);
    Add(std::make_unique<CKeys51>(std::vector<Pin51>{{3, 0}, {3, 1}, {3, 2}, {3, 3}}), kKeysPlace);
    Add(std::make_unique<CKeypad51>(3, std::array<uint8_t, 4>{0, 1, 2, 3}, std::array<uint8_t, 4>{4, 5, 6, 7}), kKeypadPlace);
}

void CBoard51::Attach(CMachine51& machine)
{
    for (Placed& placed : m_parts)
        machine.Attach(*placed.part);
}

void CBoard51::Detach(CMachine51& machine)
{
    for (Placed& placed : m_parts)
        machine.Detach(*placed.part);
}

uint64_t CBoard51::Now() const
{
    return m_parts.front().part->Now();
}

machine::DeviceView CBoard51::View() const
{
    const uint64_t now = Now();
    machine::DeviceView view;
    view.picture = machine::ScreenImage::Pixels(m_nWidth, m_nHeight);
    machine::CCanvas canvas(view.picture);
    canvas.Fill({0, 0, m_nWidth, m_nHeight}, BoardColours51::kBoard);
    for (const Placed& placed : m_parts) {
        view.text += placed.part->Text(now);
        placed.part->Draw(canvas, placed.place, now);
    }
    if (m_kind != BoardKind51::kPlain)
        canvas.Text(kBuzzerPlace.right + 8, kBuzzerPlace.top + 3, NameOf(m_kind), 1, BoardColours51::kLabel);
    return view;
}

std::optional<unsigned> CBoard51::KeyOf(std::string_view name) const
{
    for (const Placed& placed : m_parts)
        for (unsigned key = 0; key < placed.part->Keys(); ++key)
            if (placed.part->KeyName(key) == name)
                return placed.firstKey + key;
    return std::nullopt;
}

std::optional<unsigned> CBoard51::KeyAt(int x, int y) const
{
    for (const Placed& placed : m_parts)
        for (unsigned key = 0; key < placed.part->Keys(); ++key)
            if (placed.part->KeyRect(placed.place, key).Contains(x, y))
                return placed.firstKey + key;
    return std::nullopt;
}

std::optional<unsigned> CBoard51::KeyTyped(char c) const
{
    const char typed = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const Placed& placed : m_parts)
        for (unsigned key = 0; key < placed.part->Keys(); ++key)
            if (placed.part->KeyChar(key) && placed.part->KeyChar(key) == typed)
                return placed.firstKey + key;
    return std::nullopt;
}

void CBoard51::SetHeld(unsigned key, bool down)
{
    const uint64_t bit = uint64_t{1} << key;
    if (down)
        m_held.fetch_or(bit);
    else
        m_held.fetch_and(~bit);
}

void CBoard51::SetBounce(bool on)
{
    for (Placed& placed : m_parts)
        placed.part->SetBounce(on);
}

bool CBoard51::Input(const machine::DeviceInput& input)
{
    std::optional<unsigned> key;
    if (input.pointer && input.action == machine::DeviceInput::Action::Release) {
        const int pressed = m_nPointerKey.exchange(-1);
        if (pressed >= 0)
            key = static_cast<unsigned>(pressed);
    } else {
        key = input.pointer ? KeyAt(input.x, input.y) : KeyTyped(input.key);
    }
    if (!key)
        return false;
    switch (input.action) {
    case machine::DeviceInput::Action::Press:
        if (input.pointer)
            m_nPointerKey.store(static_cast<int>(*key));
        SetHeld(*key, true);
        break;
    case machine::DeviceInput::Action::Release:
        SetHeld(*key, false);
        break;
    case machine::DeviceInput::Action::Toggle:
        m_held.fetch_xor(uint64_t{1} << *key);
        break;
    }
    return true;
}

void CBoard51::Follow()
{
    const uint64_t held = m_held.load(std::memory_order_relaxed);
    if (held == m_nApplied)
        return;
    for (Placed& placed : m_parts) {
        for (unsigned key = 0; key < placed.part->Keys(); ++key) {
            const uint64_t bit = uint64_t{1} << (placed.firstKey + key);
            if ((held ^ m_nApplied) & bit)
                placed.part->Hold(key, held & bit);
        }
    }
    m_nApplied = held;
}

}  // namespace mcs51
