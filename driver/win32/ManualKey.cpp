#include "driver/win32/ManualKey.h"

#include "driver/KeyMap.h"
#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "render/win32/Form.h"

namespace {
void Act(TForm &form, TKeyAction action) {
    TStakko &game = form.Game;
    switch (action) {
    case TKeyAction::Left:
        game.ShiftX(-1);
        break;
    case TKeyAction::Right:
        game.ShiftX(1);
        break;
    case TKeyAction::Turn:
        game.Rotate(1);
        break;
    case TKeyAction::Down:
        game.ShiftY(1);
        break;
    case TKeyAction::Drop:
        // Each cell of the fall reaches the screen; the last call lands it.
        while (game.ShiftY(1) != 0)
            form.Publish();
        break;
    case TKeyAction::None:
        break;
    }
}
} // namespace

void ManualKey(TForm &form, uint32_t virtualKey) {
    SetAutoPlay(false);
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    TStakko &game = form.Game;
    form.Publish();
    int32_t score = game.Score;
    Act(form, KeyAction(virtualKey));
    form.AddDirtyRect(game.DirtyRect);
    game.DirtyRect = TRect{};
    if (game.Score != score)
        form.ShowScore();
    form.FlushDirtyRect();
}
