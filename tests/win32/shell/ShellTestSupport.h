#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// Keeps one registry value as it was (or absent) and puts it back, so that
// the tests leave the shared prefix as they found it.
class TRegistryValueBackup {
public:
    TRegistryValueBackup(HKEY root, const char *subkey, const char *name)
        : Root(root), Subkey(subkey), Name(name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(Root, Subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExA(key, Name.c_str(), nullptr, &Type, nullptr, &size) == ERROR_SUCCESS) {
            Data.resize(size);
            Present = RegQueryValueExA(key, Name.c_str(), nullptr, &Type, Data.data(), &size) ==
                      ERROR_SUCCESS;
            Data.resize(size);
        }
        RegCloseKey(key);
    }
    ~TRegistryValueBackup() {
        HKEY key = nullptr;
        if (RegCreateKeyExA(Root, Subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        if (Present)
            RegSetValueExA(key, Name.c_str(), 0, Type, Data.data(),
                           static_cast<DWORD>(Data.size()));
        else
            RegDeleteValueA(key, Name.c_str());
        RegCloseKey(key);
    }
    TRegistryValueBackup(const TRegistryValueBackup &) = delete;
    TRegistryValueBackup &operator=(const TRegistryValueBackup &) = delete;

private:
    HKEY Root;
    std::string Subkey;
    std::string Name;
    bool Present = false;
    DWORD Type = 0;
    std::vector<BYTE> Data;
};

inline LONG SetRegistryValue(HKEY root, const char *subkey, const char *name, DWORD type,
                             const void *data, DWORD size) {
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
    return result;
}

inline LONG SetRegistryText(HKEY root, const char *subkey, const char *name,
                            const std::string &text) {
    return SetRegistryValue(root, subkey, name, REG_SZ, text.c_str(),
                            static_cast<DWORD>(text.size() + 1));
}

inline void DeleteRegistryValue(HKEY root, const char *subkey, const char *name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

// The value's text, or absent (false) when it can't be read.
inline bool ReadRegistryText(HKEY root, const char *subkey, const char *name, std::string &text) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1;
    LONG result =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    buffer[size] = '\0';
    text = buffer;
    return true;
}

// The folder of the running test program, without a trailing backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

inline std::string WindowsFolder() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

// Runs this program's disabled cases that match the filter in a child
// process, for which Wine gets one setting of its own: a value in the
// program's key under AppDefaults (in its subkey, if one is named), read by
// Wine when a process starts and removed again afterwards. The child's exit
// code (0 when its cases passed), or -1 when it could not run in time.
inline int RunCasesInChild(const char *filter, const char *subkey, const char *name,
                           const char *value) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string appDefaults = "Software\\Wine\\AppDefaults";
    HKEY existing = nullptr;
    const bool hadAppDefaults = RegOpenKeyExA(HKEY_CURRENT_USER, appDefaults.c_str(), 0, KEY_READ,
                                              &existing) == ERROR_SUCCESS;
    if (existing)
        RegCloseKey(existing);
    const std::string program = appDefaults + "\\" + (std::strrchr(self, '\\') + 1);
    const std::string key = *subkey ? program + "\\" + subkey : program;

    int exitCode = -1;
    if (SetRegistryText(HKEY_CURRENT_USER, key.c_str(), name, value) == ERROR_SUCCESS) {
        std::string command = std::string("\"") + self + "\" --gtest_filter=" + filter +
                              " --gtest_also_run_disabled_tests";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process)) {
            DWORD code = 0;
            if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(process.hProcess, &code))
                exitCode = static_cast<int>(code);
            else
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    if (*subkey)
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, program.c_str());
    if (!hadAppDefaults)
        RegDeleteKeyA(HKEY_CURRENT_USER, appDefaults.c_str());
    return exitCode;
}
