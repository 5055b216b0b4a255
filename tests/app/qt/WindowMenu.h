#pragma once
// The main dialog's window menu as a test reaches it: a right-click on the dialog's
// background, with the menu tracker handing each item of the menu to use instead of
// showing it.

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"

template <typename Use>
void WithWindowMenuItem(CAmbrellDlg& dialog, const char* text, Use use) {
  dialog.SetMenuTracker([&use, text](QMenu& menu, const QPoint&) {
    for (QAction* action : menu.actions()) {
      if (action->text() == QString::fromUtf8(text)) use(*action);
    }
  });
  const QPoint background(dialog.width() / 2, dialog.Tree().geometry().bottom() + 3);
  QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
  QApplication::sendEvent(&dialog, &event);
}

// Chooses the item as the user does: only when it is enabled.
inline void ChooseWindowMenuItem(CAmbrellDlg& dialog, const char* text) {
  WithWindowMenuItem(dialog, text, [](QAction& item) {
    if (item.isEnabled()) item.trigger();
  });
}
