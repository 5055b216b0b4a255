#include "app/qt/FolderPictures.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "app/qt/Pictures.h"

namespace {

constexpr int kImageSize = 16;
constexpr QRgb kMaskColour = qRgb(255, 0, 255);

bool IsColourScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr && screen->depth() >= 8;
}

QPixmap ImageAt(const QImage& strip, int index) {
  QImage image = strip.copy(index * kImageSize, 0, kImageSize, kImageSize);
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(kMaskColour, Qt::MaskInColor)));
  return pixmap;
}

}  // namespace

QIcon LoadFolderIcon() {
  InitPictures();
  QImage strip(IsColourScreen() ? QStringLiteral(":/pictures/folders-256.bmp")
                                : QStringLiteral(":/pictures/folders-16.bmp"));
  if (strip.isNull()) return QIcon();
  strip = strip.convertToFormat(QImage::Format_RGB32);
  QIcon icon;
  icon.addPixmap(ImageAt(strip, 0), QIcon::Normal);
  icon.addPixmap(ImageAt(strip, 1), QIcon::Selected);
  // A disabled tree (during a scan) shows the same folders, not a greyed blur.
  icon.addPixmap(ImageAt(strip, 0), QIcon::Disabled);
  return icon;
}
