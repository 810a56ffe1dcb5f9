// xprobe: what the hack's tests and measurements need of X.
//   xprobe window W H [X Y]
//       maps a W x H window with a magenta background (a colour the saver
//       never shows) at (X, Y), prints its id and keeps it until standard
//       input closes or a signal ends it.
//   xprobe first-frame W H X Y RRGGBB CMD...
//       maps such a window at (0, 0), starts CMD with XSCREENSAVER_WINDOW naming it
//       and prints the milliseconds until pixel (X, Y) has the colour
//       (at most 10 s), then ends CMD with SIGTERM.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {
double Milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

constexpr unsigned long Magenta = 0xFF00FF; // a pixel of a 24-bit true colour visual

Window MapWindow(Display *display, int width, int height, int x = 0, int y = 0) {
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, width, height,
                                        0, 0, Magenta);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    return window;
}

int FirstFrame(Display *display, Window window, int x, int y, unsigned long colour,
               char **command) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window);
    setenv("XSCREENSAVER_WINDOW", id, 1);
    const double start = Milliseconds();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    double elapsed = -1;
    while (Milliseconds() - start < 10000) {
        XImage *image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image ? XGetPixel(image, 0, 0) & 0xFFFFFFul : 0;
        if (image)
            XDestroyImage(image);
        if (pixel == colour) {
            elapsed = Milliseconds() - start;
            break;
        }
        usleep(500);
    }
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    if (elapsed < 0) {
        std::fprintf(stderr, "xprobe: pixel (%d, %d) never became %06lx\n", x, y, colour);
        return 1;
    }
    std::printf("%.1f\n", elapsed);
    return 0;
}
} // namespace

int main(int argc, char **argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    Display *display = XOpenDisplay(nullptr);
    if (!display || argc < 4 || (what != "window" && what != "first-frame") ||
        (what == "first-frame" && argc < 9)) {
        std::fprintf(stderr,
                     "usage: xprobe window W H [X Y] | xprobe first-frame W H X Y RRGGBB CMD...\n");
        return 2;
    }
    const bool placed = what == "window" && argc >= 6;
    Window window = MapWindow(display, std::atoi(argv[2]), std::atoi(argv[3]),
                              placed ? std::atoi(argv[4]) : 0, placed ? std::atoi(argv[5]) : 0);
    if (what == "first-frame")
        return FirstFrame(display, window, std::atoi(argv[4]), std::atoi(argv[5]),
                          std::strtoul(argv[6], nullptr, 16), argv + 7);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    char buffer[64];
    while (read(0, buffer, sizeof buffer) > 0) {
    }
    XCloseDisplay(display);
    return 0;
}
