#include "render/win32/Form.h"

#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "render/Colours.h"
#include "render/Layout.h"
#include "render/win32/GdiPainter.h"
#include "saver/Settings.h"

namespace {
// The one failure that ends the program: no window context or back buffer.
constexpr UINT NoBackBufferExit = 1;

HDC AsDC(NativeHandle h) {
    return static_cast<HDC>(h);
}

} // namespace

TForm::TForm(TStakko &game) : Game(game) {}

TForm::~TForm() {
    SetWindow(nullptr);
}

void TForm::SetWindow(HWND window) {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Release();
    if (!window)
        return;
    Window = window;
    MeasureClient();
    ApplyLayout();
    CreateBackBuffer();
    ChooseColours(Settings.Palette);
    Game.Painter = &GdiPainter();
    Game.CreateBrushes();
    MakeBackground();
    SelectObject(BackDC, BackBitmap);
    Game.SetBoundsRect(GlassArea);
    BindGame();
}

// The game object lets go of the contexts first, so it never draws into one
// that is about to be deleted.
void TForm::Release() {
    UnbindGame();
    if (BackDC)
        DeleteDC(BackDC);
    if (BackBitmap)
        DeleteObject(BackBitmap);
    if (ScreenDC)
        ReleaseDC(Window, ScreenDC);
    if (Texture)
        DeleteObject(Texture);
    BackDC = nullptr;
    BackBitmap = nullptr;
    ScreenDC = nullptr;
    Texture = nullptr;
    Window = nullptr;
}

void TForm::MeasureClient() {
    RECT client{};
    if (!GetClientRect(Window, &client))
        client = RECT{};
    ClientRect = TRect{client.left, client.top, client.right, client.bottom};
    ClientWidth = ClientRect.Right - ClientRect.Left;
    ClientHeight = ClientRect.Bottom - ClientRect.Top;
}

void TForm::ApplyLayout() {
    TLayout layout = ComputeLayout(ClientRect);
    ApplyLayoutUnits(layout);
    GlassArea = layout.GlassArea;
    ScoreBox = layout.ScoreBox;
    LinesBox = layout.LinesBox;
    TimeBox = layout.TimeBox;
    BestBox = layout.BestBox;
}

void TForm::CreateBackBuffer() {
    ScreenDC = GetDC(Window);
    if (ScreenDC) {
        BackBitmap = CreateCompatibleBitmap(ScreenDC, ClientWidth, ClientHeight);
        BackDC = CreateCompatibleDC(ScreenDC);
    }
    if (!ScreenDC || !BackBitmap || !BackDC)
        ExitProcess(NoBackBufferExit);
}

// Each context's state is saved as the game object receives it, and put back
// when the form takes it away again.
void TForm::BindGame() {
    Game.SavedScreenState = SaveDC(ScreenDC);
    Game.ScreenDC = ScreenDC;
    Game.SavedBackState = SaveDC(BackDC);
    Game.BackDC = BackDC;
}

// The game object's handles are cleared even where no state was saved, so it
// never keeps a context that the form is about to give back.
void TForm::UnbindGame() {
    if (Game.SavedScreenState && Game.ScreenDC)
        RestoreDC(AsDC(Game.ScreenDC), Game.SavedScreenState);
    if (Game.SavedBackState && Game.BackDC)
        RestoreDC(AsDC(Game.BackDC), Game.SavedBackState);
    Game.SavedScreenState = 0;
    Game.ScreenDC = nullptr;
    Game.SavedBackState = 0;
    Game.BackDC = nullptr;
}

void TForm::AddDirtyRect(const TRect &r) {
    DirtyRect = UniteRects(DirtyRect, r);
}

void TForm::AddDirtyRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    AddDirtyRect(TRect{left, top, right, bottom});
}

void TForm::FlushDirtyRect() {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    if (DirtyRect.IsEmpty()) {
        DirtyRect = TRect{}; // nothing to copy
        return;
    }
    const TRect &r = DirtyRect;
    if (BitBlt(ScreenDC, r.Left, r.Top, r.Width(), r.Height(), BackDC, r.Left, r.Top, SRCCOPY)) {
        DirtyRect = TRect{};
        GdiFlush();
    }
}

void TForm::Publish() {
    AddDirtyRect(Game.DirtyRect);
    Game.DirtyRect = TRect{};
    FlushDirtyRect();
}
