#include "app/qt/LauncherEntry.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

LauncherEntryProgress::LauncherEntryProgress()
    : m_objectPath(
          QStringLiteral("/com/canonical/unity/launcherentry/%1").arg(QCoreApplication::applicationPid())) {}

// A signal waits for no answer: a dock that is busy or gone never holds the dialog.
void LauncherEntryProgress::Send(double progress, bool visible) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage update =
      QDBusMessage::createSignal(m_objectPath, QString::fromLatin1(kInterface), QStringLiteral("Update"));
  const QVariantMap properties{{QStringLiteral("progress"), progress},
                               {QStringLiteral("progress-visible"), visible}};
  update << QString::fromLatin1(kApplicationUri) << properties;
  bus.send(update);
}
