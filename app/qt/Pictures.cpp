#include "app/qt/Pictures.h"

#include <QtGlobal>

// Outside any namespace, as the resource initialiser requires.
static void RegisterPictures() { Q_INIT_RESOURCE(pictures); }

void InitPictures() {
  static const bool registered = (RegisterPictures(), true);
  (void)registered;
}
