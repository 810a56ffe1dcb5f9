#pragma once
#include <windows.h>

// The settings dialog (resource 2003).
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The configure mode's run: the dialog, owned by the foreground window; 0.
int RunConfigure();
