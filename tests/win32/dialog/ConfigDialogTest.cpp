// The settings dialog from the program's own template, driven through its
// real procedure: the template, what it shows, what OK stores in win.ini,
// what Cancel, the close box and "Get new games" leave alone, and
// RunConfigure's owner and failure report.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "driver/win32/Locks.h"
#include "game/Trace.h"
#include "resources/ResourceIds.h"
#include "saver/Settings.h"
#include "saver/win32/ConfigDialog.h"
#include "saver/win32/ShellGlobals.h"

namespace {

using TKeys = std::map<std::string, std::string>;

std::string ReadFile(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The saver's section as win.ini holds it now, read from the file itself.
TKeys StoredKeys() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, sizeof folder);
    std::istringstream file(ReadFile(std::string(folder) + "\\win.ini"));
    const std::string header = "[" + std::string(ProductName) + "]";
    TKeys keys;
    bool inSection = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find('=');
        if (!line.empty() && line[0] == '[')
            inSection = _stricmp(line.c_str(), header.c_str()) == 0;
        else if (inSection && equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

void Store(const char *key, const char *value) {
    WriteProfileStringA(ProductName, key, value);
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// ---- Showing the dialog ----

constexpr UINT ActNow = WM_APP + 1;
constexpr UINT_PTR BoundTimer = 7;
constexpr INT_PTR TimedOut = -2;

std::function<void(HWND)> PendingAction;

// The real procedure, plus the test's action once the dialog is up and a
// bound (10 s) that ends a dialog the action left open.
INT_PTR CALLBACK DrivingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ActNow && PendingAction) {
        auto act = std::move(PendingAction);
        PendingAction = nullptr;
        act(dialog);
        return TRUE;
    }
    if (message == WM_TIMER && wParam == BoundTimer) {
        EndDialog(dialog, TimedOut);
        return TRUE;
    }
    INT_PTR handled = ConfigDialogProc(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        SetTimer(dialog, BoundTimer, 10000, nullptr);
        PostMessageA(dialog, ActNow, 0, 0);
    }
    return handled;
}

struct TOutcome {
    INT_PTR Result = 0;
    bool QuitPosted = false;
    WPARAM QuitCode = 99;
};

// Takes what is left in the thread's queue, the quit message included.
TOutcome Finish(INT_PTR result) {
    TOutcome outcome;
    outcome.Result = result;
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            outcome.QuitPosted = true;
            outcome.QuitCode = msg.wParam;
        } else {
            DispatchMessageA(&msg);
        }
    }
    return outcome;
}

// Shows dialog 2003 modally; `act` runs once it is up and should close it.
TOutcome ShowDialog(std::function<void(HWND)> act) {
    PendingAction = std::move(act);
    INT_PTR result =
        DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_CONFIGURE), nullptr, DrivingProc, 0);
    PendingAction = nullptr;
    return Finish(result);
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// ---- What the dialog shows ----

struct TShown {
    int Clock = 0;    // the checked id among 102..104; 0 if none, -1 if several
    int Priority = 0; // likewise among 106..108
    bool Plain = false, Info = false, Manual = false;
    std::vector<std::string> Items;
    LRESULT Selected = 0;

    auto Tied() const { return std::tie(Clock, Priority, Plain, Info, Manual, Items, Selected); }
    bool operator==(const TShown &o) const { return Tied() == o.Tied(); }
};

int CheckedAmong(HWND dialog, int first, int last) {
    int found = 0;
    for (int id = first; id <= last; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED)
            found = found ? -1 : id;
    return found;
}

TShown ReadShown(HWND dialog) {
    TShown shown;
    shown.Clock = CheckedAmong(dialog, IDC_CURRENT_TIME, IDC_GAME_TIME);
    shown.Priority = CheckedAmong(dialog, IDC_PRIORITY_LOW, IDC_PRIORITY_HIGH);
    shown.Plain = IsDlgButtonChecked(dialog, IDC_PLAIN_BACKGROUND) == BST_CHECKED;
    shown.Info = IsDlgButtonChecked(dialog, IDC_SHOW_INFO) == BST_CHECKED;
    shown.Manual = IsDlgButtonChecked(dialog, IDC_MANUAL_CONTROL) == BST_CHECKED;
    HWND list = GetDlgItem(dialog, IDC_PALETTE);
    LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = "";
        if (SendMessageA(list, CB_GETLBTEXTLEN, i, 0) < LRESULT(sizeof text))
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        shown.Items.push_back(text);
    }
    shown.Selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return shown;
}

const std::vector<std::string> PaletteItems = {"Brown palette", "Blue palette", "Green palette",
                                               "Black background"};

std::vector<std::string> Traced;
void RecordTrace(const char *text) {
    Traced.push_back(text ? text : "(null)");
}

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Instance = GetModuleHandleA(nullptr);
        ReadProgramPath();
        CreateSyncObjects();
        WriteProfileStringA(ProductName, nullptr, nullptr);
        Traced.clear();
        SetTraceHook(&RecordTrace);
    }
    void TearDown() override {
        SetTraceHook(nullptr);
        WriteProfileStringA(ProductName, nullptr, nullptr);
        Instance = GetModuleHandleA(nullptr);
    }
};

// ---- The template ----

TEST_F(ConfigDialogTest, TemplateHeaderNamesTheFontAndPlace) {
    HRSRC found = FindResourceA(Instance, MAKEINTRESOURCEA(IDD_CONFIGURE), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    auto words = static_cast<const WORD *>(LockResource(LoadResource(Instance, found)));
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0] | DWORD{words[1]} << 16,
              DWORD{WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT});
    EXPECT_EQ(std::vector<WORD>(words + 4, words + 9), (std::vector<WORD>{16, 26, 20, 186, 166}));
    // No menu, no class; then the title, the point size and the face.
    const WORD *at = words + 9;
    EXPECT_EQ(at[0], 0);
    EXPECT_EQ(at[1], 0);
    auto text = [&at] {
        std::string s;
        for (; *at; ++at)
            s += static_cast<char>(*at);
        ++at;
        return s;
    };
    at += 2;
    EXPECT_EQ(text(), "Vornel Hex Stakko");
    EXPECT_EQ(*at++, 8);
    EXPECT_EQ(text(), "Arial");
}

struct TExpectedControl {
    int Id;
    const char *Class;
    const char *Caption; // null for the list, whose text is its selection
    DWORD Style;         // beside WS_CHILD and WS_VISIBLE
    int X, Y, Width, Height;
};

const TExpectedControl Controls[] = {
    {101, "Button", "Clock", BS_GROUPBOX | WS_GROUP, 6, 7, 80, 70},
    {102, "Button", "Current time", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 22, 60, 12},
    {103, "Button", "Run time", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 39, 60, 12},
    {104, "Button", "Game time", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 57, 60, 12},
    {105, "Button", "Task priority", BS_GROUPBOX | WS_GROUP, 98, 6, 82, 71},
    {106, "Button", "Low", BS_AUTORADIOBUTTON | WS_TABSTOP, 108, 21, 60, 12},
    {107, "Button", "Normal", BS_AUTORADIOBUTTON | WS_TABSTOP, 108, 38, 60, 12},
    {108, "Button", "High", BS_AUTORADIOBUTTON | WS_TABSTOP, 108, 56, 60, 12},
    {109, "Button", "Plain background", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 94, 75, 12},
    {111, "ComboBox", nullptr, CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 7, 81,
     174, 44},
    {110, "Button", "Show info", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 113, 75, 12},
    {113, "Button", "Manual control", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 131, 71, 12},
    {1, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 9, 149, 50, 14},
    {2, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 67, 149, 50, 14},
    {112, "Button", "Get new games", BS_PUSHBUTTON | WS_TABSTOP, 125, 149, 56, 14},
    {200, "Static", "Game control keys:\n cursor LEFT, RIGHT, UP, DOWN and SPACE.",
     SS_CENTER | WS_GROUP, 100, 99, 79, 45},
};

// Dialog units to pixels, each value on its own, as the dialog manager does.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT rect = {x, y, width, height};
    MapDialogRect(dialog, &rect);
    return rect;
}

void ExpectControls(HWND dialog) {
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const TExpectedControl &control : Controls) {
        SCOPED_TRACE("control " + std::to_string(control.Id));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), control.Id);
        char text[128] = "";
        GetClassNameA(child, text, sizeof text);
        EXPECT_STREQ(text, control.Class);
        GetWindowTextA(child, text, sizeof text);
        if (control.Caption) {
            EXPECT_STREQ(text, control.Caption);
        }
        // The platform moves a radio group's tab stop to its checked button,
        // and a list's scroll bar to its drop-down part.
        DWORD compared = 0xFFFF | WS_GROUP | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_CHILD |
                         WS_VISIBLE | WS_DISABLED | WS_POPUP;
        if ((control.Style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && control.Caption)
            compared &= ~WS_TABSTOP;
        if (control.Id == IDC_PALETTE)
            compared &= ~WS_VSCROLL;
        DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        EXPECT_EQ(style & compared, (control.Style | WS_CHILD | WS_VISIBLE) & compared)
            << std::hex << "style 0x" << style;

        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&place), 2);
        RECT expected = DialogUnits(dialog, control.X, control.Y, control.Width, control.Height);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        EXPECT_EQ(place.right - place.left, expected.right);
        if (control.Id != IDC_PALETTE) { // a closed drop-down list is one line high
            EXPECT_EQ(place.bottom - place.top, expected.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more than sixteen controls";
}

TEST_F(ConfigDialogTest, ShownDialogHasTheSixteenControlsInOrder) {
    TOutcome outcome = ShowDialog([](HWND dialog) {
        char title[64] = "";
        GetWindowTextA(dialog, title, sizeof title);
        EXPECT_STREQ(title, "Vornel Hex Stakko");
        DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
        DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
        EXPECT_EQ(style & wanted, wanted) << std::hex << style;
        EXPECT_EQ(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, WS_EX_DLGMODALFRAME);

        // The client area stands at (26, 20) dialog units and is 186 x 166.
        POINT origin = {0, 0};
        ClientToScreen(dialog, &origin);
        RECT client;
        GetClientRect(dialog, &client);
        RECT expected = DialogUnits(dialog, 26, 20, 186, 166);
        EXPECT_EQ(
            (std::vector<LONG>{origin.x, origin.y, client.right, client.bottom}),
            (std::vector<LONG>{expected.left, expected.top, expected.right, expected.bottom}));
        ExpectControls(dialog);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(outcome.Result, IDCANCEL);
}

// ---- What is shown, and what OK stores ----

TEST_F(ConfigDialogTest, EmptyProfileShowsDefaultsAndOkStoresThem) {
    Settings.Time = ClockGameTime; // not to be shown: the dialog reads the profile
    Settings.Palette = 3;
    TShown shown;
    TOutcome outcome = ShowDialog([&](HWND dialog) {
        shown = ReadShown(dialog);
        Click(dialog, IDC_PLAIN_BACKGROUND);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown.Clock, IDC_CURRENT_TIME);
    EXPECT_EQ(shown.Priority, IDC_PRIORITY_NORMAL);
    EXPECT_FALSE(shown.Plain);
    EXPECT_TRUE(shown.Info);
    EXPECT_TRUE(shown.Manual);
    EXPECT_EQ(shown.Items, PaletteItems);
    EXPECT_EQ(shown.Selected, 1);

    EXPECT_EQ(outcome.Result, IDOK);
    EXPECT_TRUE(outcome.QuitPosted) << "the dialog's end posts the quit message";
    EXPECT_EQ(outcome.QuitCode, 0u);
    EXPECT_EQ(StoredKeys(), (TKeys{{"Time", "102"},
                                   {"Priority", "107"},
                                   {"ShowBkgr", "0"},
                                   {"ShowInfo", "1"},
                                   {"ManualControl", "1"},
                                   {"Palette", "1"},
                                   {"Path", ModulePath()},
                                   {"Score1", "0"},
                                   {"Score2", "0"},
                                   {"Score3", "0"}}));
}

TEST_F(ConfigDialogTest, StoredChoicesAreShownAndOkStoresTheNewOnes) {
    const TKeys stored = {{"Time", "103"},   {"Priority", "108"}, {"Palette", "2"},
                          {"ShowBkgr", "0"}, {"ShowInfo", "0"},   {"ManualControl", "5"},
                          {"Score1", "500"}, {"Score2", "400"},   {"Score3", "300"}};
    for (const auto &[key, value] : stored)
        Store(key.c_str(), value.c_str());
    Settings.Score1 = 7; // the scores stored are those read when the dialog opened
    TShown shown;
    TOutcome outcome = ShowDialog([&](HWND dialog) {
        shown = ReadShown(dialog);
        for (int id : {IDC_GAME_TIME, IDC_PRIORITY_LOW, IDC_PLAIN_BACKGROUND, IDC_SHOW_INFO,
                       IDC_MANUAL_CONTROL})
            Click(dialog, id);
        SendMessageA(GetDlgItem(dialog, IDC_PALETTE), CB_SETCURSEL, 3, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown.Clock, IDC_RUN_TIME);
    EXPECT_EQ(shown.Priority, IDC_PRIORITY_HIGH);
    EXPECT_TRUE(shown.Plain);
    EXPECT_FALSE(shown.Info);
    EXPECT_TRUE(shown.Manual); // any non-zero number is on
    EXPECT_EQ(shown.Selected, 2);

    EXPECT_EQ(outcome.Result, IDOK);
    EXPECT_EQ(StoredKeys(), (TKeys{{"Time", "104"},
                                   {"Priority", "106"},
                                   {"ShowBkgr", "1"},
                                   {"ShowInfo", "1"},
                                   {"ManualControl", "0"},
                                   {"Palette", "3"},
                                   {"Path", ModulePath()},
                                   {"Score1", "500"},
                                   {"Score2", "400"},
                                   {"Score3", "300"}}));
}

TEST_F(ConfigDialogTest, OutOfRangeValuesShowNoChoiceAndOkStoresTheFallbacks) {
    // Clock values that are ids of the other radio group or of a group box:
    // a dialog that checked the stored id itself would show them.
    const char *const cases[][3] = {{"106", "102", "7"}, {"101", "105", "-1"}, {"0", "999", "4"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("Time ") + c[0] + ", Priority " + c[1] + ", Palette " + c[2]);
        WriteProfileStringA(ProductName, nullptr, nullptr);
        Store("Time", c[0]);
        Store("Priority", c[1]);
        Store("Palette", c[2]);
        TShown shown;
        TOutcome outcome = ShowDialog([&](HWND dialog) {
            shown = ReadShown(dialog);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(shown.Clock, 0);
        EXPECT_EQ(shown.Priority, 0);
        EXPECT_EQ(shown.Items, PaletteItems);
        EXPECT_EQ(shown.Selected, CB_ERR);
        EXPECT_EQ(outcome.Result, IDOK);
        TKeys keys = StoredKeys();
        EXPECT_EQ(std::vector<std::string>({keys["Time"], keys["Priority"], keys["Palette"]}),
                  std::vector<std::string>({"104", "107", "0"}));
    }
}

TEST_F(ConfigDialogTest, EveryOpeningFillsTheListAgain) {
    TShown first, second;
    Store("Palette", "0");
    ShowDialog([&](HWND dialog) {
        first = ReadShown(dialog);
        Click(dialog, IDCANCEL);
    });
    Store("Palette", "2");
    TOutcome outcome = ShowDialog([&](HWND dialog) {
        second = ReadShown(dialog);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(first.Items, PaletteItems);
    EXPECT_EQ(first.Selected, 0);
    EXPECT_EQ(second.Items, PaletteItems);
    EXPECT_EQ(second.Selected, 2);
    EXPECT_EQ(outcome.Result, IDOK);
    EXPECT_EQ(StoredKeys()["Palette"], "2");
}

// ---- What stores nothing ----

TEST_F(ConfigDialogTest, CancelAndTheCloseBoxStoreNothing) {
    const std::pair<const char *, void (*)(HWND)> closers[] = {
        {"Cancel", [](HWND dialog) { Click(dialog, IDCANCEL); }},
        {"close box", [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto &[name, close] : closers) {
        SCOPED_TRACE(name);
        WriteProfileStringA(ProductName, nullptr, nullptr);
        Store("Time", "103");
        Store("Score1", "42");
        TOutcome outcome = ShowDialog([close = close](HWND dialog) {
            for (int id : {IDC_GAME_TIME, IDC_PRIORITY_HIGH, IDC_PLAIN_BACKGROUND, IDC_SHOW_INFO})
                Click(dialog, id);
            SendMessageA(GetDlgItem(dialog, IDC_PALETTE), CB_SETCURSEL, 3, 0);
            close(dialog);
        });
        EXPECT_EQ(outcome.Result, IDCANCEL);
        EXPECT_EQ(StoredKeys(), (TKeys{{"Time", "103"}, {"Score1", "42"}}));
    }
}

// ---- "Get new games" ----

// Sets one registry value for the life of the object, then puts back what
// was there before.
struct TRegistryOverride {
    HKEY Key = nullptr;
    const char *Name;
    char Old[1024] = "";
    bool HadOld = false;

    TRegistryOverride(HKEY root, const char *path, const char *name, const std::string &value)
        : Name(name) {
        if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr))
            return;
        DWORD size = sizeof Old - 1;
        HadOld =
            !RegQueryValueExA(Key, Name, nullptr, nullptr, reinterpret_cast<BYTE *>(Old), &size);
        Write(value.c_str());
    }
    ~TRegistryOverride() {
        if (HadOld)
            Write(Old);
        else
            RegDeleteValueA(Key, Name);
        RegCloseKey(Key);
    }
    bool Write(const char *text) {
        return !RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                               static_cast<DWORD>(std::strlen(text) + 1));
    }
};

TEST_F(ConfigDialogTest, GetNewGamesOpensThePageAndChangesNothing) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string log =
        std::string(temp) + "stakko-url-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(log.c_str());
    std::string recorder = ModulePath();
    recorder = recorder.substr(0, recorder.find_last_of('\\') + 1) + "stakko_url_recorder.exe";
    ASSERT_NE(GetFileAttributesA(recorder.c_str()), INVALID_FILE_ATTRIBUTES) << recorder;

    // Our recorder takes the address; should the shell turn to the browser
    // launcher instead, it finds no browser to start.
    TRegistryOverride handler(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", nullptr,
                              "\"" + recorder + "\" \"" + log + "\" \"%1\"");
    TRegistryOverride noBrowser(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers",
                                "stakko-no-browser");
    ASSERT_NE(handler.Key, nullptr);

    Store("Time", "103");
    Store("Palette", "3");
    const TKeys before = StoredKeys();
    TShown shownBefore, shownAfter;
    bool openAfterClick = false;
    std::string recorded;
    TOutcome outcome = ShowDialog([&](HWND dialog) {
        shownBefore = ReadShown(dialog);
        const TSettings settingsBefore = Settings;
        Click(dialog, IDC_GET_NEW_GAMES);
        openAfterClick = IsWindowVisible(dialog);
        for (int i = 0; i < 150 && recorded.empty(); ++i) {
            Sleep(100);
            recorded = ReadFile(log);
        }
        Sleep(300); // a second launch would show by now
        recorded = ReadFile(log);
        shownAfter = ReadShown(dialog);
        EXPECT_EQ(std::memcmp(&settingsBefore, &Settings, sizeof Settings), 0);
        Click(dialog, IDCANCEL);
    });
    DeleteFileA(log.c_str());

    EXPECT_TRUE(openAfterClick);
    EXPECT_EQ(outcome.Result, IDCANCEL);
    EXPECT_EQ(recorded, "http://www.vornel.com/cgi-bin/screen.pl/games.html?r=h&c=b\n");
    EXPECT_EQ(shownAfter, shownBefore);
    EXPECT_EQ(StoredKeys(), before);
}

// ---- RunConfigure ----

HWND SeenOwner = nullptr;
int WatchTicks = 0;

// A thread timer, dispatched by the dialog's own modal loop: presses OK once
// the dialog is up, and gives up after five seconds.
void CALLBACK PressOkWhenUp(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "Vornel Hex Stakko");
    if (dialog) {
        SeenOwner = GetWindow(dialog, GW_OWNER);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    if (dialog || ++WatchTicks > 200)
        KillTimer(nullptr, timer);
}

TEST_F(ConfigDialogTest, RunConfigureIsOwnedByTheForegroundWindow) {
    HWND owner = CreateWindowExA(0, "Static", "owner", WS_POPUP | WS_VISIBLE, 600, 500, 100, 100,
                                 nullptr, nullptr, Instance, nullptr);
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    ASSERT_EQ(GetForegroundWindow(), owner);
    HostWindow = nullptr;
    SeenOwner = nullptr;
    WatchTicks = 0;
    SetTimer(nullptr, 0, 25, PressOkWhenUp);
    EXPECT_EQ(RunConfigure(), 0);
    Finish(0);
    DestroyWindow(owner);

    EXPECT_EQ(SeenOwner, owner);
    EXPECT_EQ(StoredKeys()["Time"], "102") << "OK went through the real procedure";
    EXPECT_TRUE(Traced.empty());
}

TEST_F(ConfigDialogTest, RunConfigureTracesTheSystemTextWhenTheDialogCannotBeMade) {
    Instance = GetModuleHandleA("kernel32.dll"); // a module without dialog 2003
    ASSERT_NE(Instance, nullptr);
    EXPECT_EQ(RunConfigure(), 0);
    ASSERT_EQ(Traced.size(), 1u);
    std::vector<std::string> texts;
    for (DWORD code : {ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND}) {
        char text[256] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       text, sizeof text - 1, nullptr);
        texts.push_back(text);
    }
    EXPECT_FALSE(Traced[0].empty());
    EXPECT_TRUE(Traced[0] == texts[0] || Traced[0] == texts[1]) << Traced[0];
    EXPECT_TRUE(StoredKeys().empty());
}

} // namespace
