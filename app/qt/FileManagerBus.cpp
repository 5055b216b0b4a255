#include "app/qt/FileManagerBus.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>

namespace {
const QString kService = QStringLiteral("org.freedesktop.FileManager1");
}  // namespace

bool ShowItemOnSessionBus(const std::string& nativePath) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr || !bus.interface()->isServiceRegistered(kService)) {
    return false;
  }
  // The path's bytes as they are, percent-encoded: a name need not be UTF-8.
  const QByteArray path(nativePath.data(), static_cast<qsizetype>(nativePath.size()));
  const QString uri = QStringLiteral("file://") + QString::fromLatin1(path.toPercentEncoding("/"));
  QDBusMessage call = QDBusMessage::createMethodCall(
      kService, QStringLiteral("/org/freedesktop/FileManager1"), kService, QStringLiteral("ShowItems"));
  call << QStringList{uri} << QString();
  return bus.send(call);
}
