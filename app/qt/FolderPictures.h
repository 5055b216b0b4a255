#pragma once
#include <QIcon>

// The tree's folder picture: closed for every item, open for the selected one,
// from the full-colour bitmap, or the 16-colour one on a screen of fewer than
// 8 bits per pixel; magenta is transparent. An empty icon if the bitmap is missing.
QIcon LoadFolderIcon();
