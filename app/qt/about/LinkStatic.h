#pragma once
// A text label that behaves as a link: blue and underlined, a hand pointer
// over it, and a left click hands its text to the desktop to open. When the
// desktop cannot open it, the text goes to the clipboard so that the user can
// paste it into a browser. Nothing is ever shown to the user either way.

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

  // The desktop's URL handler opens links unless another opener is set.
  void SetOpener(Opener opener);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  static QCursor LoadHandCursor();
  static bool OpenWithDesktop(const QString& text);

  const QFont& LinkFont();
  void OpenLink() noexcept;
  bool TryOpen(const QString& text) noexcept;

  // Made from the label's font at the first paint and kept from then on.
  std::optional<QFont> m_linkFont;
  Opener m_opener;
};
