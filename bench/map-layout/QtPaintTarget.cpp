#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/qt/MapPainter.h"
#include "bench/map-layout/MapPaintTarget.h"

namespace {
int g_argc = 1;
char g_name[] = "ambrell-map-timer";
char* g_argv[] = {g_name, nullptr};
}  // namespace

struct MapPaintTarget::Surface {
  Surface(int width, int height) : image(width, height, QImage::Format_RGB32) {}
  QGuiApplication application{g_argc, g_argv};  // fonts need one
  QImage image;
};

MapPaintTarget::MapPaintTarget(int width, int height) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  m_surface = std::make_unique<Surface>(width, height);
}

MapPaintTarget::~MapPaintTarget() = default;

const char* MapPaintTarget::Name() const { return "QPainter into a QImage"; }

int MapPaintTarget::LineHeight() const { return QFontMetrics(QGuiApplication::font()).height(); }

void MapPaintTarget::Paint(const MapWindowState& state) {
  QPainter painter(&m_surface->image);
  painter.fillRect(m_surface->image.rect(), Qt::white);
  PaintMap(painter, state, QFontMetrics(painter.font()));
}
