#pragma once
// A text label that behaves as a link: blue and underlined, a hand pointer
// over it, and a left click hands its text to the desktop's opener. When that
// cannot open it, the text goes to the clipboard so that the user can paste it
// into a browser. Nothing is ever shown to the user either way.

#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <functional>
#include <optional>

class CLinkStatic : public QLabel {
  Q_OBJECT

 public:
  // Opens the text with some program; false when nothing could open it.
  using Opener = std::function<bool(const QString& text)>;

  explicit CLinkStatic(QWidget* parent = nullptr);
  explicit CLinkStatic(const QString& text, QWidget* parent = nullptr);

  // By default the text goes, as its one argument, to the desktop's opener program
  // (xdg-open), and its exit status tells whether it opened: the desktop's own URL
  // service reports success as soon as that program starts, whatever it then finds.
  void SetOpenerProgram(const QString& program) { m_openerProgram = program; }
  // Another way of opening, in place of the opener program.
  void SetOpener(Opener opener);

 signals:
  // The opener program has ended, or could not start.
  void OpenerFinished(bool opened);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  static QCursor LoadHandCursor();
  static void CopyToClipboard(const QString& text);
  bool StartOpenerProgram(const QString& text);

  const QFont& LinkFont();
  void OpenLink() noexcept;
  bool TryOpen(const QString& text) noexcept;

  // Made from the label's font at the first paint and kept from then on.
  std::optional<QFont> m_linkFont;
  Opener m_opener;
  QString m_openerProgram = QStringLiteral("xdg-open");
};
