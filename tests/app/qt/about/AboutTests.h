#pragma once
// Each runs one QTest class and returns its number of failures.

int RunLinkStaticTests(int argc, char** argv);
int RunAboutDlgTests(int argc, char** argv);
