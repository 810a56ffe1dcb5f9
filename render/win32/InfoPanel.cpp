// The information panel over GDI: issues what render/Panel.h computes.

#include <ctime>
#include <string>

#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "game/Trace.h"
#include "render/Colours.h"
#include "render/Layout.h"
#include "render/Panel.h"
#include "render/win32/Form.h"
#include "render/win32/GdiObjects.h"
#include "saver/Settings.h"

namespace {
COLORREF AsColorRef(TColourIndex index) {
    return ColourRef(Colours[index]);
}

HFONT MakeFont(const TFontSize &f) {
    return CreateFontA(f.Height, f.Width, f.Escapement, f.Orientation, f.Weight, f.Italic,
                       f.Underline, f.StrikeOut, f.CharSet, f.OutPrecision, f.ClipPrecision,
                       f.Quality, f.PitchAndFamily, f.Face);
}

// The form as the panel's data sees it.
TPanelView ViewOf(const TForm &form) {
    TPanelView view;
    view.Client = form.ClientRect;
    view.Layout.Scale = Scale;
    view.Layout.BoxUnit = BoxUnit;
    view.Layout.LineUnit = LineUnit;
    view.Layout.GlassArea = form.GlassArea;
    view.Layout.ScoreBox = form.ScoreBox;
    view.Layout.LinesBox = form.LinesBox;
    view.Layout.TimeBox = form.TimeBox;
    view.Layout.BestBox = form.BestBox;
    view.SaverMode = RunMode == Saver;
    view.ShowInfo = Settings.ShowInfo;
    return view;
}

// One framed box, whatever ShowInfo says. PanelPen and PanelBrush hold each
// colour's pair while it is selected.
void PaintPanel(TForm &form, const TRect &box) {
    form.AddDirtyRect(PanelDirtyRect(box));
    for (const TPanelFill &fill : PanelFills(box)) {
        const COLORREF colour = AsColorRef(fill.Colour);
        form.PanelPen = CreatePen(PS_SOLID, 0, colour);
        form.PanelBrush = CreateSolidBrush(colour);
        {
            TScopedObject pen(form.BackDC, form.PanelPen);
            TScopedObject brush(form.BackDC, form.PanelBrush);
            for (int32_t i = 0; i < fill.Count; ++i) {
                const TRect &r = fill.Rects[i];
                Rectangle(form.BackDC, r.Left, r.Top, r.Right, r.Bottom);
            }
        }
        form.PanelPen = nullptr;
        form.PanelBrush = nullptr;
    }
}

void DrawPanelText(HDC dc, const TPanelText &text, double scale) {
    TScopedObject font(dc, MakeFont(PanelFontSize(text.Font, scale)));
    if (!font.Made())
        return;
    SetTextColor(dc, AsColorRef(text.Colour));
    SetBkColor(dc, AsColorRef(BackColour));
    SetBkMode(dc, TRANSPARENT);
    const int length = static_cast<int>(text.Text.size());
    RECT r{text.Rect.Left, text.Rect.Top, text.Rect.Right, text.Rect.Bottom};
    switch (text.Place) {
    case TTextPlace::TopLeftAt:
        TextOutA(dc, r.left, r.top, text.Text.c_str(), length);
        break;
    case TTextPlace::TopOfBand:
        DrawTextA(dc, text.Text.c_str(), length, &r, DT_CENTER);
        break;
    case TTextPlace::CentredInBox:
        DrawTextA(dc, text.Text.c_str(), length, &r, DT_CENTER | DT_VCENTER);
        break;
    }
}

// Frames the drawing's boxes, then writes its texts; each text's rectangle
// is reported as changed.
void Issue(TForm &form, const TPanelDrawing &drawing) {
    for (const TRect &box : drawing.Panels)
        PaintPanel(form, box);
    for (const TPanelText &text : drawing.Texts) {
        DrawPanelText(form.BackDC, text, Scale);
        form.AddDirtyRect(text.Rect);
    }
}

template <typename Body> void Guarded(const char *name, Body &&body) {
    try {
        body();
    } catch (...) {
        Trace(name);
    }
}
} // namespace

void TForm::DrawPanel(const TRect &box) {
    if (!Settings.ShowInfo || !BackDC)
        return;
    Guarded("TForm::DrawPanel()", [&] { PaintPanel(*this, box); });
}

void TForm::ShowNumber(int32_t value, const TRect &box) {
    if (!Settings.ShowInfo || !BackDC)
        return;
    Guarded("TForm::ShowNumber()", [&] { Issue(*this, NumberDrawing(ViewOf(*this), value, box)); });
}

void TForm::ShowScore() {
    if (!Settings.ShowInfo)
        return;
    ShowNumber(Game.Score, ScoreBox);
    ShowNumber(Game.Lines, LinesBox);
}

void TForm::ShowBestScores() {
    if (!Settings.ShowInfo)
        return;
    Guarded("TForm::ShowBestScores()", [&] {
        SortBestScores(Settings);
        if (!BackDC)
            return;
        TPanelView view = ViewOf(*this);
        Issue(*this, BestScoresDrawing(view, Settings.Score1, Settings.Score2, Settings.Score3));
        if (view.SaverMode)
            AddDirtyRect(BestBox);
    });
}

void TForm::ShowTime() {
    if (!Settings.ShowInfo)
        return;
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Guarded("TForm::ShowTime()", [&] {
        if (!BackDC)
            return;
        const int64_t now = static_cast<int64_t>(std::time(nullptr));
        std::string text = ClockText(Settings.Time, now, StartTime, GameStartTime);
        Issue(*this, TimeDrawing(ViewOf(*this), text));
    });
}

void TForm::ClearScreen() {
    TLockGuard lock(GameLock);
    if (!lock.Obtained())
        return;
    Guarded("TForm::ClearScreen()", [&] {
        DirtyRect = TRect{};
        if (!BackDC || !ScreenDC)
            return;
        FillBackground();
        const TPanelView view = ViewOf(*this);
        Issue(*this, HeaderDrawing(view));
        ShowBestScores();
        Issue(*this, GlassPanelDrawing(view)); // the glass frame whatever ShowInfo says
        ShowScore();
        ShowTime();
        Game.RedrawGlass();
        Publish();
    });
}
