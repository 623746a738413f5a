#pragma once
// The one QApplication of a Qt test executable, on the offscreen platform, and
// the screenshots the UI tests save when KVF_SCREENSHOT_DIR is set.
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>

namespace kvf::test {

inline QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "kvf_ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

inline void Screenshot(QWidget& widget, const QString& name) {
  if (const char* dir = std::getenv("KVF_SCREENSHOT_DIR")) widget.grab().save(QDir(dir).filePath(name + ".png"));
}

// A key press as the user gives it, delivered to `widget`.
inline void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&widget, &press);
}

}  // namespace kvf::test
