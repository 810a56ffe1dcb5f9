#pragma once
#include <windows.h>

#include <cstdint>

#include "game/Rect.h"

class TStakko;

// The form: the window drawn into, its back buffer, the background texture,
// the layout and the dirty area that still has to reach the window.
class TForm {
public:
    explicit TForm(TStakko &game);
    ~TForm(); // SetWindow(nullptr)
    TForm(const TForm &) = delete;
    TForm &operator=(const TForm &) = delete;

    // Binds the form to the window, or with null only releases what it holds.
    void SetWindow(HWND window);

    // Unite a rectangle into DirtyRect; callers hold GameLock.
    void AddDirtyRect(const TRect &r);
    void AddDirtyRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Copies DirtyRect from the back buffer to the window (under GameLock)
    // and empties it when the copy succeeds.
    void FlushDirtyRect();
    // The game object's DirtyRect into the form's, then to the window.
    void Publish();

    // Background and information panel.
    void MakeBackground(); // makes and paints Texture unless ShowBkgr is off
    void FillBackground(); // the whole back buffer: stretched texture or BackColour
    void ClearScreen();
    void ShowScore();
    void ShowTime();
    void ShowBestScores();
    void ShowNumber(int32_t value, const TRect &box);
    void DrawPanel(const TRect &box);

    TStakko &Game;

    HWND Window = nullptr;
    TRect ClientRect;
    int32_t ClientHeight = 0;
    int32_t ClientWidth = 0;
    HDC ScreenDC = nullptr;
    HDC BackDC = nullptr;
    HBITMAP BackBitmap = nullptr;
    HBRUSH PanelBrush = nullptr;
    HPEN PanelPen = nullptr;
    HBITMAP Texture = nullptr;
    TRect GlassArea;
    TRect ScoreBox;
    TRect LinesBox;
    TRect TimeBox;
    TRect BestBox;
    TRect DirtyRect;
    bool Running = false;
    bool ScreenReady = false;

private:
    // Steps of SetWindow.
    void Release();
    void MeasureClient();
    void ApplyLayout();
    void CreateBackBuffer();
    void BindGame();
    void UnbindGame();
    // Background fills; PanelPen and PanelBrush hold the plain fill's tools.
    bool StretchTexture();
    void FillPlain();
};
