// The box's layout in pixels, drawn with the boards' canvas.
#include "labbox/LabBoxPicture.h"

#include "labbox/LabBox.h"
#include "machine/Canvas.h"

#include <algorithm>
#include <cmath>

namespace labbox {

namespace {
constexpr uint32_t kBoard = 0x23466E;
constexpr uint32_t kLabel = 0xE6E6E6;
constexpr uint32_t kRim = 0x000000;
constexpr uint32_t kLedLit = 0xFF3020;
constexpr uint32_t kLedDim = 0xA02418;
constexpr uint32_t kLedDark = 0x501410;
constexpr uint32_t kSegmentLit = 0xFF2A14;
constexpr uint32_t kSegmentDark = 0x3A1A14;
constexpr uint32_t kFace = 0x141414;
constexpr uint32_t kLights[3][2] = {{0xFF2020, 0x501010}, {0xFFD020, 0x504010}, {0x20E040, 0x105020}};
constexpr uint32_t kKey = 0xC8C8C8;
constexpr uint32_t kKeyDown = 0x6E6E6E;
constexpr uint32_t kTrace = 0x40FF60;
constexpr uint32_t kGrid = 0x204030;

// Column n of the LED and switch rows holds bit 7 - n.
constexpr int kRowLeft = 40;
constexpr int kPitch = 24;
constexpr machine::Rect kLedRow{kRowLeft, 8, kRowLeft + 8 * kPitch, 24};
constexpr machine::Rect kSwitchRow{kRowLeft, 40, kRowLeft + 8 * kPitch, 64};
constexpr machine::Rect kDigits{kRowLeft, 76, kRowLeft + 72, 128};
constexpr machine::Rect kPulseKey{250, 40, 306, 64};
constexpr machine::Rect kScope{40, 140, 306, 188};
constexpr machine::Rect kSlider{40, 204, 306, 220};
constexpr int kStepperLeft = 250;
constexpr int kStepperTop = 78;
constexpr int kStepperSize = 48;

void DrawLeds(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Text(4, kLedRow.top + 4, "LED", 1, kLabel);
    for (int column = 0; column < 8; ++column) {
        const char lit = state.leds[static_cast<size_t>(column)];
        canvas.Disc(kRowLeft + column * kPitch + 4, kLedRow.top, 16, lit == '1' ? kLedLit : lit == '~' ? kLedDim : kLedDark, kRim);
    }
}

void DrawSwitches(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Text(4, kSwitchRow.top + 8, "K", 1, kLabel);
    for (int column = 0; column < 8; ++column) {
        const int left = kRowLeft + column * kPitch + 6;
        const bool up = (state.switches >> (7 - column)) & 1;
        canvas.Fill({left, kSwitchRow.top, left + 12, kSwitchRow.bottom}, kFace);
        const int top = up ? kSwitchRow.top + 2 : kSwitchRow.top + 12;
        canvas.Fill({left + 2, top, left + 10, top + 10}, kKey);
    }
}

void DrawDigits(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Fill(kDigits, kFace);
    for (int digit = 0; digit < 2; ++digit) {
        const int left = kDigits.left + digit * 36;
        canvas.Digit({left + 2, kDigits.top + 2, left + 34, kDigits.bottom - 2}, state.digits[static_cast<size_t>(digit)], kSegmentLit,
                     kSegmentDark);
    }
}

void DrawLights(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Text(130, 76, "SN  EW", 1, kLabel);
    for (int direction = 0; direction < 2; ++direction)
        for (int colour = 0; colour < 3; ++colour) {
            const bool lit = state.lights[static_cast<size_t>(direction * 3 + colour)];
            canvas.Disc(130 + direction * 24, 88 + colour * 14, 12, kLights[colour][lit ? 0 : 1], kRim);
        }
}

void DrawStepper(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Disc(kStepperLeft, kStepperTop, kStepperSize, kKey, kRim);
    // The rotor's mark: a line of dots from the centre, 0 degrees up, turning clockwise.
    const double radians = state.stepperDegrees * 3.14159265358979 / 180.0;
    const int centre = kStepperSize / 2;
    for (int r = 0; r < centre - 3; ++r) {
        const int x = kStepperLeft + centre + static_cast<int>(std::lround(r * std::sin(radians)));
        const int y = kStepperTop + centre - static_cast<int>(std::lround(r * std::cos(radians)));
        canvas.Fill({x - 1, y - 1, x + 1, y + 1}, kRim);
    }
}

void DrawScope(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Text(4, kScope.top + 4, "DAC", 1, kLabel);
    canvas.Fill(kScope, kFace);
    const int height = kScope.bottom - kScope.top - 2;
    canvas.Fill({kScope.left, kScope.top + height / 2, kScope.right, kScope.top + height / 2 + 1}, kGrid);
    const size_t samples = state.dacTrace.size();
    if (samples == 0)
        return;
    const int width = kScope.right - kScope.left;
    for (int x = 0; x < width; ++x) {
        const uint8_t value = state.dacTrace[std::min(samples - 1, static_cast<size_t>(x) * samples / static_cast<size_t>(width))];
        const int y = kScope.bottom - 2 - value * height / 256;
        canvas.Fill({kScope.left + x, y, kScope.left + x + 1, y + 2}, kTrace);
    }
}

void DrawSlider(machine::CCanvas& canvas, const LabBoxState& state)
{
    canvas.Text(4, kSlider.top + 4, "ADC", 1, kLabel);
    const int middle = (kSlider.top + kSlider.bottom) / 2;
    canvas.Fill({kSlider.left, middle - 1, kSlider.right, middle + 1}, kFace);
    const int x = kSlider.left + static_cast<int>(std::lround(state.adcVolts / 5.0 * (kSlider.right - kSlider.left)));
    canvas.Fill({x - 3, kSlider.top, x + 3, kSlider.bottom}, kKey);
}
}

machine::ScreenImage CLabBoxPicture::Draw(const LabBoxState& state)
{
    machine::ScreenImage image = machine::ScreenImage::Pixels(kWidth, kHeight);
    machine::CCanvas canvas(image);
    canvas.Fill({0, 0, kWidth, kHeight}, kBoard);
    DrawLeds(canvas, state);
    DrawSwitches(canvas, state);
    DrawDigits(canvas, state);
    DrawLights(canvas, state);
    DrawStepper(canvas, state);
    canvas.Fill(kPulseKey, state.pulseHeld ? kKeyDown : kKey);
    canvas.Text(kPulseKey.left + 4, kPulseKey.top + 8, "PULSE", 1, kRim);
    DrawScope(canvas, state);
    DrawSlider(canvas, state);
    return image;
}

CLabBoxPicture::Hit CLabBoxPicture::HitAt(int x, int y)
{
    if (kSwitchRow.Contains(x, y))
        return {Target::Switch, static_cast<unsigned>(7 - (x - kRowLeft) / kPitch), 0};
    if (kPulseKey.Contains(x, y))
        return {Target::Pulse, 0, 0};
    if (kSlider.Contains(x, y))
        return {Target::Slider, 0, 5.0 * (x - kSlider.left) / (kSlider.right - kSlider.left)};
    return {};
}

}  // namespace labbox
