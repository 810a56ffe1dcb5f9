#include "saver/win32/ConfigDialog.h"

#include <shellapi.h>

#include "game/Trace.h"
#include "resources/ResourceIds.h"
#include "saver/GamesPage.h"
#include "saver/Settings.h"
#include "saver/win32/SettingsStore.h"
#include "saver/win32/ShellGlobals.h"

namespace {

// The palette list; an item's index is the stored Palette value.
const char *const PaletteNames[] = {"Brown palette", "Blue palette", "Green palette",
                                    "Black background"};

// Kept after the dialog opens. Looked up again at every opening: a handle
// kept from an earlier dialog would name a destroyed window, or a stranger's.
HWND PaletteList = nullptr;

void ShowSettings(HWND dialog) {
    LoadSettings();
    CheckRadioButton(dialog, IDC_CURRENT_TIME, IDC_GAME_TIME, Settings.Time);
    CheckRadioButton(dialog, IDC_PRIORITY_LOW, IDC_PRIORITY_HIGH, Settings.Priority);
    CheckDlgButton(dialog, IDC_PLAIN_BACKGROUND, Settings.ShowBkgr ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, IDC_SHOW_INFO, Settings.ShowInfo ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_MANUAL_CONTROL,
                   Settings.ManualControl ? BST_CHECKED : BST_UNCHECKED);
    PaletteList = GetDlgItem(dialog, IDC_PALETTE);
    if (PaletteList) {
        SendMessageA(PaletteList, CB_RESETCONTENT, 0, 0);
        for (const char *name : PaletteNames)
            SendMessageA(PaletteList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    // An index outside the list selects nothing.
    SendMessageA(PaletteList, CB_SETCURSEL, static_cast<WPARAM>(Settings.Palette), 0);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void ReadBackSettings(HWND dialog) {
    if (Checked(dialog, IDC_CURRENT_TIME))
        Settings.Time = ClockCurrentTime;
    else if (Checked(dialog, IDC_RUN_TIME))
        Settings.Time = ClockRunTime;
    else
        Settings.Time = ClockGameTime;

    if (Checked(dialog, IDC_PRIORITY_LOW))
        Settings.Priority = PriorityLow;
    else if (Checked(dialog, IDC_PRIORITY_HIGH))
        Settings.Priority = PriorityHigh;
    else
        Settings.Priority = PriorityNormal;

    Settings.ShowBkgr = !Checked(dialog, IDC_PLAIN_BACKGROUND);
    Settings.ShowInfo = Checked(dialog, IDC_SHOW_INFO);
    Settings.ManualControl = Checked(dialog, IDC_MANUAL_CONTROL);

    LRESULT selected = SendMessageA(PaletteList, CB_GETCURSEL, 0, 0);
    Settings.Palette = selected < 0 ? 0 : static_cast<int32_t>(selected);
}

void OpenGamesPage() {
    ShellExecuteA(nullptr, "open", GamesPageAddress, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

} // namespace

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ShowSettings(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            ReadBackSettings(dialog);
            EndDialog(dialog, IDOK);
            SaveSettings();
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_GET_NEW_GAMES:
            OpenGamesPage();
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

int RunConfigure() {
    INT_PTR result = DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_CONFIGURE),
                                     GetForegroundWindow(), ConfigDialogProc, 0);
    if (result == -1) {
        char text[256] = "";
        // Inserts are left as they are: there are no arguments to fill them.
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       GetLastError(), 0, text, sizeof text - 1, nullptr);
        Trace(text);
    }
    return 0;
}
