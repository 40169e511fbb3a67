// Identifiers of the framework's own commands, windows and strings, shared by the C++
// sources and the resource script. They keep their classic numbers.
#pragma once

// Commands
#define ID_FILE_NEW                 0xE100
#define ID_FILE_OPEN                0xE101
#define ID_FILE_SAVE                0xE103
#define ID_FILE_SAVE_AS             0xE104
#define ID_FILE_PRINT               0xE107
#define ID_FILE_PRINT_DIRECT        0xE10A
#define ID_FILE_MRU_FILE1           0xE110
#define ID_FILE_MRU_LAST            0xE11F
#define ID_EDIT_COPY                0xE122
#define ID_EDIT_CUT                 0xE123
#define ID_EDIT_FIND                0xE124
#define ID_EDIT_PASTE               0xE125
#define ID_EDIT_REPEAT              0xE128
#define ID_EDIT_REPLACE             0xE129
#define ID_EDIT_SELECT_ALL          0xE12A
#define ID_EDIT_UNDO                0xE12B
#define ID_EDIT_REDO                0xE12C
#define ID_APP_ABOUT                0xE140
#define ID_APP_EXIT                 0xE141
#define ID_NEXT_PANE                0xE150
#define ID_PREV_PANE                0xE151
#define ID_VIEW_TOOLBAR             0xE800
#define ID_VIEW_STATUS_BAR          0xE801

// Status bar panes
#define ID_SEPARATOR                0
#define ID_INDICATOR_CAPS           0xE701
#define ID_INDICATOR_NUM            0xE702
#define ID_INDICATOR_SCRL           0xE703
#define ID_INDICATOR_OVR            0xE704

// Windows of the frame
#define AFX_IDW_TOOLBAR             0xE800
#define AFX_IDW_STATUS_BAR          0xE801
#define AFX_IDW_DOCKBAR_TOP         0xE81B
#define AFX_IDW_DOCKBAR_LEFT        0xE81C
#define AFX_IDW_DOCKBAR_RIGHT       0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM      0xE81E
#define AFX_IDW_DOCKBAR_FLOAT       0xE81F
#define AFX_IDW_PANE_FIRST          0xE900

// Strings
#define AFX_IDS_APP_TITLE           0xE000
#define AFX_IDS_IDLEMESSAGE         0xE001
#define AFX_IDS_OPENFILE            0xF000
#define AFX_IDS_SAVEFILE            0xF001
#define AFX_IDS_ALLFILTER           0xF002
#define AFX_IDS_UNTITLED            0xF003
#define AFX_IDS_RECENT_FILE_EMPTY   0xF004

#define AFX_IDP_INVALID_FILENAME    0xF100
#define AFX_IDP_FAILED_TO_OPEN_DOC  0xF101
#define AFX_IDP_FAILED_TO_SAVE_DOC  0xF102
#define AFX_IDP_ASK_TO_SAVE         0xF103
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF104
#define AFX_IDP_FILE_TOO_LARGE      0xF105
#define AFX_IDP_FAILED_TO_START_PRINT 0xF106
#define AFX_IDP_INTERNAL_FAILURE    0xF108
#define AFX_IDP_UNREG_DONE          0xF10B
#define AFX_IDP_UNREG_FAILURE       0xF10C
#define AFX_IDP_PARSE_INT           0xF110
#define AFX_IDP_PARSE_INT_RANGE     0xF112
#define AFX_IDP_PARSE_STRING_SIZE   0xF114

#define AFX_IDP_FILE_GENERIC        0xF181
#define AFX_IDP_FILE_NOT_FOUND      0xF182
#define AFX_IDP_FILE_BAD_PATH       0xF183
#define AFX_IDP_FILE_TOO_MANY_OPEN  0xF184
#define AFX_IDP_FILE_ACCESS_DENIED  0xF185
#define AFX_IDP_FILE_HARD_IO        0xF18A
#define AFX_IDP_FILE_SHARING        0xF18B
#define AFX_IDP_FILE_DISKFULL       0xF18D
