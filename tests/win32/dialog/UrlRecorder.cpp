// Stands in for the web browser: registered as the handler of http
// addresses, it appends its second argument (the address) as one line to
// the file named by its first, so that no test ever reaches the network.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3)
        return 2;
    FILE *log = std::fopen(__argv[1], "ab");
    if (!log)
        return 1;
    std::fprintf(log, "%s\n", __argv[2]);
    std::fclose(log);
    return 0;
}
