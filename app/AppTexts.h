/* The texts both front ends show. Plain C preprocessor definitions, so that the
   Windows resource script can include this file as well as the C++ sources. */
#ifndef AMBRELL_APP_TEXTS_H
#define AMBRELL_APP_TEXTS_H

#define AMBRELL_TEXT_CAPTION "Ambrell"
#define AMBRELL_TEXT_REFRESH "&Refresh"
#define AMBRELL_TEXT_ABORT "&Abort"
#define AMBRELL_TEXT_CLOSE "Close"
#define AMBRELL_TEXT_OPEN_IN_EXPLORER "&Open in Explorer"
#define AMBRELL_TEXT_ABOUT_ITEM "&About Ambrell..."
/* Next to the About item; the letters avoid those of the Windows system menu's own items. */
#define AMBRELL_TEXT_OPEN_SAVED_SCAN_ITEM "&Open Saved Scan..."
#define AMBRELL_TEXT_SAVE_SCAN_ITEM "Sa&ve Scan As..."
#define AMBRELL_TEXT_SORT_BY_SIZE_ITEM "Sort by Si&ze"
#define AMBRELL_TEXT_LARGEST_FILES_ITEM "Largest &Files..."
#define AMBRELL_TEXT_LARGEST_FILES_CAPTION "Largest Files"
#define AMBRELL_TEXT_REFRESH_FOLDER_ITEM "Refres&h Selected Folder"
#define AMBRELL_TEXT_SORT_BY_CHANGE_ITEM "Sort by Chan&ge"
#define AMBRELL_TEXT_COMPARE_ITEM "Com&pare with Saved Scan..."
#define AMBRELL_TEXT_COMPARE_CAPTION "Compare with Saved Scan"
#define AMBRELL_TEXT_SHOW_MAP_ITEM "Sho&w Map"
/* The map window's title while a scan runs and it shows nothing. */
#define AMBRELL_TEXT_MAP_CAPTION "Map"
#define AMBRELL_TEXT_OPEN_SAVED_SCAN_CAPTION "Open Saved Scan"
#define AMBRELL_TEXT_SAVE_SCAN_CAPTION "Save Scan As"
#define AMBRELL_TEXT_SAVED_SCAN_FILES "Saved scans (*.json)"
#define AMBRELL_TEXT_ALL_FILES "All files"

#define AMBRELL_TEXT_ABOUT_CAPTION "About Ambrell"
#define AMBRELL_TEXT_VERSION_LINE "Ambrell version 1.1"
#define AMBRELL_TEXT_NOTICE_LINE "(C) 2026 the Ambrell developers"
/* Each platform's home page is one that opens there. On Linux, where `cmake --install`
   with the /usr prefix puts the project's README; on Windows, the README shipped beside
   the program, whose full path the About box shows once it knows where it runs from. */
#define AMBRELL_TEXT_HOME_PAGE_LINUX "file:///usr/share/doc/ambrell"
#define AMBRELL_README_BESIDE_PROGRAM "README.txt"
#define AMBRELL_TEXT_OK "OK"

#endif
