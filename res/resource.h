// Resource identifiers shared by the resource script and the C++ code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialogs, menu, string, icon
#define IDD_ABOUTBOX                100
#define IDS_ABOUTBOX                101
#define IDD_CONFIG_DIALOG           102
#define IDD_GAME_NAME               104
#define IDR_MAINFRAME               128
#define IDR_LIST_MENU               149

// Strings of the message boxes, the system menu's copy items and the file dialogs
#define IDS_MESSAGE_CAPTION         200
#define IDS_SAVE_FAILED             201
#define IDS_SAVE_BUSY               202
#define IDS_LOAD_BUSY               203
#define IDS_ARRIVAL_BUSY            204
#define IDS_OVERWRITE_QUESTION      205
#define IDS_SAVE_COPY_ITEM          206
#define IDS_OPEN_COPY_ITEM          207
#define IDS_PROFILE_FILES           208     // a file dialog's filter, its parts split by |
#define IDS_CONFIGURATION_FILES     209
#define IDS_EXPORT_FAILED           210     // %1 the file, %2 why
#define IDS_EXPORT_WARNING          211     // %1 the warnings
#define IDS_IMPORT_REFUSED          212     // %1 the problems
#define IDS_IMPORT_EMPTY            213     // %1 the file
#define IDS_IMPORT_WARNING          214     // %1 the warnings
#define IDS_COPY_FAILED             215     // %1 the file, %2 why
#define IDS_COPY_REFUSED            216     // %1 why
#define IDS_OPEN_COPY_QUESTION      217     // %1 how many profiles, %2 the file
#define IDS_MORE_LINES              218     // %1 how many lines more
#define IDS_WRITING_REASON          219     // why Windows must wait before it ends the session
#define IDS_CANNOT_READ             700     // %1 the file, %2 why
// A refused profiles file's problems: the file's own, a profile's name, what is wrong.
#define IDS_PROBLEM_IN_FILE         701     // %1 the file, %2 what is wrong
#define IDS_PROFILE_LABEL           702     // %1 its place in the file
#define IDS_PROFILE_LABEL_NAMED     703     // %1 its place in the file, %2 its name
#define IDS_PROBLEM_FILE_TOO_LONG   704
#define IDS_PROBLEM_NOT_JSON        705     // %1 what the JSON reader found
#define IDS_PROBLEM_NO_PROFILES     706
#define IDS_PROBLEM_MISSING         707
#define IDS_PROBLEM_NOT_OBJECT      708
#define IDS_PROBLEM_NOT_TEXT        709
#define IDS_PROBLEM_NOT_LIST        710
#define IDS_PROBLEM_NOT_WHOLE       711
#define IDS_PROBLEM_OUTSIDE         712     // %1 the value, %2 the lowest, %3 the highest
#define IDS_PROBLEM_UNKNOWN_KEY     713     // %1 the name
#define IDS_PROBLEM_UNKNOWN_PAD     714     // %1 the name
#define IDS_PROBLEM_NOT_IN_CODE_PAGE 715    // %1 the character, %2 the code page
#define IDS_PROBLEM_HOLDS_NUL       716
#define IDS_PROBLEM_NAME_LENGTH     717     // %1 its bytes, %2 the most
#define IDS_PROBLEM_NO_SLOT         718
#define IDS_PROBLEM_NAME_REPEATED   719     // %1 the earlier profile
#define IDS_REPEATED_KEY_BOX        800     // a screen reader's name of a key box whose key another holds; %1 its name

// System-menu commands: the About box, and the whole configuration to and from a file
#define IDM_ABOUTBOX                0x0010
#define IDM_SAVE_COPY               0x0020
#define IDM_OPEN_COPY               0x0030

// Bitmaps
#define IDB_L1                      129
#define IDB_TRIANGLE_LEFT           130
#define IDB_TRIANGLE_RIGHT          131
#define IDB_A                       132
#define IDB_B                       133
#define IDB_X                       134
#define IDB_Y                       135
#define IDB_BLACK                   136
#define IDB_WHITE                   137
#define IDB_R1                      138
#define IDB_STICK_LEFT              139
#define IDB_STICK_RIGHT             140
#define IDB_STICK_UP                141
#define IDB_STICK_DOWN              142
#define IDB_DPAD_RIGHT              145
#define IDB_DPAD_LEFT               146
#define IDB_DPAD_UP                 147
#define IDB_DPAD_DOWN               148
#define IDB_ROUND                   150
#define IDB_RINGED_ROUND            151
#define IDB_USB                     152
#define IDB_LOGO                    154
// Each picture again at 125, 150 and 200 % display scale: its ID plus the offset.
#define IDB_AT_125                  1000
#define IDB_AT_150                  2000
#define IDB_AT_200                  3000

// Main window controls
#define IDC_PROFILE_LIST            1000
#define IDC_SPEED                   1007
#define IDC_AXIS_MODE               1008
#define IDC_GAME_NAME               1011
#define IDC_ADD                     1013
#define IDC_DELETE                  1014
#define IDC_USE                     1015
#define IDC_COMBO_FIRST             1016    // 1016-1023: combination pad buttons 0-7
#define IDC_RIGHT_FIRST             1026    // 1026-1033
#define IDC_LEFT_FIRST              1034    // 1034-1041
#define IDC_MIDDLE_FIRST            1042    // 1042-1049
#define IDC_USB                     1050
#define IDC_LOGO                    1051

// Key boxes, one per pad control
#define IDC_KEY_FIRST               1101
#define IDC_KEY_L1                  1101
#define IDC_KEY_TRIANGLE_LEFT       1102
#define IDC_KEY_TRIANGLE_RIGHT      1103
#define IDC_KEY_A                   1104
#define IDC_KEY_B                   1105
#define IDC_KEY_X                   1106
#define IDC_KEY_Y                   1107
#define IDC_KEY_BLACK               1108
#define IDC_KEY_WHITE               1109
#define IDC_KEY_R1                  1110
#define IDC_KEY_STICK_LEFT          1111
#define IDC_KEY_STICK_RIGHT         1112
#define IDC_KEY_STICK_UP            1113
#define IDC_KEY_STICK_DOWN          1114
#define IDC_KEY_ROUND               1115
#define IDC_KEY_DPAD_LEFT           1116
#define IDC_KEY_DPAD_RIGHT          1117
#define IDC_KEY_DPAD_UP             1118
#define IDC_KEY_DPAD_DOWN           1119
#define IDC_KEY_RINGED_ROUND        1120
#define IDC_KEY_LAST                1120
#define IDC_COMBO_KEY               1124

// List context menu commands
#define ID_MENU_ADD                 32772
#define ID_MENU_MODIFY              32773
#define ID_MENU_DELETE              32774
#define ID_MENU_USE                 32775
#define ID_MENU_EXPORT              32776
#define ID_MENU_IMPORT              32777

// Undo and redo, and what OK would write
#define IDC_PENDING_WRITES          750     // the line by the buttons that counts OK's changes
#define ID_MENU_UNDO                751
#define ID_MENU_REDO                752
#define IDS_UNDO_ITEM               753     // %1 the step
#define IDS_REDO_ITEM               754     // %1 the step
#define IDS_STEP_KEY                755     // %1 the key's name
#define IDS_STEP_COMBINATION_KEY    756     // %1 the key's name
#define IDS_STEP_AXIS               757
#define IDS_STEP_SPEED              758
#define IDS_STEP_MOUSE              759
#define IDS_STEP_COMBINATION        760
#define IDS_STEP_ADD                761     // %1 the profile's name
#define IDS_STEP_MODIFY             762     // %1 the new name
#define IDS_STEP_DELETE             763     // %1 the profile's name
#define IDS_STEP_USE                764     // %1 the profile's name
#define IDS_STEP_IMPORT             765
#define IDS_STEP_OPEN_COPY          766
#define IDS_PENDING_NOTHING         767
#define IDS_PENDING_LINE            768     // %1 the parts
#define IDS_PENDING_CHANGED         769     // %1 how many
#define IDS_PENDING_ADDED           770     // %1 how many
#define IDS_PENDING_DELETED         771     // %1 how many
#define IDS_PENDING_ACTIVE          772
#define IDS_PENDING_FREE            773     // %1 how many
#define IDS_PENDING_HEADER          774
#define IDS_PENDING_SEPARATOR       775
