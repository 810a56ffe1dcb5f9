// The settings dialog from the program's own template, driven through its
// real procedure: its controls, what it shows, and what it stores in win.ini.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "driver/win32/Locks.h"
#include "resources/ResourceIds.h"
#include "saver/Settings.h"
#include "saver/win32/ConfigDialog.h"
#include "saver/win32/ShellGlobals.h"

namespace {

constexpr UINT ActNow = WM_APP + 1;
std::function<void(HWND)> PendingAction;

// The real procedure, plus the test's action once the dialog is up and a
// bound (10 s) that ends a dialog the action left open.
INT_PTR CALLBACK DrivingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ActNow || message == WM_TIMER) {
        message == ActNow ? PendingAction(dialog) : void(EndDialog(dialog, -2));
        return TRUE;
    }
    INT_PTR handled = ConfigDialogProc(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        SetTimer(dialog, 1, 10000, nullptr);
        PostMessageA(dialog, ActNow, 0, 0);
    }
    return handled;
}

// Shows the dialog modally; `act` runs once it is up and should close it
// with the result expected.
void ShowDialog(INT_PTR expected, std::function<void(HWND)> act) {
    PendingAction = std::move(act);
    EXPECT_EQ(DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_CONFIGURE), nullptr, DrivingProc, 0),
              expected);
    MSG msg; // the quit message that the dialog's end posts
    for (int i = 0; i < 100 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        DispatchMessageA(&msg);
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The checked buttons' ids, then the list's selection: "102 107 110 113 | 1".
std::string Shown(HWND dialog) {
    std::string shown;
    for (int id = IDC_CURRENT_TIME; id <= IDC_MANUAL_CONTROL; ++id)
        if (id != IDC_PRIORITY_GROUP && IsDlgButtonChecked(dialog, id) == BST_CHECKED)
            shown += std::to_string(id) + " ";
    return shown + "| " +
           std::to_string(SendDlgItemMessageA(dialog, IDC_PALETTE, CB_GETCURSEL, 0, 0));
}

// The saver's section as "key=value" texts joined by spaces.
std::string Stored() {
    char section[4096] = "";
    DWORD length = GetProfileSectionA(ProductName, section, sizeof section);
    for (DWORD i = 0; i + 1 < length; ++i)
        section[i] = section[i] ? section[i] : ' ';
    return std::string(section, length ? length - 1 : 0);
}

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Instance = GetModuleHandleA(nullptr);
        ReadProgramPath();
        CreateSyncObjects();
        WriteProfileStringA(ProductName, nullptr, nullptr);
    }
    void TearDown() override { WriteProfileStringA(ProductName, nullptr, nullptr); }
};

TEST_F(ConfigDialogTest, TheTemplateHasTheSixteenControlsInOrder) {
    // Style beside WS_CHILD and WS_VISIBLE; the list's text is its selection.
    const struct {
        int Id;
        const char *Class, *Caption;
        DWORD Style;
        int X, Y, Width, Height;
    } controls[] = {
        {101, "Button", "Clock", BS_GROUPBOX | WS_GROUP, 6, 7, 80, 70},
        {102, "Button", "Current time", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 22, 60, 12},
        {103, "Button", "Run time", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 39, 60, 12},
        {104, "Button", "Game time", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 57, 60, 12},
        {105, "Button", "Task priority", BS_GROUPBOX | WS_GROUP, 98, 6, 82, 71},
        {106, "Button", "Low", BS_AUTORADIOBUTTON | WS_TABSTOP, 108, 21, 60, 12},
        {107, "Button", "Normal", BS_AUTORADIOBUTTON | WS_TABSTOP, 108, 38, 60, 12},
        {108, "Button", "High", BS_AUTORADIOBUTTON | WS_TABSTOP, 108, 56, 60, 12},
        {109, "Button", "Plain background", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 94, 75, 12},
        {111, "ComboBox", "", CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 7, 81,
         174, 44},
        {110, "Button", "Show info", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 113, 75, 12},
        {113, "Button", "Manual control", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 131, 71, 12},
        {1, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 9, 149, 50, 14},
        {2, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 67, 149, 50, 14},
        {112, "Button", "Get new games", BS_PUSHBUTTON | WS_TABSTOP, 125, 149, 56, 14},
        {200, "Static", "Game control keys:\n cursor LEFT, RIGHT, UP, DOWN and SPACE.",
         SS_CENTER | WS_GROUP, 100, 99, 79, 45},
    };
    ShowDialog(IDCANCEL, [&](HWND dialog) {
        HWND child = GetWindow(dialog, GW_CHILD);
        for (const auto &control : controls) {
            SCOPED_TRACE(control.Id);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(GetDlgCtrlID(child), control.Id);
            char text[128] = "";
            GetClassNameA(child, text, sizeof text);
            EXPECT_STREQ(text, control.Class);
            GetWindowTextA(child, text, sizeof text);
            if (control.Id != IDC_PALETTE) {
                EXPECT_STREQ(text, control.Caption);
            }
            // The platform moves a radio group's tab stop to its checked
            // button, and a list's scroll bar to its drop-down part.
            DWORD compared = 0xFFFF | WS_GROUP | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_CHILD |
                             WS_VISIBLE | WS_DISABLED | WS_POPUP;
            if ((control.Style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                compared &= ~WS_TABSTOP;
            if (control.Id == IDC_PALETTE)
                compared &= ~WS_VSCROLL;
            EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & compared,
                      (control.Style | WS_CHILD | WS_VISIBLE) & compared);
            // Dialog units to pixels, each value on its own, as the dialog
            // manager does; a closed drop-down list is one line high.
            RECT place, expected = {control.X, control.Y, control.Width, control.Height};
            MapDialogRect(dialog, &expected);
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&place), 2);
            const LONG height =
                control.Id == IDC_PALETTE ? expected.bottom : place.bottom - place.top;
            EXPECT_EQ(
                (std::vector<LONG>{place.left, place.top, place.right - place.left, height}),
                (std::vector<LONG>{expected.left, expected.top, expected.right, expected.bottom}));
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr) << "more than sixteen controls";
        Click(dialog, IDCANCEL);
    });
}

TEST_F(ConfigDialogTest, EmptyProfileShowsTheDefaultsAndOkStoresEveryKey) {
    Settings.Time = ClockGameTime; // not to be shown: the dialog reads the profile
    std::string shown, items;
    ShowDialog(IDOK, [&](HWND dialog) {
        shown = Shown(dialog);
        char text[64];
        for (int i = 0; SendDlgItemMessageA(dialog, IDC_PALETTE, CB_GETLBTEXT, i,
                                            reinterpret_cast<LPARAM>(text)) > 0;
             ++i)
            items += std::string(text) + ";";
        for (int id : {IDC_GAME_TIME, IDC_PRIORITY_LOW, IDC_PLAIN_BACKGROUND, IDC_SHOW_INFO,
                       IDC_MANUAL_CONTROL})
            Click(dialog, id);
        SendDlgItemMessageA(dialog, IDC_PALETTE, CB_SETCURSEL, 3, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown, "102 107 110 113 | 1");
    EXPECT_EQ(items, "Brown palette;Blue palette;Green palette;Black background;");
    EXPECT_EQ(Stored(), "Time=104 Priority=106 ShowBkgr=0 ShowInfo=0 ManualControl=0 Palette=3 "
                        "Path=" +
                            std::string(ProgramPath) + " Score1=0 Score2=0 Score3=0");
}

// Clock values that are ids of the other radio group or of a group box: a
// dialog that checked the stored id itself would show them.
TEST_F(ConfigDialogTest, OutOfRangeValuesShowNoChoiceAndOkStoresTheFallbacks) {
    const char *const rows[][3] = {{"106", "102", "7"}, {"101", "105", "-1"}, {"0", "999", "4"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row[0]) + " " + row[1] + " " + row[2]);
        WriteProfileStringA(ProductName, "Time", row[0]);
        WriteProfileStringA(ProductName, "Priority", row[1]);
        WriteProfileStringA(ProductName, "Palette", row[2]);
        std::string shown;
        ShowDialog(IDOK, [&](HWND dialog) {
            shown = Shown(dialog);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(shown, "110 113 | -1");
        // Keys already in the section keep their place.
        EXPECT_EQ(Stored().substr(0, Stored().find(" Path")),
                  "Time=104 Priority=107 Palette=0 ShowBkgr=1 ShowInfo=1 ManualControl=1");
    }
}

TEST_F(ConfigDialogTest, StoredChoicesAreShownAndCancelOrTheCloseBoxStoreNothing) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        const char *const stored[][2] = {
            {"Time", "103"}, {"Priority", "108"}, {"ShowBkgr", "0"}, {"ManualControl", "5"}};
        for (const auto &key : stored)
            WriteProfileStringA(ProductName, key[0], key[1]);
        std::string shown;
        ShowDialog(IDCANCEL, [&](HWND dialog) {
            shown = Shown(dialog);
            for (int id : {IDC_GAME_TIME, IDC_PRIORITY_LOW, IDC_SHOW_INFO})
                Click(dialog, id);
            SendDlgItemMessageA(dialog, IDC_PALETTE, CB_SETCURSEL, 3, 0);
            if (closeBox)
                SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(shown, "103 108 109 110 113 | 1");
        EXPECT_EQ(Stored(), "Time=103 Priority=108 ShowBkgr=0 ManualControl=5");
    }
}

// Sets one registry text for the object's life, then puts back the old one.
struct TOverride {
    HKEY Key = nullptr;
    const char *Name;
    char Old[1024];
    DWORD Size = sizeof Old;
    bool Had;
    TOverride(HKEY root, const char *path, const char *name, const std::string &text) : Name(name) {
        RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
        Had = !RegQueryValueExA(Key, Name, nullptr, nullptr, reinterpret_cast<BYTE *>(Old), &Size);
        RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    ~TOverride() {
        Had ? RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<BYTE *>(Old), Size)
            : RegDeleteValueA(Key, Name);
        RegCloseKey(Key);
    }
};

TEST_F(ConfigDialogTest, GetNewGamesHandsTheShellTheAddressAndStaysOpen) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string log = temp + std::string("stakko-url.txt");
    const std::string folder =
        std::string(ProgramPath).substr(0, std::strrchr(ProgramPath, '\\') - ProgramPath);
    // Our recorder takes the address; should the shell turn to the browser
    // launcher instead, it finds no browser to start.
    TOverride handler(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", nullptr,
                      "\"" + folder + "\\stakko_url_recorder.exe\" \"" + log + "\" \"%1\"");
    TOverride noBrowser(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", "none");
    WriteProfileStringA(ProductName, "Time", "103");
    std::string recorded;
    bool open = false;
    DeleteFileA(log.c_str());
    ShowDialog(IDCANCEL, [&](HWND dialog) {
        Click(dialog, IDC_GET_NEW_GAMES);
        open = IsWindowVisible(dialog);
        // A bounded wait for the recorder; then time for a second launch to show.
        for (int i = 0; i < 150 && GetFileAttributesA(log.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
            Sleep(100);
        Sleep(300);
        std::getline(std::ifstream(log), recorded, '\0');
        Click(dialog, IDCANCEL);
    });
    DeleteFileA(log.c_str());
    EXPECT_TRUE(open);
    EXPECT_EQ(recorded, "http://www.vornel.com/cgi-bin/screen.pl/games.html?r=h&c=b\n");
    EXPECT_EQ(Stored(), "Time=103");
}

} // namespace
