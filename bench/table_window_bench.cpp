// Times the opening of the strings for all channels from the main window, as Ctrl+T does it: from
// the click until the window, with its table calculated and filled, has been painted for the
// first time and the event loop is back. Each run starts a new main window, so the table window
// is made anew every time. Prints the median and the slowest of the runs, for all fifteen
// commands (429 rows) and for one command.
// Usage: table_window_bench [runs]   (default 31; QT_QPA_PLATFORM picks the platform, offscreen
// when unset)

#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "TApplication.h"
#include "TfrmMain.h"
#include "TfrmTable.h"

namespace {

// Ends "loop" as soon as the event loop is back after the first paint of a table window.
class FirstTablePaint : public QObject {
 public:
  explicit FirstTablePaint(QEventLoop& loop) : loop_(loop) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_ && qobject_cast<TfrmTable*>(watched)) {
      painted_ = true;
      QTimer::singleShot(0, &loop_, &QEventLoop::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QEventLoop& loop_;
  bool painted_ = false;
};

// Milliseconds from the table button's click to the painted table, for "command" (none for all).
double TimeOpening(const char* command) {
  TfrmMain form;
  form.show();
  QCoreApplication::processEvents();
  if (command != nullptr) {
    form.cbCommand->setCurrentIndex(form.cbCommand->findText(QString::fromLatin1(command)));
  }
  QEventLoop loop;
  FirstTablePaint watcher(loop);
  qApp->installEventFilter(&watcher);
  QTimer::singleShot(5000, &loop, [] {
    std::fprintf(stderr, "the table window was not painted\n");
    std::exit(1);
  });

  QElapsedTimer clock;
  clock.start();
  form.btnTableClick();
  loop.exec();
  const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  qApp->removeEventFilter(&watcher);
  return ms;
}

void Report(const char* what, const char* command, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(TimeOpening(command));
  std::sort(times.begin(), times.end());
  std::printf("  %-28s median %7.2f ms, slowest %7.2f ms\n", what, times[times.size() / 2],
              times.back());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
  TApplication app(argc, argv);
  TimeOpening(nullptr);  // Loads the fonts and styles once, as the main window's start did.
  std::printf("table window opened with its table, %d runs (goal: under 100 ms):\n", runs);
  Report("all 15 commands (429 rows)", nullptr, runs);
  Report("CTRL_POSITION (64 rows)", "CTRL_POSITION", runs);
  return 0;
}
