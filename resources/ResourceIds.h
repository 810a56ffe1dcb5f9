#ifndef STAKKO_RESOURCE_IDS_H
#define STAKKO_RESOURCE_IDS_H

/* Resource and control ids, shared by stakko.rc and the program. Plain
   defines so that the resource compiler reads them too. */

#define IDI_STAKKO 101     /* icon group: the window class's icons */
#define IDS_DESCRIPTION 1  /* the name under which the desktop lists the saver */
#define IDD_CONFIGURE 2003 /* the settings dialog */

/* Controls of the settings dialog. The radio button ids are the stored
   values of Time and Priority. */
#define IDC_CLOCK_GROUP 101
#define IDC_CURRENT_TIME 102
#define IDC_RUN_TIME 103
#define IDC_GAME_TIME 104
#define IDC_PRIORITY_GROUP 105
#define IDC_PRIORITY_LOW 106
#define IDC_PRIORITY_NORMAL 107
#define IDC_PRIORITY_HIGH 108
#define IDC_PLAIN_BACKGROUND 109
#define IDC_SHOW_INFO 110
#define IDC_PALETTE 111
#define IDC_GET_NEW_GAMES 112
#define IDC_MANUAL_CONTROL 113
#define IDC_KEYS_TEXT 200
/* OK and Cancel are the platform's IDOK (1) and IDCANCEL (2). */

#endif
