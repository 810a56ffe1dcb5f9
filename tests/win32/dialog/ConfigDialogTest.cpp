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

TEST_F(ConfigDialogTest, EmptyProfileShowsTheDefaultsAndOkStoresEveryKey) {
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
