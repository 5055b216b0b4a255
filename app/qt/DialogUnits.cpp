#include "app/qt/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace {

constexpr int kLetterCount = 52;

int AverageLetterWidth(const QFontMetrics& metrics) {
  static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  // Rounded like the platform rounds it: (total / 26 + 1) / 2.
  int total = metrics.horizontalAdvance(letters);
  return (total / (kLetterCount / 2) + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  QFontMetrics metrics(font);
  m_baseX = qMax(1, AverageLetterWidth(metrics));
  m_baseY = qMax(1, metrics.height());
}

int DialogUnits::X(int units) const { return units * m_baseX / 4; }

int DialogUnits::Y(int units) const { return units * m_baseY / 8; }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}
