// Identifiers of the debugger's panes and texts: the machines' targets name them, the
// application's resources hold them (resource.h includes this file, the string table has the
// texts). Plain definitions, as the resource compiler reads them.
#pragma once

// Each pane's window, which tools find it by, and its bar.
#define IDC_DEBUG_REGISTERS 201
#define IDC_DEBUG_MEMORY 202
#define IDC_DEBUG_STACK 203
#define IDC_DEBUG_DISASSEMBLY 204
#define IDC_DEBUG_SCREEN 205
#define IDC_DEBUG_COMMAND_PANE 209
#define IDC_DEBUG_VARIABLES 208
#define IDC_DEBUG_SERIAL 211
#define IDC_DEBUG_PORTS 212
#define IDC_DEBUG_DEVICES 213
#define IDC_DEBUG_ANALYZER 214
#define IDC_DEBUG_TIMERS 217
#define IDC_DEBUG_LAB_BOX 215
#define IDW_REGISTERS_BAR 130
#define IDW_MEMORY_BAR 131
#define IDW_STACK_BAR 132
#define IDW_DISASSEMBLY_BAR 133
#define IDW_SCREEN_BAR 134
#define IDW_COMMAND_BAR 135
#define IDW_VARIABLES_BAR 136
#define IDW_SERIAL_BAR 137
#define IDW_PORTS_BAR 138
#define IDW_DEVICES_BAR 139
#define IDW_ANALYZER_BAR 144
#define IDW_TIMERS_BAR 145
#define IDW_LAB_BOX_BAR 146

// The panes' titles, the memory spaces of a machine that has several.
#define IDS_PANE_REGISTERS 380
#define IDS_PANE_MEMORY 381
#define IDS_PANE_STACK 382
#define IDS_PANE_DISASSEMBLY 383
#define IDS_PANE_SCREEN 384
#define IDS_PANE_COMMAND 385
#define IDS_PANE_VARIABLES 386
#define IDS_PANE_SERIAL 387
#define IDS_PANE_PORTS 388
#define IDS_MEMORY_SPACES 390
#define IDS_PANE_DEVICES 440
#define IDS_PANE_BOARD 439
#define IDS_PANE_ANALYZER 459
#define IDS_PANE_TIMERS 460
#define IDS_PANE_LAB_BOX 462

// The machines' names.
#define IDS_MACHINE_DOS 441
#define IDS_MACHINE_8051 442

// Why a program could not be loaded, and why a machine stopped one.
#define IDS_LOAD_NOT_FOUND 443
#define IDS_LOAD_UNREADABLE 444
#define IDS_LOAD_WINDOWS_PROGRAM 445
#define IDS_LOAD_CORRUPT_HEADER 446
#define IDS_LOAD_COM_TOO_LARGE 447
#define IDS_LOAD_NO_MEMORY 448
#define IDS_LOAD_NOT_HEX 449
#define IDS_LOAD_HEX_CHECKSUM 450
#define IDS_LOAD_HEX_TRUNCATED 451
#define IDS_LOAD_HEX_BEYOND_CODE 452
#define IDS_LOAD_HEX_RECORD_TYPE 453
#define IDS_LOAD_BOOT_SHORT 476
#define IDS_LOAD_BOOT_TOO_LARGE 477
#define IDS_LOAD_NOT_BOOTABLE 478
#define IDS_FAULT_DIVIDE 454
#define IDS_FAULT_INVALID_OPCODE 455
#define IDS_FAULT_BOUND 456
#define IDS_FAULT_HALTED 457
#define IDS_FAULT_UNKNOWN 458
#define IDS_FAULT_NO_BOOT_DISK 461
