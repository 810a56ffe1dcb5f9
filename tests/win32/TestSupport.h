#pragma once
#include <windows.h>

#include <string>

// What the Win32 tests share: plain windows, draining their messages, this
// program's path, and registry values put back as they were.
namespace test {
// A popup with the default window procedure, shown without taking the focus.
inline HWND MakePopup(const char *className, int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc); // fails harmlessly when the class exists
    HWND window = CreateWindowExA(0, className, className, WS_POPUP, 0, 0, width, height, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    if (window)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// Dispatches what is queued for this thread, a bounded number of messages.
inline void PumpMessages() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        DispatchMessageA(&msg);
}

// The cursor's display count, left as it was.
inline int CursorCount() {
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

inline std::string ThisProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// One registry value for the object's life, put back as it was afterwards,
// so that the shared prefix stays as the tests found it.
class TRegistryValue {
public:
    TRegistryValue(HKEY root, const char *path, const char *name) : Name(name) {
        RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
        Had = !RegQueryValueExA(Key, Name, nullptr, &SavedType, Saved, &SavedSize);
    }
    ~TRegistryValue() {
        Had ? Set(SavedType, Saved, SavedSize) : Delete();
        RegCloseKey(Key);
    }
    TRegistryValue(const TRegistryValue &) = delete;
    TRegistryValue &operator=(const TRegistryValue &) = delete;
    LONG Set(DWORD type, const void *data, DWORD size) {
        return RegSetValueExA(Key, Name, 0, type, static_cast<const BYTE *>(data), size);
    }
    LONG SetText(const std::string &text, DWORD type = REG_SZ) {
        return Set(type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    LONG Delete() { return RegDeleteValueA(Key, Name); }
    // The stored text, or "<absent>"; its type in `type`.
    std::string Text(DWORD *type = nullptr) const {
        char text[1024] = "";
        DWORD size = sizeof text - 1;
        if (RegQueryValueExA(Key, Name, nullptr, type, reinterpret_cast<BYTE *>(text), &size))
            return "<absent>";
        text[size] = '\0';
        return text;
    }

private:
    const char *Name;
    HKEY Key = nullptr;
    DWORD SavedType = 0, SavedSize = 1024;
    BYTE Saved[1024];
    bool Had;
};
} // namespace test
