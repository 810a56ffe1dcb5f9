#pragma once
#include <windows.h>

#include "saver/Settings.h"

// The settings dialog (resource 2003) shows a settings value and, on OK,
// stores what it shows.
struct TConfigDialog {
    TSettings Settings;
    const char *ProgramPath = ""; // stored as Path
    HWND PaletteList = nullptr;   // looked up at every opening
};

// The dialog's procedure; WM_INITDIALOG's parameter is the TConfigDialog.
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The configure mode's run: the dialog, owned by the foreground window; 0.
int RunConfigure(HINSTANCE instance, const TSettings &settings, const char *programPath);
