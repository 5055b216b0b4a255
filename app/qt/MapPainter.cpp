#include "app/qt/MapPainter.h"

namespace {

constexpr int kTextInset = 2;  // between a block's edge and its label
constexpr int kFrameShade = 140;

QRect RectOf(const MapRect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

// One line whatever the name holds: a line break would spill out of its header.
QString OneLine(const std::string& label) {
  QString text = QString::fromStdString(label);
  for (QChar& character : text) {
    if (character.category() == QChar::Other_Control) character = QChar::ReplacementCharacter;
  }
  return text;
}

void PaintBlock(QPainter& painter, const MapWindowState& state, const MapBlock& block,
                const QFontMetrics& metrics) {
  const QRect pixels = RectOf(block.pixels);
  const QColor colour(block.colour.red, block.colour.green, block.colour.blue);
  painter.fillRect(pixels, colour);
  painter.setPen(colour.darker(kFrameShade));
  painter.drawRect(pixels.adjusted(0, 0, -1, -1));
  const bool roomForText = block.HasHeader() || metrics.height() <= pixels.height();
  if (!roomForText) return;
  const QString label = OneLine(state.BlockLabel(block));
  painter.setPen(Qt::black);
  if (block.HasHeader()) {
    const QRect strip = RectOf(block.header).adjusted(kTextInset, 0, -kTextInset, 0);
    painter.drawText(strip, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(label, Qt::ElideRight, strip.width()));
  } else if (metrics.horizontalAdvance(label) <= pixels.width() - 2 * kTextInset) {
    painter.drawText(pixels, Qt::AlignCenter, label);
  }
}

}  // namespace

void PaintMap(QPainter& painter, const MapWindowState& state, const QFontMetrics& metrics) {
  for (const MapBlock& block : state.Map().Blocks()) {
    if (!block.covered) PaintBlock(painter, state, block, metrics);
  }
}
