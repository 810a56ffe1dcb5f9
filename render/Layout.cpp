#include "render/Layout.h"

namespace {
constexpr double ReferenceWidth = 1024.0;
// Half of 1/√3: the glass area is 1/√3 of its height wide.
constexpr double HalfWidthPerHeight = 0.5 / 1.732050807569;
constexpr double ValueBoxHalfWidth = 75.0; // at Scale 1
constexpr double BestBoxHalfWidth = 100.0;

// Floating-point positions become pixels by truncation toward zero.
int32_t Trunc(double v) {
    return static_cast<int32_t>(v);
}

// 90 % of the height, centred, 1/√3 of its height wide.
TRect GlassAreaFor(const TRect &client, int32_t height) {
    TRect area;
    area.Top = client.Top + height / 20;
    area.Bottom = client.Bottom - height / 20;
    double g = area.Bottom - area.Top;
    double middle = (client.Left + client.Right) * 0.5;
    area.Left = Trunc(middle - g * HalfWidthPerHeight);
    area.Right = Trunc(middle + g * HalfWidthPerHeight);
    return area;
}

// box moved by `units` box units, keeping its left and right; the new box is
// one unit high (so an odd unit gives it one pixel more than the lines box).
TRect ShiftedBox(const TRect &box, int32_t units, int32_t unit) {
    TRect moved = box;
    moved.Top = box.Top + units * unit;
    moved.Bottom = moved.Top + unit;
    return moved;
}
} // namespace

TLayout ComputeLayout(const TRect &client) {
    TLayout layout;
    int32_t width = client.Right - client.Left;
    int32_t height = client.Bottom - client.Top;
    layout.Scale = width * (1.0 / ReferenceWidth);
    layout.BoxUnit = Trunc(50 * layout.Scale);
    layout.LineUnit = Trunc(30 * layout.Scale);
    layout.GlassArea = GlassAreaFor(client, height);

    int32_t middle = (client.Top + client.Bottom) / 2;
    int32_t rightCentre = (client.Right + layout.GlassArea.Right) / 2;
    double valueHalf = ValueBoxHalfWidth * layout.Scale;
    layout.LinesBox = TRect{Trunc(rightCentre - valueHalf), middle - layout.BoxUnit / 2,
                            Trunc(rightCentre + valueHalf), middle + layout.BoxUnit / 2};
    layout.ScoreBox = ShiftedBox(layout.LinesBox, -3, layout.BoxUnit);
    layout.TimeBox = ShiftedBox(layout.LinesBox, 3, layout.BoxUnit);

    int32_t leftCentre = (client.Left + layout.GlassArea.Left) / 2;
    double bestHalf = BestBoxHalfWidth * layout.Scale;
    int32_t bestHalfHeight = (3 * layout.LineUnit) / 2;
    layout.BestBox = TRect{Trunc(leftCentre - bestHalf), middle - bestHalfHeight,
                           Trunc(leftCentre + bestHalf), middle + bestHalfHeight};

    const TRect &area = layout.GlassArea;
    layout.Fit = FitGlass(area.Width(), area.Height());
    layout.Glass = layout.Fit.Ok ? CentreGlass(area, layout.Fit) : area;
    return layout;
}
