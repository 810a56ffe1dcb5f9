// X's headers before everything of the core's: they define macros such as
// None and CurrentTime, and no name of the game, the player, the driver,
// the renderer or the saver may clash with them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "saver/x11/HackRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "driver/OneThreadPlay.h"
#include "driver/PlayLoop.h"
#include "render/x11/XCanvas.h"
#include "saver/Settings.h"
#include "saver/x11/ScoreFile.h"

namespace {
const char Title[] = "Vornel Hex Stakko";
constexpr long OwnWindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask;
constexpr long ForeignWindowEvents = ExposureMask | StructureNotifyMask;

class TMonotonicClock final : public TClock {
public:
    TNow Now() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
        return TNow{static_cast<uint32_t>(ms), static_cast<int64_t>(std::time(nullptr))};
    }
};

struct TKeyBinding {
    KeySym Key;
    TKeyAction Action;
};

constexpr TKeyBinding KeyMap[] = {
    {XK_Left, TKeyAction::Left}, {XK_Right, TKeyAction::Right}, {XK_Up, TKeyAction::Turn},
    {XK_Down, TKeyAction::Down}, {XK_space, TKeyAction::Drop},
};

TKeyAction KeyOf(KeySym key) {
    for (const TKeyBinding &binding : KeyMap)
        if (binding.Key == key)
            return binding.Action;
    return TKeyAction::NoMove;
}

// What the signal handlers and X's error handlers tell the loop.
int SignalPipe[2] = {-1, -1};
volatile sig_atomic_t Signalled = 0;
bool WindowGone = false;

void OnSignal(int) {
    const int saved = errno; // the interrupted code may be about to read it
    Signalled = 1;
    const char byte = 1;
    if (write(SignalPipe[1], &byte, 1) < 0) {
        // a full pipe wakes the loop all the same
    }
    errno = saved;
}

// The only windows drawn on are the target and the back buffer: an error
// about a window or drawable means the target has gone.
int OnXError(Display *, XErrorEvent *error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        WindowGone = true;
    return 0;
}

bool CatchSignals() {
    if (pipe(SignalPipe) != 0)
        return false;
    for (int fd : SignalPipe)
        fcntl(fd, F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    return true;
}

// One run of the hack on its window.
class THackRun {
public:
    THackRun(Display *display, const THackOptions &options)
        : Dpy(display), Options(options), File(TScoreFile::DefaultPath()), Scores(File) {}
    ~THackRun();

    int Run();
    // As at the end of a full-screen run: the game's score offered, the
    // best scores kept.
    void End();

private:
    bool FindWindow();
    Window MakeOwnWindow();
    void Handle(XEvent &event);
    bool Closing(const XClientMessageEvent &message) const;
    void Rebind();

    Display *Dpy;
    const THackOptions &Options;
    TScoreFile File;
    TScoreShare Scores;
    TMonotonicClock Clock;
    Window Target = 0;
    bool Own = false;
    Atom Protocols = 0, DeleteWindow = 0; // the window manager's close, asked for on the own window
    bool Closed = false;
    bool Resized = false;
    std::unique_ptr<TXCanvas> Canvas;
    std::unique_ptr<TPlayLoop> Loop;
    std::unique_ptr<TOneThreadPlay> Play;
};

THackRun *Current = nullptr; // for the handler of a lost connection

// Xlib ends the program when this returns; the scores are kept first.
int OnConnectionLost(Display *) {
    if (Current)
        Current->End();
    _exit(0);
}

THackRun::~THackRun() {
    Play.reset();
    Loop.reset();
    Canvas.reset();
    if (Own && !WindowGone)
        XDestroyWindow(Dpy, Target);
}

Window THackRun::MakeOwnWindow() {
    const int screen = DefaultScreen(Dpy);
    const TGeometry &g = Options.Geometry;
    const uint32_t screenWidth = uint32_t(DisplayWidth(Dpy, screen));
    const uint32_t screenHeight = uint32_t(DisplayHeight(Dpy, screen));
    const uint32_t width = g.HasSize || g.Width <= screenWidth ? g.Width : screenWidth;
    const uint32_t height = g.HasSize || g.Height <= screenHeight ? g.Height : screenHeight;
    const int x = g.FromRight ? int(screenWidth) - int(width) - g.X : g.X;
    const int y = g.FromBottom ? int(screenHeight) - int(height) - g.Y : g.Y;
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = 0; // no background: nothing flickers before a repaint
    attributes.event_mask = OwnWindowEvents;
    Window window =
        XCreateWindow(Dpy, RootWindow(Dpy, screen), x, y, width, height, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    XSizeHints hints{};
    hints.flags = (g.HasSize ? USSize : PSize) | (g.HasPlace ? USPosition : 0);
    hints.x = x;
    hints.y = y;
    hints.width = int(width);
    hints.height = int(height);
    XSetWMNormalHints(Dpy, window, &hints);
    XStoreName(Dpy, window, Title);
    Protocols = XInternAtom(Dpy, "WM_PROTOCOLS", False);
    DeleteWindow = XInternAtom(Dpy, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(Dpy, window, &DeleteWindow, 1);
    XMapWindow(Dpy, window);
    return window;
}

// The window to draw on: its own, the daemon's (XSCREENSAVER_WINDOW) or the
// root, or the one named by its id; false with a message when there is none.
bool THackRun::FindWindow() {
    uint64_t id = 0;
    switch (Options.Target) {
    case THackTarget::OwnWindow:
        Target = MakeOwnWindow();
        Own = true;
        return true;
    case THackTarget::Root: {
        const char *daemon = std::getenv("XSCREENSAVER_WINDOW");
        Target = daemon && ParseWindowId(daemon, id) ? Window(id) : DefaultRootWindow(Dpy);
        break;
    }
    case THackTarget::WindowId:
        Target = Window(Options.WindowId);
        break;
    }
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(Dpy, Target, &attributes)) {
        std::fprintf(stderr, "stakko: no window 0x%lx on display %s\n", Target, DisplayString(Dpy));
        return false;
    }
    XSelectInput(Dpy, Target, ForeignWindowEvents);
    return true;
}

int THackRun::Run() {
    if (!FindWindow())
        return 1;
    XSync(Dpy, False);
    WindowGone = false;
    TSettings settings = Options.Settings;
    settings.Best = Scores.Load();
    const TNow start = Clock.Now();
    const bool preview = Options.Target == THackTarget::WindowId;
    Loop = std::make_unique<TPlayLoop>(SessionOptionsOf(settings, start.Seconds),
                                       LookOf(settings, !preview), start, Clock);
    Play = std::make_unique<TOneThreadPlay>(*Loop, Clock);
    Canvas = std::make_unique<TXCanvas>(Dpy, Target);
    if (!Canvas->Open()) {
        std::fprintf(stderr, "stakko: no picture can be made for window 0x%lx\n", Target);
        return 1;
    }
    Play->Bind(*Canvas, Canvas->Client());
    const int connection = ConnectionNumber(Dpy);
    for (;;) {
        while (!Closed && XPending(Dpy) > 0) {
            XEvent event;
            XNextEvent(Dpy, &event);
            Handle(event);
        }
        if (Resized)
            Rebind();
        if (Closed || WindowGone || Signalled)
            break;
        const uint32_t sleep = Play->Run();
        Scores.Save(Loop->Session().Best());
        XFlush(Dpy);
        // Events that Xlib read while drawing wait in its queue, not on the socket.
        pollfd waits[2] = {{connection, POLLIN, 0}, {SignalPipe[0], POLLIN, 0}};
        poll(waits, 2, XEventsQueued(Dpy, QueuedAlready) > 0 ? 0 : int(sleep));
    }
    End();
    return 0;
}

void THackRun::Handle(XEvent &event) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0)
            Play->Repaint();
        break;
    case ConfigureNotify:
        Resized = Resized || event.xconfigure.width != Canvas->Client().Width() ||
                  event.xconfigure.height != Canvas->Client().Height();
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == Target)
            WindowGone = true;
        break;
    case ClientMessage:
        Closed = Closed || Closing(event.xclient);
        break;
    case KeyPress:
        if (Own && Options.Settings.ManualControl) {
            const TKeyAction action = KeyOf(XLookupKeysym(&event.xkey, 0));
            if (action != TKeyAction::NoMove)
                Play->Key(action);
        }
        break;
    default:
        break;
    }
}

// A window of another size gets a back buffer of that size and the picture
// laid out anew; the play goes on.
void THackRun::Rebind() {
    Resized = false;
    if (!Canvas->Open()) {
        WindowGone = true;
        return;
    }
    Play->Bind(*Canvas, Canvas->Client());
}

void THackRun::End() {
    if (Loop)
        Scores.Save(Loop->OfferScore(), true);
}

// The window manager's close of the own window.
bool THackRun::Closing(const XClientMessageEvent &message) const {
    return Own && message.format == 32 && message.message_type == Protocols &&
           Atom(message.data.l[0]) == DeleteWindow;
}
} // namespace

int RunHack(const THackOptions &options) {
    Display *display = XOpenDisplay(options.Display.empty() ? nullptr : options.Display.c_str());
    if (!display) {
        std::fprintf(stderr, "stakko: cannot open display %s\n",
                     XDisplayName(options.Display.empty() ? nullptr : options.Display.c_str()));
        return 1;
    }
    if (!CatchSignals()) {
        std::fprintf(stderr, "stakko: cannot watch for signals\n");
        XCloseDisplay(display);
        return 1;
    }
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnConnectionLost);
    int status = 0;
    {
        THackRun run(display, options);
        Current = &run;
        status = run.Run();
        Current = nullptr;
    }
    XCloseDisplay(display);
    return status;
}
