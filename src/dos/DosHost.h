// What the DOS machine asks of its front end (the console runner, Korvane's debugger, a test):
// where standard output and error go, where redirected standard input comes from, and what it
// is told as the program runs. The machine never blocks on any of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dos {

enum class DosStream : uint8_t { Output, Error };

// What a read of redirected standard input found.
enum class InputState : uint8_t {
    // Bytes were read.
    Ready,
    // Nothing yet; the machine blocks and reads again when run again.
    Pending,
    // The input has ended.
    End,
};

// Something the program took from outside or did outside: a step back cannot undo it.
enum class ExternalEvent : uint8_t {
    KeyRead,
    InputRead,
    FileRead,
    FileWritten,
    FileSystemChanged,
};

class IDosHost {
public:
    // Bytes the program wrote to handle 1 or 2 (and, while the screen is not shown, what the
    // BIOS printed), as they come.
    virtual void Write(DosStream stream, const uint8_t* bytes, size_t count) = 0;
    // Redirected standard input: up to `capacity` bytes into `bytes`; `count` says how many.
    virtual InputState ReadInput(uint8_t* bytes, size_t capacity, size_t& count) = 0;
    // Whether redirected standard input has bytes now (Ready), may get some (Pending) or has
    // ended (End), without taking any.
    virtual InputState PeekInput() = 0;
    // The program waits for a key and none has come.
    virtual void OnKeyWanted() {}
    virtual void OnExternalEvent(ExternalEvent) {}
    // A function the machine does not provide, named once per run ("INT 21h AH=1Fh").
    virtual void OnUnsupported(const std::string& what) = 0;

protected:
    ~IDosHost() = default;
};

}  // namespace dos
