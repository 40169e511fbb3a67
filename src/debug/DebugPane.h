// A debugger pane as a machine offers it: what the window makes of it (its window id, title,
// kind, where it docks first, how it behaves) and what it shows at a stop or while the program
// runs, with the edits it takes. A machine's target makes its panes; the window side knows them
// only through this.
#pragma once

#include "debug/PaneText.h"
#include "machine/Device.h"
#include "machine/ScreenImage.h"

#include <cstdint>
#include <functional>
#include <string>

class CSourceMap;

enum class PaneKind : uint8_t {
    // Lines of text, with their marks and the addresses of their lines.
    Text,
    // An address box over the bytes from there.
    Memory,
    // The program's screen; keys typed in it go to the program.
    Screen,
    // A command line the pane answers.
    Command,
    // A device's view: its text and its picture.
    Device,
};

// Where a pane docks the first time it shows: one of two rows along the bottom, or the column
// down the right.
enum class PaneRow : uint8_t { BottomFirst, BottomSecond, Right };

struct PaneInfo {
    uint16_t id = 0;
    uint16_t barId = 0;
    uint32_t titleId = 0;
    PaneKind kind = PaneKind::Text;
    PaneRow row = PaneRow::BottomFirst;
    // Its part of its row's length.
    double share = 0.5;
    // The height its view would have in a bottom row, in pixels, where the window has room: a
    // device's picture at its own size; 0 for the row's usual depth.
    int depth = 0;
    MarkLook look = MarkLook::Changed;
    bool scrolls = false;
    // Lines with addresses take breakpoints in a margin and a chosen line, which "run to cursor"
    // and "toggle breakpoint" act on while the pane has the focus (or the program has no source).
    bool breakpoints = false;
    // NAME=VALUE fields edited in place, a flag's name toggled.
    bool editsValues = false;
    // Shown anew while the program runs.
    bool live = false;
    // A log that grows at its end and follows it; characters typed in it go to the program.
    bool log = false;
    // Shown also when the program runs without debugging.
    bool shownInRun = false;
    // Shown the first time its machine's session opens (later, as the user left it).
    bool shownFirst = true;
    // Memory of several spaces: their names (one a line, a text of the string table) and the
    // letter an address in each is typed with.
    uint32_t spacesId = 0;
    std::string spaceLetters{};
    // What the memory pane's address box holds before the user types one.
    std::string firstAddress{};
};

struct PaneQuery {
    // The lines that fit; 0 for all there are.
    int rows = 0;
    // The memory pane's address as typed.
    std::string expression{};
    const CSourceMap* sourceMap = nullptr;
};

struct PaneContent {
    PaneText text{};
    // A screen's or a device's picture; Kind None for a pane of text.
    machine::ScreenImage image{};
};

class CDebugPane {
public:
    explicit CDebugPane(PaneInfo info) : m_info(std::move(info)) {}
    virtual ~CDebugPane() = default;
    CDebugPane(const CDebugPane&) = delete;
    CDebugPane& operator=(const CDebugPane&) = delete;

    const PaneInfo& Info() const { return m_info; }
    // At a stop, from the session's caller's thread; a live pane also between the slices of a
    // run, from the thread that runs it.
    virtual PaneContent Content(const PaneQuery& query) const = 0;

    // Edits between steps: a value by the name its pane shows, a flag toggled by its name, a
    // byte by the address its line gives. False where the pane takes no such edit.
    virtual bool EditValue(const std::string& name, uint16_t value);
    virtual bool ToggleFlag(const std::string& name);
    virtual bool EditByte(uint32_t address, uint8_t value);
    // A device pane: a person's click or key on the device's picture; safe from any thread.
    // False where the device takes no such input.
    virtual bool Input(const machine::DeviceInput& input);

    // A command pane: runs a line (one of the session's long calls) and says what it printed;
    // what waits for the next line; whether the session is to end.
    virtual std::string Execute(const std::string& line);
    virtual std::string Prompt() const;
    virtual bool Quit() const;

private:
    PaneInfo m_info;
};

// A pane whose content and edits are functions a target gives it.
class CCallbackPane final : public CDebugPane {
public:
    struct Callbacks {
        std::function<PaneContent(const PaneQuery&)> content{};
        std::function<bool(const std::string&, uint16_t)> editValue{};
        std::function<bool(const std::string&)> toggleFlag{};
        std::function<bool(uint32_t, uint8_t)> editByte{};
        std::function<bool(const machine::DeviceInput&)> input{};
    };

    CCallbackPane(PaneInfo info, Callbacks callbacks) : CDebugPane(std::move(info)), m_callbacks(std::move(callbacks)) {}

    PaneContent Content(const PaneQuery& query) const override { return m_callbacks.content(query); }
    bool EditValue(const std::string& name, uint16_t value) override;
    bool ToggleFlag(const std::string& name) override;
    bool EditByte(uint32_t address, uint8_t value) override;
    bool Input(const machine::DeviceInput& input) override;

private:
    Callbacks m_callbacks;
};

// The content of a pane of text alone.
inline PaneContent TextContent(PaneText text)
{
    return PaneContent{std::move(text), {}};
}
