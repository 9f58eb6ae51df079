/* Identifiers shared by songdesk.rc and the code: the menu commands, the
   private messages, the dialog controls and the resource names. Plain
   #defines only, so that windres can read this file too. */
#ifndef LYRO_UI_RESOURCE_H
#define LYRO_UI_RESOURCE_H

/* Main window menu commands */
#define IDM_SONGLIST        40003
#define IDM_QUIT            40004
#define IDM_VERSION         40005
#define IDM_SETUP           205
#define IDM_GET_IP          6001
#define IDM_FOLDER          6002
#define IDM_VERA_FONT       6003
#define IDM_LUCIDA_FONT     6004
#define IDM_ABOUT           6005
#define IDM_SPELL_BY_KEY    6006

/* Commands posted to the main window by the dialogs */
#define CMD_OPEN_VIEWER     206
#define CMD_OPEN_LIBRARY    207
#define CMD_OPEN_EDITOR     208
/* Every dialog posts this to itself to fill its controls once shown */
#define CMD_FILL            209

/* Private messages: act like 208, 207 and 206 */
#define WM_OPEN_EDITOR      996
#define WM_OPEN_LIBRARY     997
#define WM_OPEN_VIEWER      998

/* The timer that polls for song requests */
#define POLL_TIMER_ID       3
#define POLL_TIMER_MS       50

/* Library dialog (LOG) */
#define IDC_SONG_BOX        40007
#define IDC_REVIEW          4001
#define IDC_PERF_LIST       4004
#define IDC_TRANSFER        4008
#define IDC_RUN             4010
#define IDC_CLEAR_LIST      4011
#define IDC_LOAD_LIST       4012
#define IDC_SAVE_LIST       4013
#define IDC_EDIT_SONG       4016
#define IDC_NEW_SONG        4023
#define IDC_EXIT_PROGRAM    4024
#define IDC_STATUS          4025
#define IDC_HELP_TEXT            4026
#define IDC_SHOW_HIDDEN     4033
#define IDC_MOVE_UP         4034
#define IDC_MOVE_DN         4035
#define IDC_DELETE          4036
#define IDC_LIST_LABEL      4037
#define IDC_LIST_GROUP      4038
#define IDC_RUN_SELECT      4039
#define IDC_CLOSE_BOX       4040
#define IDC_SONGLIST_LABEL  4041
#define IDC_SONGBOOK_LABEL  4042
#define IDC_ENTRIES_LABEL   4043
#define IDC_COUNT           4044
#define IDC_PRINT_BOOK      4045

/* Song viewer (SONGVIEWER) */
#define IDC_V_PRINT         4028
#define IDC_V_PREV_KEY      4002
#define IDC_V_NEXT_KEY      4003
#define IDC_V_STEPS_LABEL   4004
#define IDC_V_STEPS         4005
#define IDC_V_PREV_SONG     4006
#define IDC_V_NEXT_SONG     4007
#define IDC_V_TITLE_LABEL   4008
#define IDC_V_TITLE         4009
#define IDC_V_PAGE_UP       4015
#define IDC_V_PAGE_DOWN     4014
#define IDC_V_MAGNIFY_UP    4031
#define IDC_V_MAGNIFY_DOWN  4032

/* Song editor (BOOK) */
#define IDC_E_SAVE          4013
#define IDC_E_HELP          4027
#define IDC_E_TITLE_LABEL   4021
#define IDC_E_TITLE         4022
#define IDC_E_KEY_LABEL     4024
#define IDC_E_KEY           4005
#define IDC_E_TEXT          4017
#define IDC_E_HINT          4025

#endif
