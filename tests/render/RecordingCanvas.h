#pragma once
// A canvas that records what the renderer asks of it, for the tests of the
// renderer and of the play loop.
#include <string>
#include <vector>

#include "render/Canvas.h"

namespace test {

// One letter per call: Prepare, Cell (F when flashing), Rectangles, Text,
// Stretch, Copy (with its rectangle).
struct RecordingCanvas final : TCanvas {
    std::string Calls;
    std::vector<TRect> Copies, Stretched;
    std::vector<std::string> Texts;
    TColourTable Prepared{};
    bool Textured = false;
    bool Stretches = true;
    bool CopySucceeds = true;
    uint32_t *Ticks = nullptr; // when set, every cell painted takes a millisecond

    void Prepare(const TColourTable &colours, const TTexturePixels *texture) override {
        Calls += 'P';
        Prepared = colours;
        Textured = texture != nullptr;
    }
    void PaintCell(const TCellPicture &p) override {
        Calls += p.ClipToOutline ? 'F' : 'C';
        if (Ticks)
            ++*Ticks;
    }
    void FillRectangles(TColourIndex, const TRect *, int32_t) override { Calls += 'R'; }
    void WriteText(const TPanelText &text, const TFont &) override {
        Calls += 'T';
        Texts.push_back(text.Text);
    }
    bool StretchTexture(const TRect &r) override { return Record('S', Stretched, r, Stretches); }
    bool CopyToScreen(const TRect &r) override { return Record('K', Copies, r, CopySucceeds); }
    bool Record(char call, std::vector<TRect> &into, const TRect &area, bool result) {
        Calls += call;
        into.push_back(area);
        return result;
    }
};

} // namespace test
