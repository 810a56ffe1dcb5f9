// The saver in a web page: the settings from the address, the best scores
// in the page's local storage, the play paced by timers on the page's one
// thread, keys, resizes, full screen and hidden tabs.
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "driver/OneThreadPlay.h"
#include "driver/PlayLoop.h"
#include "render/web/WebCanvas.h"
#include "saver/ProfileReading.h"
#include "saver/ScoreRecord.h"
#include "saver/Settings.h"

namespace {
const char CanvasId[] = "#canvas";
// The profile's section name and keys, as the local storage's keys.
const char *const ScoreKeys[3] = {"Vornel Hex Stakko Screen Saver/Score1",
                                  "Vornel Hex Stakko Screen Saver/Score2",
                                  "Vornel Hex Stakko Screen Saver/Score3"};
constexpr int TextLimit = 256;

// clang-format off
EM_JS(int, JsQuery, (char *buffer, int size), {
    stringToUTF8(location.search, buffer, size);
    return 1;
});

// 1 with the value, 0 when there is none, -1 when the storage is refused.
EM_JS(int, JsStorageRead, (const char *key, char *buffer, int size), {
    try {
        var value = window.localStorage.getItem(UTF8ToString(key));
        if (value === null) return 0;
        stringToUTF8(value, buffer, size);
        return 1;
    } catch (e) {
        return -1;
    }
});

// False when the storage is refused or full.
EM_JS(int, JsStorageWrite, (const char *key, const char *value), {
    try {
        window.localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
        return 1;
    } catch (e) {
        return 0;
    }
});

EM_JS(void, JsToggleFullScreen, (), {
    var d = document;
    if (d.fullscreenElement) {
        if (d.exitFullscreen) d.exitFullscreen().catch(function() {});
    } else if (d.documentElement.requestFullscreen) {
        d.documentElement.requestFullscreen().catch(function() {});
    }
});

EM_JS(void, JsOnPageHide, (void *page), {
    window.addEventListener('pagehide', function(event) {
        Module._stakko_page_hide(page, event.persisted ? 1 : 0);
    });
    Module.stakkoPage = page;
});
// clang-format on

// The page's monotonic milliseconds, and the calendar time from the same
// reading: one call into the page for both.
class TPageClock final : public TClock {
public:
    TPageClock() : Origin(emscripten_date_now() - emscripten_get_now()) {}
    TNow Now() override {
        const double ms = emscripten_get_now();
        return TNow{static_cast<uint32_t>(std::fmod(ms, 4294967296.0)),
                    static_cast<int64_t>(std::floor((Origin + ms) / 1000))};
    }

private:
    double Origin; // the calendar's milliseconds at the page's time 0
};

struct TKeyBinding {
    const char *Key; // KeyboardEvent.key
    TKeyAction Action;
};

constexpr TKeyBinding KeyMap[] = {{"ArrowLeft", TKeyAction::Left},
                                  {"ArrowRight", TKeyAction::Right},
                                  {"ArrowUp", TKeyAction::Turn},
                                  {"ArrowDown", TKeyAction::Down},
                                  {" ", TKeyAction::Drop}};

TKeyAction KeyOf(const char *key) {
    for (const TKeyBinding &binding : KeyMap)
        if (std::strcmp(binding.Key, key) == 0)
            return binding.Action;
    return TKeyAction::NoMove;
}

// The best scores in the page's storage by the profile's rule: a missing
// value is 0, a text is read as the profile reader reads a number; refused
// storage reads as the defaults, and a refused or full one keeps nothing.
class TPageScores final : public TScoreStore {
public:
    bool Read(TBestScores &stored) override {
        int32_t scores[3] = {};
        bool readable = true;
        for (int i = 0; i < 3; ++i) {
            char text[TextLimit] = "";
            const int found = JsStorageRead(ScoreKeys[i], text, sizeof text);
            const std::string value(text);
            readable = readable && found >= 0;
            scores[i] = ProfileNumber(found == 1 ? &value : nullptr, 0);
        }
        stored = TBestScores{scores[0], scores[1], scores[2]};
        return readable;
    }
    // Another page of the same origin may have stored its scores meanwhile.
    bool Update(const std::function<TBestScores(const TBestScores &)> &merge) override {
        TBestScores stored;
        if (!Read(stored))
            return false;
        const TBestScores best = merge(stored);
        const int32_t scores[3] = {best.Score1, best.Score2, best.Score3};
        for (int i = 0; i < 3; ++i)
            if (!JsStorageWrite(ScoreKeys[i], std::to_string(scores[i]).c_str()))
                return false;
        return true;
    }
};

// The page's one run.
class TPage {
public:
    bool Start();
    void Run();
    void Key(TKeyAction action);
    void Resize();
    void Visible(bool visible);
    void PageHide(bool mayComeBack);
    double BusyMs() const { return Busy; }
    double PlayMs() const { return Played + (Shown ? emscripten_get_now() - ShownSince : 0); }
    bool ManualControl() const { return Settings.ManualControl; }

private:
    template <typename Call> void Timed(Call call);
    void Schedule(uint32_t ms);
    bool MeasureCanvas(int32_t &width, int32_t &height) const;

    TPageClock Clock;
    TSettings Settings;
    TWebCanvas Canvas;
    std::unique_ptr<TPlayLoop> Loop;
    std::unique_ptr<TOneThreadPlay> Play;
    TPageScores Storage;
    TScoreShare Scores{Storage};
    long Timer = 0;
    bool Shown = true;
    double ShownSince = 0;
    double Played = 0;
    double Busy = 0;
};

void OnTimer(void *page) {
    static_cast<TPage *>(page)->Run();
}

// The backing store's size: the canvas's size on the page times the pixel
// ratio, so that the picture is drawn at the screen's real pixels.
bool TPage::MeasureCanvas(int32_t &width, int32_t &height) const {
    double cssWidth = 0, cssHeight = 0;
    if (emscripten_get_element_css_size(CanvasId, &cssWidth, &cssHeight) !=
        EMSCRIPTEN_RESULT_SUCCESS)
        return false;
    const double ratio = emscripten_get_device_pixel_ratio();
    width = static_cast<int32_t>(std::lround(cssWidth * ratio));
    height = static_cast<int32_t>(std::lround(cssHeight * ratio));
    return width > 0 && height > 0;
}

bool TPage::Start() {
    char query[2048] = "";
    JsQuery(query, sizeof query);
    Settings = SettingsFromQuery(query);
    Settings.Best = Scores.Load();
    int32_t width = 0, height = 0;
    if (!MeasureCanvas(width, height) || !Canvas.Open(width, height))
        return false;
    const TNow start = Clock.Now();
    Loop = std::make_unique<TPlayLoop>(SessionOptionsOf(Settings, start.Seconds),
                                       LookOf(Settings, true), start, Clock);
    Play = std::make_unique<TOneThreadPlay>(*Loop, Clock);
    ShownSince = emscripten_get_now();
    Timed([&] { Schedule(Play->Bind(Canvas, Canvas.Client())); });
    return true;
}

template <typename Call> void TPage::Timed(Call call) {
    const double start = emscripten_get_now();
    call();
    Busy += emscripten_get_now() - start;
}

void TPage::Schedule(uint32_t ms) {
    if (Timer)
        emscripten_clear_timeout(Timer);
    Timer = Shown ? emscripten_set_timeout(OnTimer, ms, this) : 0;
}

void TPage::Run() {
    Timer = 0;
    Timed([&] {
        Schedule(Play->Run());
        Scores.Save(Loop->Session().Best());
    });
}

void TPage::Key(TKeyAction action) {
    Timed([&] { Schedule(Play->Key(action)); });
}

void TPage::Resize() {
    int32_t width = 0, height = 0;
    if (!MeasureCanvas(width, height) ||
        (width == Canvas.Client().Width() && height == Canvas.Client().Height()))
        return;
    Timed([&] {
        if (Canvas.Open(width, height))
            Schedule(Play->Bind(Canvas, Canvas.Client()));
    });
}

// A hidden page stops; a shown one goes on with what is due now, one step
// and one tick however long it was away.
void TPage::Visible(bool visible) {
    if (visible == Shown)
        return;
    Shown = visible;
    if (!visible) {
        Played += emscripten_get_now() - ShownSince;
        Schedule(0);
        return;
    }
    ShownSince = emscripten_get_now();
    Run();
}

// The page goes: as at the end of a full-screen run, the game's score is
// offered, unless the page may come back with that game still in play (the
// browser keeps it): then only the best scores as they are.
void TPage::PageHide(bool mayComeBack) {
    TBestScores best = Loop->Session().Best();
    if (!mayComeBack)
        best.OfferScore3(Loop->Session().Game().Score);
    Scores.Save(best, true);
}

EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent *event, void *data) {
    TPage &page = *static_cast<TPage *>(data);
    if (event->ctrlKey || event->altKey || event->metaKey)
        return EM_FALSE; // the browser's own shortcuts
    if ((event->key[0] == 'f' || event->key[0] == 'F') && event->key[1] == '\0') {
        if (!event->repeat)
            JsToggleFullScreen();
        return EM_TRUE;
    }
    const TKeyAction action = KeyOf(event->key);
    if (action == TKeyAction::NoMove || !page.ManualControl())
        return EM_FALSE;
    page.Key(action);
    return EM_TRUE; // no scrolling by the arrows or the space bar
}

EM_BOOL OnDoubleClick(int, const EmscriptenMouseEvent *, void *) {
    JsToggleFullScreen();
    return EM_TRUE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent *, void *data) {
    static_cast<TPage *>(data)->Resize();
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent *event, void *data) {
    static_cast<TPage *>(data)->Visible(!event->hidden);
    return EM_FALSE;
}
} // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE void stakko_page_hide(void *page, int mayComeBack) {
    static_cast<TPage *>(page)->PageHide(mayComeBack != 0);
}
// The game's own main-thread time (steps, keys, drawing) and the time the
// page has been shown, in milliseconds.
EMSCRIPTEN_KEEPALIVE double stakko_busy_ms(void *page) {
    return static_cast<TPage *>(page)->BusyMs();
}
EMSCRIPTEN_KEEPALIVE double stakko_play_ms(void *page) {
    return static_cast<TPage *>(page)->PlayMs();
}
}

int main() {
    static TPage page; // lives as long as the page: its callbacks come after main returns
    if (!page.Start())
        return 1;
    const char *window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, &page, EM_TRUE, OnKeyDown);
    emscripten_set_dblclick_callback(CanvasId, &page, EM_TRUE, OnDoubleClick);
    emscripten_set_resize_callback(window, &page, EM_FALSE, OnResize);
    emscripten_set_visibilitychange_callback(&page, EM_FALSE, OnVisibility);
    JsOnPageHide(&page);
    return 0;
}
