// Stands in for the web browser, so that no test reaches the network: appends
// its second argument (the address) as a line to the file named by its first.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILE *log = __argc >= 3 ? std::fopen(__argv[1], "ab") : nullptr;
    if (!log)
        return 1;
    std::fprintf(log, "%s\n", __argv[2]);
    return std::fclose(log);
}
