// A teaching board on the 8051's pins, one device of parts: "plain" (the ports with an LED and
// a key on every pin), "pz" and "tx" (the two common boards: LEDs, eight multiplexed digits,
// keys, a 4x4 keypad, an LCD1602 and a buzzer, wired as each board wires them). Its view is
// every part's lines and one picture of them all; its keys are held and let go by name (for
// the runner's --press), by a point of the picture or by a key typed (a person at the window).
#pragma once

#include "mcs51/BoardPart51.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace mcs51 {

class CMachine51;

enum class BoardKind51 : uint8_t { kPlain, kPz, kTx };

class CBoard51 final : public machine::IDevice {
public:
    explicit CBoard51(BoardKind51 kind);
    CBoard51(const CBoard51&) = delete;
    CBoard51& operator=(const CBoard51&) = delete;

    // "plain", "pz", "tx".
    static std::optional<BoardKind51> KindOf(std::string_view name);
    static std::string_view NameOf(BoardKind51 kind);

    BoardKind51 Kind() const { return m_kind; }
    void Attach(CMachine51& machine);
    void Detach(CMachine51& machine);

    std::string_view Name() const override { return "board"; }
    // The parts' lines as a person sees them over the last 20 ms (100 ms for the buzzer),
    // and the board's picture.
    machine::DeviceView View() const override;
    // Presses, lets go or toggles the key under a point of the picture or typed.
    bool Input(const machine::DeviceInput& input) override;

    // A key by its name ("K1", "S16", "P3.2"), and holding it (from any thread; the machine
    // feels it at the next Follow).
    std::optional<unsigned> KeyOf(std::string_view name) const;
    void SetHeld(unsigned key, bool down);
    // The keys' contacts bounce for a few milliseconds as they close and open (between runs).
    void SetBounce(bool on);
    // On the machine's thread, between instructions: the keys held and let go since the last
    // call reach the pins.
    void Follow();

private:
    struct Placed {
        std::unique_ptr<CBoardPart51> part;
        machine::Rect place;
        // The board's number of the part's first key.
        unsigned firstKey;
    };

    void Add(std::unique_ptr<CBoardPart51> part, const machine::Rect& place);
    void AddPz();
    void AddTx();
    std::optional<unsigned> KeyAt(int x, int y) const;
    std::optional<unsigned> KeyTyped(char c) const;
    uint64_t Now() const;

    BoardKind51 m_kind;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<Placed> m_parts;
    unsigned m_nKeys = 0;
    // Bit n: key n held. Written from any thread, taken by Follow.
    std::atomic<uint64_t> m_held{0};
    uint64_t m_nApplied = 0;
    // The key a pointer pressed, for its release wherever it is let go.
    std::atomic<int> m_nPointerKey{-1};
};

}  // namespace mcs51
