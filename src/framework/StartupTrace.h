// Timings of the start-up steps, for the bench. Off unless the environment variable
// KORVANE_STARTUP_TRACE names a file; then every Mark notes the time, and Finish writes
// the notes there once the program first waits for input.
#pragma once

class StartupTrace {
public:
    // Notes that the step has just ended. Costs one test of a flag when tracing is off.
    static void Mark(const char* step);
    // Writes the notes and ends tracing; later marks are ignored.
    static void Finish();
};
