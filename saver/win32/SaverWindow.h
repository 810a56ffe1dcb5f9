#pragma once
#include <windows.h>

// The picture's window and the two runs that live in it.

// Creates the full-screen popup (parent null) or the preview child, stores
// its handle and binds the form to it.
HWND CreateSaverWindow(int width, int height, HWND parent);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// What a wish of the user to leave means in the current mode.
void RequestEnd();
int RunPreview();
int RunSaver();

// The game thread of the current run, or null; the entry waits for it
// before it closes the objects the thread uses.
extern HANDLE GameThread;
