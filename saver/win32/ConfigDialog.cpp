#include "saver/win32/ConfigDialog.h"

#include <shellapi.h>

#include "game/Trace.h"
#include "resources/ResourceIds.h"
#include "saver/win32/SettingsStore.h"

namespace {

// The maker's page of further games, opened by "Get new games".
const char GamesPageAddress[] = "http://www.vornel.com/cgi-bin/screen.pl/games.html?r=h&c=b";

// The palette list; an item's index is the stored Palette value.
const char *const PaletteNames[] = {"Brown palette", "Blue palette", "Green palette",
                                    "Black background"};

// The radio buttons of each stored value. A value of no button checks none.
struct TChoice {
    int Control;
    int32_t Value;
};
constexpr TChoice ClockChoices[] = {{IDC_CURRENT_TIME, ClockCurrentTime},
                                    {IDC_RUN_TIME, ClockRunTime},
                                    {IDC_GAME_TIME, ClockGameTime}};
constexpr TChoice PriorityChoices[] = {{IDC_PRIORITY_LOW, PriorityLow},
                                       {IDC_PRIORITY_NORMAL, PriorityNormal},
                                       {IDC_PRIORITY_HIGH, PriorityHigh}};

template <size_t N> void CheckChoice(HWND dialog, const TChoice (&choices)[N], int32_t value) {
    int control = 0;
    for (const TChoice &choice : choices)
        if (choice.Value == value)
            control = choice.Control;
    CheckRadioButton(dialog, choices[0].Control, choices[N - 1].Control, control);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// The first checked button's value, or the fallback when none is checked.
template <size_t N>
int32_t CheckedChoice(HWND dialog, const TChoice (&choices)[N], int32_t fallback) {
    for (const TChoice &choice : choices)
        if (Checked(dialog, choice.Control))
            return choice.Value;
    return fallback;
}

void ShowSettings(HWND dialog, TConfigDialog &state) {
    const TSettings &settings = state.Settings;
    CheckChoice(dialog, ClockChoices, settings.Time);
    CheckChoice(dialog, PriorityChoices, settings.Priority);
    CheckDlgButton(dialog, IDC_PLAIN_BACKGROUND, settings.ShowBkgr ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, IDC_SHOW_INFO, settings.ShowInfo ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_MANUAL_CONTROL,
                   settings.ManualControl ? BST_CHECKED : BST_UNCHECKED);
    // A handle kept from an earlier dialog would name a destroyed window.
    state.PaletteList = GetDlgItem(dialog, IDC_PALETTE);
    if (state.PaletteList) {
        SendMessageA(state.PaletteList, CB_RESETCONTENT, 0, 0);
        for (const char *name : PaletteNames)
            SendMessageA(state.PaletteList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    // An index outside the list selects nothing.
    SendMessageA(state.PaletteList, CB_SETCURSEL, static_cast<WPARAM>(settings.Palette), 0);
}

void ReadBackSettings(HWND dialog, TConfigDialog &state) {
    TSettings &settings = state.Settings;
    settings.Time = CheckedChoice(dialog, ClockChoices, ClockGameTime);
    settings.Priority = CheckedChoice(dialog, PriorityChoices, PriorityNormal);
    settings.ShowBkgr = !Checked(dialog, IDC_PLAIN_BACKGROUND);
    settings.ShowInfo = Checked(dialog, IDC_SHOW_INFO);
    settings.ManualControl = Checked(dialog, IDC_MANUAL_CONTROL);
    LRESULT selected = SendMessageA(state.PaletteList, CB_GETCURSEL, 0, 0);
    settings.Palette = selected < 0 ? 0 : static_cast<int32_t>(selected);
}

// A save offers the game's score to the best scores; here no game was
// played, so its score is 0.
void Store(TConfigDialog &state) {
    state.Settings.Best.OfferScore3(0);
    SaveSettings(state.Settings, state.ProgramPath);
}

void OpenGamesPage() {
    ShellExecuteA(nullptr, "open", GamesPageAddress, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

TConfigDialog *StateOf(HWND dialog) {
    return reinterpret_cast<TConfigDialog *>(GetWindowLongPtrA(dialog, DWLP_USER));
}

} // namespace

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (TConfigDialog *state = StateOf(dialog))
            ShowSettings(dialog, *state);
        return TRUE;
    }
    TConfigDialog *state = StateOf(dialog);
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (state)
                ReadBackSettings(dialog, *state);
            EndDialog(dialog, IDOK);
            if (state)
                Store(*state);
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

int RunConfigure(HINSTANCE instance, const TSettings &settings, const char *programPath) {
    TConfigDialog state;
    state.Settings = settings;
    state.ProgramPath = programPath;
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIGURE), GetForegroundWindow(),
                        ConfigDialogProc, reinterpret_cast<LPARAM>(&state));
    if (result == -1) {
        char text[256] = "";
        // Inserts are left as they are: there are no arguments to fill them.
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       GetLastError(), 0, text, sizeof text - 1, nullptr);
        Trace(text);
    }
    return 0;
}
