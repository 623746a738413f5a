#include "core/ui/qt_posted_actions.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace kvf {

TPostedActions& QtPostedActions() {
  static TPostedActions* queue = new TPostedActions([] {
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QtPostedActions().Dispatch(); }, Qt::QueuedConnection);
  });
  return *queue;
}

}  // namespace kvf
