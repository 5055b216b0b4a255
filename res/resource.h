/* Identifiers of the Windows program's resources, shared by the resource script
   and the C++ sources: plain preprocessor definitions. */
#ifndef AMBRELL_RES_RESOURCE_H
#define AMBRELL_RES_RESOURCE_H

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDS_OPEN_SAVED_SCAN 103
#define IDS_SAVE_SCAN 104
#define IDS_SORT_BY_SIZE 105
#define IDS_LARGEST_FILES 106
#define IDD_LARGEST_FILES 107
#define IDS_REFRESH_FOLDER 108
#define IDS_SHOW_MAP 109
#define IDD_MAP 110
#define IDS_SORT_BY_CHANGE 111
#define IDS_COMPARE 112
#define IDR_MAINFRAME 128
#define IDC_HANDCURSOR 129
#define IDB_FOLDERS 130
#define IDB_FOLDERS16 131
#define IDR_CONTEXT 133

#define IDC_TREE 1000
#define IDC_REFRESH 1001
#define IDC_CLOSE 1002
#define IDC_HOMEPAGE 1003
#define IDC_UNITS 1004
#define IDC_FILES 1005

#define ID_OPEN_IN_EXPLORER 32771

/* System-menu commands of the About, saved scan and order items; the system keeps the low four bits. */
#define IDM_ABOUTBOX 0x0010
#define IDM_OPEN_SAVED_SCAN 0x0020
#define IDM_SAVE_SCAN 0x0030
#define IDM_SORT_BY_SIZE 0x0040
#define IDM_LARGEST_FILES 0x0050
#define IDM_REFRESH_FOLDER 0x0060
#define IDM_SHOW_MAP 0x0070
#define IDM_COMPARE 0x0080
#define IDM_SORT_BY_CHANGE 0x0090

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
