#pragma once
#include <windows.h>

// The window the game thread tells when it has finished (the saver window).
extern HWND SaverWindow;

// The game thread's body: Run over and over, StepTime apart, until the stop
// signal; then WM_DESTROY is posted to SaverWindow and the thread ends.
DWORD WINAPI ThreadLoop(LPVOID unused);

// Starts the game thread (default stack, running at once); its handle, or
// null on failure. The handle serves to set its priority and to wait for it.
HANDLE StartGameThread();

// At the end of a run mode: waits at most timeout for the game thread to
// end. Only then may the shared objects it uses be closed; a thread still
// running keeps them (the process ends right after).
bool WaitForGameThread(HANDLE thread, DWORD timeout);
