// A device of a machine as front ends see it: a name, and what it has to show (its state as
// text, and a picture where it has one). Front ends never know a device's insides; they ask the
// machine for its devices and each device for its view.
#pragma once

#include "machine/ScreenImage.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace machine {

struct DeviceView {
    // Lines ended by CR LF, ASCII (or the machine's code page).
    std::string text;
    // Kind None where the device shows no picture.
    ScreenImage picture;
};

// A person's input to a device: pressing, letting go or toggling what its picture shows at a
// point (in the picture's pixels), or a key typed on the computer's keyboard.
struct DeviceInput {
    enum class Action : uint8_t { Press, Release, Toggle };
    Action action = Action::Press;
    bool pointer = true;
    int x = 0;
    int y = 0;
    char key = 0;
};

class IDevice {
public:
    // A short ASCII name that names the device in options and panes ("pic", "pit", "ports").
    virtual std::string_view Name() const = 0;
    virtual DeviceView View() const = 0;
    // Safe from any thread; the device takes the input into its machine at the machine's next
    // chance. False where it has nothing there to take it.
    virtual bool Input(const DeviceInput&) { return false; }

protected:
    ~IDevice() = default;
};

}  // namespace machine
