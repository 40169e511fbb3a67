// A device of a machine as front ends see it: a name, and what it has to show (its state as
// text, and a picture where it has one). Front ends never know a device's insides; they ask the
// machine for its devices and each device for its view.
#pragma once

#include "machine/ScreenImage.h"

#include <string>
#include <string_view>

namespace machine {

struct DeviceView {
    // Lines ended by CR LF, ASCII (or the machine's code page).
    std::string text;
    // Kind None where the device shows no picture.
    ScreenImage picture;
};

class IDevice {
public:
    // A short ASCII name that names the device in options and panes ("pic", "pit", "ports").
    virtual std::string_view Name() const = 0;
    virtual DeviceView View() const = 0;

protected:
    ~IDevice() = default;
};

}  // namespace machine
