#include "saver/win32/RegistryKey.h"

RegistryKey::~RegistryKey() {
    Close();
}

void RegistryKey::Open(HKEY root, const char *subkey, bool create) {
    Status = 0;
    Close();
    if (Status != 0)
        return;
    HKEY key = nullptr;
    if (create) {
        DWORD disposition = 0;
        Status = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                 nullptr, &key, &disposition);
    } else {
        Status = RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key);
    }
    // The older family may leave the out value untouched on failure; a
    // handle we were not given must never be closed later.
    Key = Status == 0 ? key : nullptr;
}

void RegistryKey::Close() {
    Status = 0;
    if (Key)
        Status = RegCloseKey(Key);
    Key = nullptr;
}

char *RegistryKey::ReadString(const char *name, char *buffer, DWORD size) {
    DWORD length = size;
    Status =
        RegQueryValueExA(Key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &length);
    // Stored data need not end in a zero, and may not fit at all.
    if (length < size)
        buffer[length] = '\0';
    if (size != 0 && length >= size)
        buffer[size - 1] = '\0';
    return buffer;
}

void RegistryKey::WriteString(const char *name, const char *text) {
    Status = RegSetValueExA(Key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                            static_cast<DWORD>(lstrlenA(text)));
}
