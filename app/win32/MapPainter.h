#pragma once
// Paints a map window's blocks with GDI into a device context: each block not
// covered by one of its own filled with its colour and framed a darker shade,
// its label cut with an ellipsis in its header, or whole in a block without
// one where it fits. The window (through a memory bitmap) and the benchmark
// paint through this.

#include <windows.h>

#include "app/MapWindowState.h"

// The font must be selected into the context; lineHeight is its height.
void PaintMap(HDC context, const MapWindowState& state, int lineHeight);

// The text height a map lays out headers for, in the window's font.
int MapLineHeight(HWND window);
