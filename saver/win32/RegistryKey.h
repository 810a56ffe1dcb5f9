#pragma once
#include <windows.h>

#include <cstdint>

// One registry key; every operation leaves the platform's result in Status.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    void Open(HKEY root, const char *subkey, bool create);
    void Close();
    char *ReadString(const char *name, char *buffer, DWORD size);
    void WriteString(const char *name, const char *text);

    HKEY Key = nullptr;
    int32_t Status = 0;
};
