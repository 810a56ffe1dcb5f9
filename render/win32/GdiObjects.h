#pragma once
#include <windows.h>

#include "render/Colours.h"

// Small GDI helpers shared by the renderer's files: every object made for one
// call is deleted, and every selection undone, on every way out.

inline COLORREF ColourRef(const TColour &c) {
    return RGB(c.R, c.G, c.B);
}

// Owns a GDI object for one scope and deletes it.
class TOwnedObject {
public:
    explicit TOwnedObject(HGDIOBJ handle) : Handle(handle) {}
    ~TOwnedObject() {
        if (Handle)
            DeleteObject(Handle);
    }
    TOwnedObject(const TOwnedObject &) = delete;
    TOwnedObject &operator=(const TOwnedObject &) = delete;
    HGDIOBJ Get() const { return Handle; }

private:
    HGDIOBJ Handle;
};

// Selects an object into a device context for one scope and puts the
// previous one back; a null object selects nothing.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object)
        : Dc(dc), Previous(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelection() {
        if (Previous)
            SelectObject(Dc, Previous);
    }
    TSelection(const TSelection &) = delete;
    TSelection &operator=(const TSelection &) = delete;

private:
    HDC Dc;
    HGDIOBJ Previous;
};

// A pen, brush or font made for one use: selected while it lives, then
// deselected and deleted.
class TScopedObject {
public:
    TScopedObject(HDC dc, HGDIOBJ object) : Owned(object), Selected(dc, object) {}
    bool Made() const { return Owned.Get() != nullptr; }

private:
    TOwnedObject Owned; // deleted after the selection is undone
    TSelection Selected;
};
