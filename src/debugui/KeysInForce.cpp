// The keys of the build and debug commands.
#include "debugui/KeysInForce.h"

#include "resource.h"

#include <iterator>

namespace {
// The contexts a binding holds in, as bits.
constexpr unsigned kEditing = 1, kSession = 2, kRun = 4, kAlways = 7;

struct Binding {
    UINT key;
    bool shift, control;
    UINT command;
    unsigned when;
    // The debugger takes the key itself; the others are the accelerator table's.
    bool debugger;
};

constexpr Binding kBindings[] = {
    {VK_F5, false, false, ID_COMPILE, kEditing | kRun, false},
    {VK_F7, false, false, ID_LINK, kAlways, false},
    {VK_F8, false, false, ID_BUILD, kAlways, false},
    {VK_F9, false, false, ID_RUN, kEditing | kRun, false},
    {VK_F10, false, false, ID_DEBUG, kEditing | kRun, false},
    {VK_F11, false, false, ID_DEBUG_START, kEditing | kRun, true},
    {VK_F5, false, false, ID_DEBUG_START, kSession, true},
    {VK_F5, true, false, ID_DEBUG_STOP, kSession | kRun, true},
    {VK_F9, false, false, ID_DEBUG_TOGGLE_BREAKPOINT, kSession, true},
    {VK_F10, false, false, ID_DEBUG_STEP_OVER, kSession, true},
    {VK_F11, false, false, ID_DEBUG_STEP_INTO, kSession, true},
    {VK_F11, true, false, ID_DEBUG_STEP_OUT, kSession, true},
    {VK_F10, false, true, ID_DEBUG_RUN_TO_CURSOR, kSession, true},
    {VK_F11, false, true, ID_DEBUG_STEP_BACK, kSession, true},
};

bool InForce(const Binding& binding, KeyContext context)
{
    const unsigned bit = context == KeyContext::Editing ? kEditing : context == KeyContext::Session ? kSession : kRun;
    return (binding.when & bit) != 0;
}

std::string KeyName(const Binding& binding)
{
    std::string name = binding.control ? "Ctrl+" : "";
    if (binding.shift)
        name += "Shift+";
    return name + "F" + std::to_string(binding.key - VK_F1 + 1);
}
}

UINT DebuggerCommandOfKey(UINT key, bool shift, bool control, KeyContext context)
{
    for (const Binding& binding : kBindings) {
        if (binding.debugger && InForce(binding, context) && binding.key == key && binding.shift == shift &&
            binding.control == control)
            return binding.command;
    }
    return 0;
}

std::string KeyOfCommand(UINT command, KeyContext context, bool* known)
{
    if (known)
        *known = false;
    for (const Binding& binding : kBindings) {
        if (binding.command != command)
            continue;
        if (known)
            *known = true;
        if (InForce(binding, context))
            return KeyName(binding);
    }
    return {};
}
