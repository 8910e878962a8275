// res/: resources and their numbers, which every floor may include.
//
// Every resource and control number of the program, named once.
// Platform-free: included by .rc files, the shell and the native tests alike.
#ifndef MORVANE_RESOURCE_IDS_H
#define MORVANE_RESOURCE_IDS_H

// Dialog templates and the icon.
#define IDD_MAIN 101
#define IDI_APP 102
#define IDD_ABOUT 165

// Bitmaps of the main window.
#define IDB_STOP_PRESSED 111
#define IDB_FORWARD_NORMAL 112
#define IDB_PAUSE_NORMAL 113
#define IDB_PLAY_NORMAL 114
#define IDB_REWIND_NORMAL 115
#define IDB_STOP_NORMAL 116
#define IDB_FORWARD_PRESSED 117
#define IDB_PAUSE_PRESSED 118
#define IDB_PLAY_PRESSED 119
#define IDB_REWIND_PRESSED 120
#define IDB_BACKGROUND 121
#define IDB_NAV_NORMAL 122
#define IDB_NAV_HOVER 123
#define IDB_VOLUME_TRACK 124
#define IDB_SLIDER_THUMB 125
#define IDB_SLIDER_TRACK 126
#define IDB_NAV_PRESSED 128
#define IDB_FORWARD_HOVER 129
#define IDB_PAUSE_HOVER 130
#define IDB_PLAY_HOVER 131
#define IDB_REWIND_HOVER 132
#define IDB_STOP_HOVER 133
#define IDB_FORWARD_DISABLED 139
#define IDB_PAUSE_DISABLED 140
#define IDB_PLAY_DISABLED 141
#define IDB_REWIND_DISABLED 142
#define IDB_MUTE_DISABLED 144
#define IDB_MUTE_HOVER 145
#define IDB_MUTE_NORMAL 146
#define IDB_MUTE_PRESSED 147
#define IDB_STOP_DISABLED 148
#define IDB_VOLUME_THUMB 149
#define IDB_RESET_HOVER 150
#define IDB_RESET_NORMAL 151
#define IDB_RESET_PRESSED 152
#define IDB_CLOSE_DISABLED 153
#define IDB_CLOSE_HOVER 154
#define IDB_CLOSE_NORMAL 155
#define IDB_CLOSE_PRESSED 156
#define IDB_MINIMIZE_DISABLED 157
#define IDB_MINIMIZE_HOVER 158
#define IDB_MINIMIZE_NORMAL 159
#define IDB_MINIMIZE_PRESSED 160
#define IDB_RESET_DISABLED 161
#define IDB_SLIDER_THUMB_DISABLED 163

// Bitmaps of the about box.
#define IDB_ABOUT_BACKGROUND 164
#define IDB_OK_PRESSED 166
#define IDB_OK_HOVER 167
#define IDB_OK_NORMAL 168

// Controls of the main window (dialog 101).
#define IDC_AUDIO_DEVICE 1016
#define IDC_PLAY 1020
#define IDC_FORWARD 1021
#define IDC_REWIND 1022
#define IDC_STOP 1023
#define IDC_MUTE 1024
#define IDC_QUALITY_RESET 1025
#define IDC_BRIGHTNESS_RESET 1026
#define IDC_NEXT 1027
#define IDC_PREV 1028
#define IDC_CANCEL 1029
#define IDC_PAUSE 1031
#define IDC_BRIGHTNESS 1032
#define IDC_QUALITY 1033
#define IDC_CLOSE 1045
#define IDC_MINIMIZE 1046
#define IDC_VOLUME 1047

// Controls of the about box (dialog 165); its close button shares 1045.
#define IDC_ABOUT_OK 1050

// Strings of the resource library Morvane.dll.
#define IDS_PAGE1_HEADING 1034
#define IDS_PAGE2_HEADING 1035
#define IDS_PAGE3_HEADING 1036
#define IDS_PAGE4_HEADING 1038
#define IDS_PAGE1_BODY 1039
#define IDS_PAGE2_BODY 1040
#define IDS_PAGE3_BODY 1041
#define IDS_PAGE4_BODY 1043
#define IDS_PAGE1_CAPTION 1044
#define IDS_PAGE2_CAPTION 1045
#define IDS_PAGE3_CAPTION 1046
#define IDS_NEXT 1047
#define IDS_PREV 1048
#define IDS_FINISH 1049
#define IDS_CANCEL 1050
#define IDS_RESET 1051
#define IDS_PAGE0_HEADING 1053
#define IDS_PAGE0_BODY 1054
#define IDS_PAGE1_NOTE 1055
#define IDS_PAGE2_NOTE 1056
#define IDS_PAGE3_NOTE 1057
#define IDS_ABOUT_OK 1058
#define IDS_ABOUT_TITLE 1059
// Names of the skinned controls, for screen readers; never drawn.
#define IDS_NAME_PLAY 1060
#define IDS_NAME_PAUSE 1061
#define IDS_NAME_STOP 1062
#define IDS_NAME_FORWARD 1063
#define IDS_NAME_REWIND 1064
#define IDS_NAME_MUTE 1065
#define IDS_NAME_VOLUME 1066
#define IDS_NAME_QUALITY 1067
#define IDS_NAME_BRIGHTNESS 1068
#define IDS_NAME_CLOSE 1073
#define IDS_NAME_MINIMIZE 1074

// Private window messages and timers of the main window.
#define WM_SEARCH_RELEASE (0x0400 + 1) /* WM_USER + 1: a held search button was released */
#define WM_GRAPH_EVENT (0x0400 + 13)   /* WM_USER + 13: the preview graph has an event */
#define TIMER_STATUS_POLL 1
#define TIMER_REATTACH 2

#endif
