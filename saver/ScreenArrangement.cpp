#include "saver/ScreenArrangement.h"

namespace {
TRect Moved(const TRect &r, int32_t dx, int32_t dy) {
    return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
} // namespace

TScreenArrangement ArrangeScreen(const TRect &virtualScreen, const TRect &primary) {
    TScreenArrangement arrangement;
    // The virtual screen holds the primary monitor; the union keeps the game
    // whole should a system answer otherwise.
    arrangement.Window = UniteRects(virtualScreen, primary);
    const TRect &window = arrangement.Window;
    arrangement.Game = primary.IsEmpty() ? Moved(window, -window.Left, -window.Top)
                                         : Moved(primary, -window.Left, -window.Top);
    return arrangement;
}
