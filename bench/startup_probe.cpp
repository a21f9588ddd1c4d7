// Starts a window and writes one line to stdout as soon as the window has been painted for the
// first time, then quits. Built twice: once with the calculator's main window, as the application
// starts it, and once with an empty window of the same size, the least any Qt Widgets program
// does; ui_bench times both from process start to that line.

#include <QEvent>
#include <QTimer>
#include <cstdio>

#ifdef BRELVIK_PROBE_CALCULATOR
#include "TApplication.h"
#include "TfrmCommandCatalog.h"
#include "TfrmMain.h"
#else
#include <QApplication>
#include <QWidget>
#endif

namespace {

// Once the window gets its first paint event, reports as soon as the event loop is back, that is
// after every widget of that first paint has been drawn.
class FirstPaintReporter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      QTimer::singleShot(0, this, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
#ifdef BRELVIK_PROBE_CALCULATOR
  TApplication app(argc, argv);
  TfrmMain window;
  window.SetCommandCatalog(new TfrmCommandCatalog(&window));
#else
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(915, 479);
#endif
  FirstPaintReporter reporter;
  window.installEventFilter(&reporter);
  window.show();
  return app.exec();
}
