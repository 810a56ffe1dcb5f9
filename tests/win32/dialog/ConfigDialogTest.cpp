// The settings dialog from the program's own template, driven through its
// real procedure: its controls, what it shows, and what it stores in win.ini.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "saver/Settings.h"
#include "saver/win32/ConfigDialog.h"
#include "saver/win32/SettingsStore.h"
#include "tests/win32/TestSupport.h"

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

const std::string ProgramPath = test::ThisProgram();

// Shows the dialog modally with the profile's settings, as the configure
// mode does; `act` runs once it is up and should close it with the result
// expected.
void ShowDialog(INT_PTR expected, std::function<void(HWND)> act) {
    PendingAction = std::move(act);
    TConfigDialog state;
    state.Settings = LoadSettings();
    state.ProgramPath = ProgramPath.c_str();
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIGURE), nullptr,
                              DrivingProc, reinterpret_cast<LPARAM>(&state)),
              expected);
    test::PumpMessages(); // the quit message that the dialog's end posts
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
    void SetUp() override { WriteProfileStringA(ProductName, nullptr, nullptr); }
    void TearDown() override { WriteProfileStringA(ProductName, nullptr, nullptr); }
};

// Per row the profile beforehand, whether the choices are changed (game
// time, low priority, plain background, no panel, no manual control, the
// fourth palette), how the dialog is closed, what it showed and what the
// section holds afterwards. Clock values that are ids of the other radio
// group or of a group box show no choice: a dialog that checked the stored
// id itself would show them. OK stores every key, those already in the
// section in their place; Cancel and the close box store nothing.
TEST_F(ConfigDialogTest, TheProfileIsShownAndOnlyOkStoresTheChoices) {
    using Keys = std::vector<std::pair<const char *, const char *>>;
    const std::string rest = " Path=" + ProgramPath + " Score1=0 Score2=0 Score3=0";
    const std::string fallbacks =
        "Time=104 Priority=107 Palette=0 ShowBkgr=1 ShowInfo=1 ManualControl=1" + rest;
    const Keys stored = {
        {"Time", "103"}, {"Priority", "108"}, {"ShowBkgr", "0"}, {"ManualControl", "5"}};
    const std::string unchanged = "Time=103 Priority=108 ShowBkgr=0 ManualControl=5";
    const struct {
        Keys Profile;
        bool Change;
        int Close; // a button, or 0 for the close box
        std::string Shown, Stored;
    } rows[] = {
        // clang-format off
        {{}, true, IDOK, "102 107 110 113 | 1",
         "Time=104 Priority=106 ShowBkgr=0 ShowInfo=0 ManualControl=0 Palette=3" + rest},
        {{{"Time", "106"}, {"Priority", "102"}, {"Palette", "7"}}, false, IDOK, "110 113 | -1", fallbacks},
        {{{"Time", "101"}, {"Priority", "105"}, {"Palette", "-1"}}, false, IDOK, "110 113 | -1", fallbacks},
        {{{"Time", "0"}, {"Priority", "999"}, {"Palette", "4"}}, false, IDOK, "110 113 | -1", fallbacks},
        {stored, true, IDCANCEL, "103 108 109 110 113 | 1", unchanged},
        {stored, true, 0, "103 108 109 110 113 | 1", unchanged},
        // clang-format on
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.Shown + " " + std::to_string(row.Close));
        WriteProfileStringA(ProductName, nullptr, nullptr);
        for (const auto &[key, value] : row.Profile)
            WriteProfileStringA(ProductName, key, value);
        std::string shown, items;
        ShowDialog(row.Close ? row.Close : IDCANCEL, [&](HWND dialog) {
            shown = Shown(dialog);
            char text[64];
            for (int i = 0; SendDlgItemMessageA(dialog, IDC_PALETTE, CB_GETLBTEXT, i,
                                                reinterpret_cast<LPARAM>(text)) > 0;
                 ++i)
                items += std::string(text) + ";";
            for (int id : {IDC_GAME_TIME, IDC_PRIORITY_LOW, IDC_PLAIN_BACKGROUND, IDC_SHOW_INFO,
                           IDC_MANUAL_CONTROL})
                if (row.Change)
                    Click(dialog, id);
            if (row.Change)
                SendDlgItemMessageA(dialog, IDC_PALETTE, CB_SETCURSEL, 3, 0);
            row.Close ? Click(dialog, row.Close)
                      : void(SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
        });
        EXPECT_EQ(shown, row.Shown);
        EXPECT_EQ(items, "Brown palette;Blue palette;Green palette;Black background;");
        EXPECT_EQ(Stored(), row.Stored);
    }
}

TEST_F(ConfigDialogTest, GetNewGamesHandsTheShellTheAddressAndStaysOpen) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string log = temp + std::string("stakko-url.txt");
    const std::string folder = ProgramPath.substr(0, ProgramPath.rfind('\\'));
    // Our recorder takes the address; should the shell turn to the browser
    // launcher instead, it finds no browser to start.
    test::TRegistryValue handler(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", nullptr);
    handler.SetText("\"" + folder + "\\stakko_url_recorder.exe\" \"" + log + "\" \"%1\"");
    test::TRegistryValue noBrowser(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers");
    noBrowser.SetText("none");
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
