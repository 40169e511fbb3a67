// A child for the process runner's tests. Writes straight to its standard handles
// (WriteFile, no buffering, no text-mode translation), so every write reaches the pipe at once
// and in order. The first argument picks what it does:
//   silent               writes nothing
//   pattern N [step] [width]
//                        writes N bytes of PatternByte(0..N-1) in writes of step bytes (default
//                        7000), every width-th byte of them a line feed when a width is given
//   interleave K         writes K pairs of lines "out i\n" to stdout and "err i\n" to stderr
//   zero                 writes "abc\0def", waits, then "ghi"
//   leadzero             writes "\0hidden", waits, then "visible"
//   gbksplit             writes "ab" and the lead byte of a GBK character, waits, then its trail byte and "cd"
//   crlfsplit            writes "one\r", waits, then "\ntwo\n"
//   echo TEXT...         writes its arguments joined by blanks and a line end
//   exit CODE            writes "exit CODE\n" and ends with that exit code
//   cat FILE             writes the file's bytes as they are
// Byte i of the pattern is 'A' + i % 61 (65..125, printable, never zero).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const DWORD kPause = 500;

void Write(HANDLE handle, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!::WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n, nullptr))
            std::exit(3);
        done += n;
    }
}

void Out(const std::string& bytes)
{
    Write(::GetStdHandle(STD_OUTPUT_HANDLE), bytes);
}

void Err(const std::string& bytes)
{
    Write(::GetStdHandle(STD_ERROR_HANDLE), bytes);
}

}

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "silent";
    if (mode == "silent")
        return 0;
    if (mode == "pattern") {
        long total = argc > 2 ? std::atol(argv[2]) : 0;
        long step = argc > 3 ? std::atol(argv[3]) : 7000;
        if (step <= 0)
            step = 7000;
        const long width = argc > 4 ? std::atol(argv[4]) : 0;
        std::string piece;
        for (long i = 0; i < total; ++i) {
            piece += width > 0 && i % width == width - 1 ? '\n' : static_cast<char>('A' + i % 61);
            if (static_cast<long>(piece.size()) == step) {
                Out(piece);
                piece.clear();
            }
        }
        Out(piece);
        return 0;
    }
    if (mode == "interleave") {
        int pairs = argc > 2 ? std::atoi(argv[2]) : 0;
        for (int i = 1; i <= pairs; ++i) {
            Out("out " + std::to_string(i) + "\n");
            Err("err " + std::to_string(i) + "\n");
        }
        return 0;
    }
    if (mode == "zero") {
        Out(std::string("abc\0def", 7));
        ::Sleep(kPause);
        Out("ghi");
        return 0;
    }
    if (mode == "leadzero") {
        Out(std::string("\0hidden", 7));
        ::Sleep(kPause);
        Out("visible");
        return 0;
    }
    if (mode == "gbksplit") {
        // "中" is D6 D0 in code page 936.
        Out("ab\xD6");
        ::Sleep(kPause);
        Out("\xD0" "cd");
        return 0;
    }
    if (mode == "crlfsplit") {
        Out("one\r");
        ::Sleep(kPause);
        Out("\ntwo\n");
        return 0;
    }
    if (mode == "echo") {
        std::string line;
        for (int i = 2; i < argc; ++i) {
            if (i > 2)
                line += ' ';
            line += argv[i];
        }
        Out(line + "\n");
        return 0;
    }
    if (mode == "cat" && argc > 2) {
        HANDLE file = ::CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char buffer[4096];
        DWORD n = 0;
        while (file != INVALID_HANDLE_VALUE && ::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
            Out(std::string(buffer, n));
        return file == INVALID_HANDLE_VALUE ? 4 : 0;
    }
    if (mode == "exit") {
        int code = argc > 2 ? std::atoi(argv[2]) : 0;
        Out("exit " + std::to_string(code) + "\n");
        return code;
    }
    Err("pipe_child: unknown mode " + mode + "\n");
    return 2;
}
