// The Linux dialog on the session bus. Under dbus-run-session (SessionBus*): the
// file manager's ShowItems reaches a file manager the test plays, the file's name
// percent-encoded, and a scan's progress reaches a dock the test plays as launcher
// entry signals. With the bus's address leading nowhere (NoSessionBus*): the file's
// folder goes to the opener instead, and neither that nor a scan prints, fails or hangs.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "app/qt/AmbrellServices.h"
#include "app/qt/FileManagerBus.h"
#include "app/qt/LauncherEntry.h"
#include "path/Path.h"

namespace {

bool PumpUntil(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(30000);  // a hang guard, not a timing check
  while (!condition() && !deadline.hasExpired()) QTest::qWait(5);
  return condition();
}

// A file manager on a connection of its own, as another process would be.
class FakeFileManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

 public:
  explicit FakeFileManager(QDBusConnection bus) : m_bus(std::move(bus)) {
    m_registered = m_bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), this,
                                        QDBusConnection::ExportAllSlots) &&
                   m_bus.registerService(QStringLiteral("org.freedesktop.FileManager1"));
  }
  bool IsRegistered() const { return m_registered; }

  QStringList shown;

 public slots:
  void ShowItems(const QStringList& uris, const QString& /*startupId*/) { shown += uris; }

 private:
  QDBusConnection m_bus;
  bool m_registered = false;
};

struct LauncherUpdate {
  QString path;
  QString uri;
  QVariantMap properties;
};

// A dock: every launcher entry signal on the bus, in the order sent.
class LauncherListener : public QObject {
  Q_OBJECT

 public:
  explicit LauncherListener(QDBusConnection bus) : m_bus(std::move(bus)) {
    m_listening = m_bus.connect(QString(), QString(), QString::fromLatin1(LauncherEntryProgress::kInterface),
                                QStringLiteral("Update"), this, SLOT(OnUpdate(QDBusMessage)));
  }
  bool IsListening() const { return m_listening; }

  std::vector<LauncherUpdate> updates;

 public slots:
  void OnUpdate(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 2) return;
    updates.push_back(
        LauncherUpdate{message.path(), arguments[0].toString(), qdbus_cast<QVariantMap>(arguments[1])});
  }

 private:
  QDBusConnection m_bus;
  bool m_listening = false;
};

// Whatever the process writes to its standard error meanwhile.
class StandardErrorCapture {
 public:
  StandardErrorCapture() : m_file(std::tmpfile()) {
    std::fflush(stderr);
    m_saved = ::dup(STDERR_FILENO);
    ::dup2(::fileno(m_file), STDERR_FILENO);
  }
  ~StandardErrorCapture() {
    Restore();
    std::fclose(m_file);
  }
  std::string Written() {
    Restore();
    std::rewind(m_file);
    std::string text;
    for (int c = std::fgetc(m_file); c != EOF; c = std::fgetc(m_file)) text += static_cast<char>(c);
    return text;
  }

 private:
  void Restore() {
    if (m_saved < 0) return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
    m_saved = -1;
  }
  std::FILE* m_file;
  int m_saved = -1;
};

// A folder 'sub' in a folder of plain letters (so that its path needs no encoding),
// shown as the saved drive C:, and an opener that writes down what it is given.
class FileShowing {
 public:
  FileShowing() {
    ::mkdir(m_root.c_str(), 0700);
    ::mkdir((m_root + "/sub").c_str(), 0700);
    std::ofstream(m_opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << m_record << "'\n";
    QFile::setPermissions(QString::fromStdString(m_opener), QFileDevice::ExeOwner | QFileDevice::ReadOwner);
  }
  ~FileShowing() { QDir(QString::fromStdString(m_root)).removeRecursively(); }

  const std::string& Root() const { return m_root; }
  void Show(const std::string& fileName) {
    SavedDrives drives = SavedDrivesOpenedWith(m_opener.c_str())({m_root});
    CPath folder;
    folder.Parse(CDynString("C:\\sub", AllocHeap));
    drives.showFile(folder, fileName);
  }
  std::string Opened() const {
    std::ifstream in(m_record);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  static std::string MakeRoot() {
    char name[] = "/tmp/ambrellbusXXXXXX";
    return ::mkdtemp(name) != nullptr ? name : "";
  }
  std::string m_root = MakeRoot();
  std::string m_opener = m_root + "/opener";
  std::string m_record = m_root + "/opened";
};

// Bytes a URI must escape: a blank, '%', a line break and one that is not UTF-8.
const std::string kHostileName = "a b%\n\xff.txt";

TEST(SessionBus, ShowItemsReachesTheFileManagerWithTheNamePercentEncoded) {
  ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
  FakeFileManager fileManager(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "file-manager"));
  ASSERT_TRUE(fileManager.IsRegistered());
  FileShowing showing;

  showing.Show(kHostileName);
  ASSERT_TRUE(PumpUntil([&] { return !fileManager.shown.isEmpty(); }));
  EXPECT_EQ(fileManager.shown,
            QStringList{QString::fromStdString("file://" + showing.Root() + "/sub/a%20b%25%0A%FF.txt")});
  EXPECT_EQ(showing.Opened(), "");
}

TEST(SessionBus, AScanSendsItsShareToTheLauncherEntryBelowTheWholeThenHidesIt) {
  ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
  LauncherListener dock(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "dock"));
  ASSERT_TRUE(dock.IsListening());
  std::shared_ptr<MemoryFileSystem> machine = SampleDrive();
  machine->SetUsedBytes('C', 300 * kMiB);  // the 3 MiB seen before photos are 1%
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\data\\photos"));

  CAmbrellDlg dialog(MemoryServices(machine));  // with the platform's own indicator
  machine->GetGate().WaitUntilHeld();
  dialog.HandOverWaitingInsertions();
  ASSERT_TRUE(PumpUntil([&] { return !dock.updates.empty(); }));
  const LauncherUpdate held = dock.updates.back();
  EXPECT_EQ(held.uri, "application://ambrell.desktop");
  EXPECT_TRUE(held.path.startsWith("/com/canonical/unity/launcherentry/")) << held.path.toStdString();
  EXPECT_EQ(held.properties.value("progress-visible"), QVariant(true));
  EXPECT_DOUBLE_EQ(held.properties.value("progress").toDouble(), 0.01);

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd(dialog));
  ASSERT_TRUE(PumpUntil([&] { return dock.updates.back().properties.value("progress-visible") == false; }));
  for (std::size_t i = 0; i + 1 < dock.updates.size(); ++i) {
    const double progress = dock.updates[i].properties.value("progress").toDouble();
    const bool last = i + 2 == dock.updates.size();  // the whole only just before it hides
    EXPECT_TRUE(progress >= 0 && (progress < 1 || last)) << i << ": " << progress;
  }
}

TEST(NoSessionBus, TheFileFolderGoesToTheOpenerSilently) {
  ASSERT_FALSE(QDBusConnection::sessionBus().isConnected()) << "run with the bus's address leading nowhere";
  FileShowing showing;
  StandardErrorCapture errors;
  showing.Show(kHostileName);
  ASSERT_TRUE(PumpUntil([&] { return !showing.Opened().empty(); }));
  EXPECT_EQ(showing.Opened(), showing.Root() + "/sub\n");
  EXPECT_EQ(errors.Written(), "");
}

TEST(NoSessionBus, AScanAndItsAbortShowNothingAndSayNothing) {
  std::shared_ptr<MemoryFileSystem> machine = SampleDrive();
  machine->SetUsedBytes('C', 300 * kMiB);
  StandardErrorCapture errors;
  {
    CAmbrellDlg dialog(MemoryServices(machine));
    ASSERT_TRUE(WaitForScanEnd(dialog));
    machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\data\\photos"));
    dialog.RefreshButton().click();
    machine->GetGate().WaitUntilHeld();
    dialog.HandOverWaitingInsertions();
    {
      ReleaseOnAbort release(dialog, machine->GetGate());
      dialog.RefreshButton().click();
    }
    ASSERT_TRUE(WaitForScanEnd(dialog));
  }
  EXPECT_EQ(errors.Written(), "");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "SessionBusTest.moc"
