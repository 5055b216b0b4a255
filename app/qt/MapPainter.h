#pragma once
// Paints a map window's blocks with QPainter: each block not covered by one of
// its own filled with its colour and framed a darker shade, its label clipped
// with an ellipsis in its header, or whole in a block without one where it fits.
// The window and the benchmark paint through this.

#include <QFontMetrics>
#include <QPainter>

#include "app/MapWindowState.h"

void PaintMap(QPainter& painter, const MapWindowState& state, const QFontMetrics& metrics);
