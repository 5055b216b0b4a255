#pragma once
// Each group of dialog tests; every one returns its number of failures.
int RunScanControlTests(int argc, char** argv);
int RunContextMenuTests(int argc, char** argv);
int RunLayoutTests(int argc, char** argv);
int RunSavedScanTests(int argc, char** argv);
int RunFolderModelTests(int argc, char** argv);
