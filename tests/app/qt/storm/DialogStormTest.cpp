// Abort storms against the Linux main dialog, driven on the offscreen platform through
// its own button, unit list, hand-over timer and ways of closing.

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"
#include "tests/app/qt/WindowMenu.h"
#include "tests/support/Storm.h"

#if defined(__SANITIZE_ADDRESS__)
// fontconfig, which Qt sets up with the first dialog, keeps a block whose only pointer
// LeakSanitizer does not see: the storm's leak checks would report it after every
// sequence. (Browsers' leak suppressions carry the same line.)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Without the table of suppressions used after every check.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

namespace {

// A sequence costs some 25 ms under ThreadSanitizer and 15 ms under AddressSanitizer on
// two busy cores, so the full storm adds well under a minute to each suite. Every run
// starts from a new seed.
constexpr int kSequences = 1000;

AmbrellServices StormServices(std::shared_ptr<FileSystem> machine) {
  AmbrellServices services;
  services.fileSystem = std::move(machine);
  services.display = std::make_shared<PlainDisplayText>();
  services.locale = std::make_shared<FixedNumberLocale>(3, ",");
  services.openFolder = [](const CPath&) {};
  return services;
}

class DialogUnderStorm : public StormFrontEnd {
 public:
  explicit DialogUnderStorm(std::shared_ptr<FileSystem> machine)
      : m_dialog(std::make_unique<CAmbrellDlg>(StormServices(std::move(machine)))) {}

  void ClickRefresh() override { m_dialog->RefreshButton().click(); }
  void PickUnit(int unit) override {
    m_dialog->Units().setCurrentIndex(unit);
    emit m_dialog->Units().activated(unit);
  }
  void HandOverTimer() override { m_dialog->HandOverWaitingInsertions(); }
  void RefreshFolder(TreeItem item) override {
    m_dialog->Tree().SelectItem(item);
    ChooseWindowMenuItem(*m_dialog, "Refres&h Selected Folder");
  }
  std::string Close(int way, bool giveUpSoon) override {
    if (giveUpSoon) m_dialog->SetCloseWait(std::chrono::milliseconds(1));
    switch (way) {
      case 0:
        m_dialog->CloseButton().click();
        break;
      case 1:
        m_dialog->reject();  // Escape, or the window's close box
        break;
      default:
        m_dialog.reset();  // the program ends with the dialog still open
        return {};
    }
    return m_dialog->Tree().model()->rowCount() == 0 ? "" : "the tree still holds items";
  }
  void Pump() override {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  bool IsScanHeld() const override { return m_dialog->IsScanHeld(); }
  bool IsScanRunning() const override { return m_dialog->IsScanRunning(); }
  bool IsAbortRequested() const override { return m_dialog->IsAbortRequested(); }
  int Unit() const override { return m_dialog->Unit(); }
  const TreeView& Folders() const override { return m_dialog->Tree(); }
  std::string Label(TreeItem item) const override { return m_dialog->Tree().Label(item).toStdString(); }
  std::string ControlsFault() const override {
    if (m_dialog->RefreshButton().text() != QStringLiteral("&Refresh"))
      return "the button does not read Refresh";
    if (!m_dialog->Tree().isEnabled() || !m_dialog->Units().isEnabled())
      return "the tree or the units are locked";
    return {};
  }
  std::string CursorFault() const override {
    return m_dialog->cursor().shape() == Qt::ArrowCursor ? "" : "the busy cursor stays";
  }

 private:
  std::unique_ptr<CAmbrellDlg> m_dialog;
};

}  // namespace

class DialogStormTest : public QObject {
  Q_OBJECT

 private slots:
  void EverySequenceEndsWithExactLabelsNoWorkerAndNothingLeft() {
    const StormTarget target{"Qt dialog", 3, [](std::shared_ptr<FileSystem> machine, std::uint64_t) {
                               return std::make_unique<DialogUnderStorm>(std::move(machine));
                             }};
    const StormSettings settings = StormSettingsFromEnvironment(kSequences);
    const StormReport report = RunStorm(target, settings);
    for (const std::string& failure : report.failures) qWarning("%s", failure.c_str());
    QVERIFY(report.failures.empty());
    QCOMPARE(report.sequences, settings.sequences);
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  DialogStormTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "DialogStormTest.moc"
