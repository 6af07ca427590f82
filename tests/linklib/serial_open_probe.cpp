// Opens a serial port through the link library from a process of its own, for the exclusive-open test.
// Usage: serial_open_probe PATH. Exit status: the negated result of COM_Open (0 opened, 1 for -1, 7 for -7).
#include <cstdio>
#include <string>

#include "QAV508DLL.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: serial_open_probe PATH\n");
        return 100;
    }
    const std::string path = argv[1];
    const std::u16string wide(path.begin(), path.end());
    const int32_t result = COM_Open(wide.c_str());
    COM_Close();
    return -result & 0xFF;
}
