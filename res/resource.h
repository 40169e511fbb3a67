// Identifiers of the program's own resources, commands and windows.
#pragma once

#include "framework/AfxRes.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Shared by the main frame's menu, accelerators, toolbar, icon and document template string.
#define IDR_MAINFRAME               128
#define IDI_DOCUMENT                129
#define IDI_UTILITY_PAGE            131

#define IDD_ABOUTBOX                100
#define IDD_TOOLDIA                 133
#define IDD_COMPILER_SETUP          134
#define IDD_GOTO_LINE               150
#define IDD_LAB_WIRING              151
#define IDR_EDITOR_MENU             152
#define IDR_OUTPUT_MENU             153

// Toolbar images, in button order.
#define IDI_TB_NEW                  135
#define IDI_TB_OPEN                 137
#define IDI_TB_SAVE                 138
#define IDI_TB_UTILITY              139
#define IDI_TB_OUTPUT               140
#define IDI_TB_COMPILE              141
#define IDI_TB_LINK                 142
#define IDI_TB_BUILD                143
#define IDI_TB_RUN                  144
#define IDI_TB_ABOUT                147
#define IDI_TB_DEBUG_START          160
#define IDI_TB_DEBUG_PAUSE          161
#define IDI_TB_DEBUG_STOP           162
#define IDI_TB_STEP_INTO            163
#define IDI_TB_STEP_OVER            164
#define IDI_TB_STEP_OUT             165
#define IDI_TB_STEP_BACK            166
#define IDI_TB_BREAKPOINT           167

// The program's own commands.
#define ID_VIEW_OUTPUT              32771
#define ID_VIEW_UTILITY             32772
#define ID_COMPILE                  32773
#define ID_LINK                     32774
#define ID_BUILD                    32775
#define ID_RUN                      32776
#define ID_DEBUG                    32777
#define ID_SET_COMPILER             32778
#define ID_STOP_BUILD               32779
#define ID_NEXT_MESSAGE             32780
#define ID_PREV_MESSAGE             32781
#define ID_GOTO_LINE                32782
#define ID_ENCODING_GBK             32783
#define ID_ENCODING_UTF8            32784
#define ID_EDIT_FIND_PREVIOUS       32786
#define ID_VIEW_LINE_NUMBERS        32787
#define ID_VIEW_SYNTAX_COLORS       32789
#define ID_OUTPUT_CLEAR             32790

// The debugger's commands.
#define ID_DEBUG_START              32800
#define ID_DEBUG_STEP_INTO          32801
#define ID_DEBUG_STEP_OVER          32802
#define ID_DEBUG_STEP_OUT           32803
#define ID_DEBUG_RUN_TO_CURSOR      32804
#define ID_DEBUG_TOGGLE_BREAKPOINT  32805
#define ID_DEBUG_STEP_BACK          32806
#define ID_DEBUG_STOP               32807
#define ID_DEBUG_REAL_TIME_51       32808
// Showing and hiding the debugger's panes, in the order of their windows below.
#define ID_DEBUG_PACE_MAX           32809
// The session's panes, shown or hidden from the 调试窗口 menu, in their machine's order.
#define ID_VIEW_DEBUG_PANE_FIRST    32810
#define ID_VIEW_DEBUG_PANE_LAST     32829
#define ID_DEBUG_PACE_LAB           32830
#define ID_DEBUG_PACE_FAST          32831
// The 8051's teaching board, in the order of mcs51::BoardKind51.
#define ID_DEBUG_BOARD_PLAIN        32832
#define ID_DEBUG_BOARD_PZ           32833
#define ID_DEBUG_BOARD_TX           32834
#define ID_DEBUG_BOARD_BOUNCE       32835

// Status bar panes of the program's own.
#define ID_INDICATOR_ENCODING       32785
#define ID_INDICATOR_LINE_COLUMN    32788
// The file's toolchain: its status bar pane, and the toolbar's drop-down that changes it.
#define ID_INDICATOR_TOOLCHAIN      32840
#define IDC_TOOLCHAIN_BOX           32841

// Windows of the main frame.
#define IDC_OUTPUT                  101
#define IDW_UTILITY_BAR             123
#define IDW_OUTPUT_BAR              124
#define IDW_TAB_CTRL                125
// The 说明 pane beside the output: what a tool's message means, what an instruction does.
#define IDW_EXPLAIN_BAR             126
#define IDC_EXPLANATION             216
#define ID_EXPLAIN_WORD             32842
#define ID_FILE_OPEN_IN_TAB         32843
#define ID_FILE_CLOSE_TAB           32844
#define ID_OPEN_INCLUDE             32845
#define ID_NEXT_TAB                 32846
#define ID_PREV_TAB                 32847
#define IDW_FILE_TABS               127
#define IDR_TAB_MENU                154
#define IDS_INCLUDE_NOT_FOUND       424

// The command pane's own line and log (the panes' windows and bars, and the debugger's texts
// the machines name, are in debug/DebugResources.h, which korvane.rc includes too).
#define IDC_DEBUG_COMMAND           206
#define IDC_DEBUG_COMMAND_OUTPUT    207

// Utility dialog.
#define IDC_CHAR                    1004
#define IDC_ASCII                   1005
#define IDC_DEC                     1006
#define IDC_HEX                     1007

// Compiler settings dialog.
#define IDC_RADIO_MASM              1005
#define IDC_RADIO_TASM              1006
#define IDC_RADIO_MCS51             1007
#define IDC_COMPILER_PATH           1008
#define IDC_LINKER_PATH             1009
#define IDC_BROWSE_COMPILER         1010
#define IDC_BROWSE_LINKER           1011
#define IDC_DOS_EMULATOR_PATH       1020
#define IDC_BROWSE_DOS_EMULATOR     1021
#define IDC_COMPILER_ARGS           1022
#define IDC_LINKER_ARGS             1023
#define IDC_DEFAULT_ARGS            1024
#define IDC_NO_LINK                 1025
#define IDC_DEBUGGER_PATH           1026
#define IDC_BROWSE_DEBUGGER         1027
#define IDC_FOUND_TOOLS             1028
#define IDC_USE_FOUND               1029
#define IDC_WRITABLE_FOLDERS        1030
#define IDC_FLOPPY_IMAGE            1031
#define IDC_BROWSE_FLOPPY           1032
#define IDC_NEW_FLOPPY              1033
#define IDC_LAB_BOX                 1034
#define IDC_LAB_WIRING              1035
#define IDC_WIRING_TEXT             1036
#define IDC_WIRING_DEFAULT          1037

// Go to line dialog.
#define IDC_GOTO_LINE               1012

// The program's own texts.
#define IDS_SAVE_FIRST              201
#define IDS_BATCH_FILE_FAILED       202
#define IDS_NO_COMPILER_PATH        203
#define IDS_NO_LINKER_PATH          204
#define IDS_NO_COMPILER_TYPE        205
#define IDS_UTILITY_BAR             206
#define IDS_OUTPUT_BAR              207
#define IDS_UTILITY_PAGE            208
#define IDS_BAD_HEX                 209
#define IDS_LOSSY_FILE_OPENED       210
#define IDS_LOSSY_FILE_SAVE         211
#define IDS_TAB_FONT_FACE           212

// Texts of the build steps.
#define IDS_COMPILE_ENDED           220
#define IDS_LINK_ENDED              221
#define IDS_COMPILE_FAILED_NO_LINK  222
#define IDS_COMPILE_STOPPED         223
#define IDS_LINK_STOPPED            224
#define IDS_STOP_TOOL_AND_EXIT      225
#define IDS_COMPILING               226
#define IDS_LINKING                 227
#define IDS_SOURCE_CHANGED_NO_LINK  228
#define IDS_MODULE_MISSING          229
#define IDS_MODULES_NOT_SUPPORTED   230

#define IDS_PATH_NOT_IN_CONSOLE     240
#define IDS_ENCODING_GBK            241
#define IDS_ENCODING_UTF8           242

// Texts of the editor's and the output panel's navigation.
#define IDS_LINE_COLUMN             260
#define IDS_NO_MORE_MESSAGES        261
#define IDS_MESSAGE_SUMMARY         262
#define IDS_NOT_FOUND               263
#define IDS_REPLACED                264
#define IDS_SEARCH_WRAPPED_DOWN     265
#define IDS_SEARCH_WRAPPED_UP       266
#define IDS_REPLACE_TOO_LARGE       267
#define IDS_TOOL_NOT_FOUND_9009     269
#define IDS_EXPLAIN_BAR             270
#define IDS_NOTHING_TO_EXPLAIN      271
#define IDS_PROGRAM_TEMPLATE        300

// Texts of DOS programs and their emulator.
#define IDS_BUILTIN_DOS_MACHINE     320
#define IDS_DOSBOX_NOT_8_3          321
#define IDS_NO_DEBUG_EXE            322
#define IDS_UNKNOWN_EMULATOR        323
#define IDS_PATH_NOT_FOR_DOSBOX     324
#define IDS_DOSBOX_CONFIG_FAILED    325
#define IDS_EMULATOR_FILTER         326
#define IDS_FLOPPY_FILTER           327
#define IDS_LAB_BOXES               328
#define IDS_FLOPPY_NOT_WRITTEN      329
#define IDS_LAB_WIRING_TITLE        330
#define IDS_LAB_WIRING_BAD          331

// Texts of the compiler settings.
#define IDS_SETTINGS_NOT_KEPT       340
#define IDS_NO_LINK_STEP            341
#define IDS_FOUND_TOOLS             342
#define IDS_DEBUGGER_FILTER         343
#define IDS_TOOLS_FOUND_OPEN_SETUP  344
#define IDS_BUILTIN_ASSEMBLER_51    345

// Texts of the file on disk and of the backups.
#define IDS_FILE_CHANGED_RELOAD     360
#define IDS_FILE_CHANGED_OVERWRITE  361
#define IDS_FILE_GONE               362
#define IDS_RECOVER_BACKUP          363

// Texts of the debugger: its panes' titles, then what a session says.
#define IDS_MEMORY_ADDRESS          389
#define IDS_PANE_FONT_FACE          391
#define IDS_DEBUG_CONTINUE          392
#define IDS_DEBUG_PAUSE             393
#define IDS_DEBUG_BUILDING          394
#define IDS_DEBUG_STARTED           395
#define IDS_DEBUG_STOPPED           396
#define IDS_DEBUG_PLACE_LINE        397
#define IDS_DEBUG_PLACE_ADDRESS     398
#define IDS_DEBUG_BREAKPOINT        399
#define IDS_DEBUG_PAUSED            400
#define IDS_DEBUG_RUNNING           401
#define IDS_DEBUG_WAITING_FOR_KEY   402
#define IDS_DEBUG_ENDED             403
#define IDS_DEBUG_STEPPED_BACK      405
#define IDS_DEBUG_BACK_START        406
#define IDS_DEBUG_BACK_HISTORY      407
#define IDS_DEBUG_BACK_KEY          408
#define IDS_DEBUG_BACK_INPUT        409
#define IDS_DEBUG_BACK_FILE         410
#define IDS_DEBUG_BACK_SERIAL       411
#define IDS_DEBUG_BACK_ENDED        412
#define IDS_DEBUG_NO_CODE           413
#define IDS_DEBUG_LOAD_FAILED       414
#define IDS_DEBUG_NO_PROGRAM        415
#define IDS_DEBUG_STOP_TO_EDIT      416
#define IDS_DEBUG_NO_LISTING        417
#define IDS_DEBUG_RUNNING_IN_WINDOW 418
#define IDS_DEBUG_START             419
#define IDS_DEBUG_STOP_AND_EXIT     420
#define IDS_VIEW_DEBUG_PANE         421
#define IDS_DEBUG_NO_PANES          422

