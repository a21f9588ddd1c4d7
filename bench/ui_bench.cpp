// Times the desktop application under the offscreen platform and prints medians:
//  - start-up: from process start until the event loop runs with the main window shown, for the
//    calculator and for a minimal Qt Widgets program with an empty window of the same size;
//  - one keystroke in the slave address field until the result area shows the new frame.
// Usage: ui_bench [runs]   (default 51)

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TApplication.h"
#include "TfrmMain.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Milliseconds from spawning "program" until it writes its first line.
double TimeStartup(const std::string& program) {
  int fds[2];
  if (pipe(fds) != 0) std::exit(1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", program.c_str());
    std::exit(1);
  }
  close(fds[1]);
  char line[16];
  const ssize_t got = read(fds[0], line, sizeof line);
  const Clock::time_point shown = Clock::now();
  close(fds[0]);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got <= 0) {
    std::fprintf(stderr, "%s reported nothing\n", program.c_str());
    std::exit(1);
  }
  return std::chrono::duration<double, std::milli>(shown - start).count();
}

// Microseconds per keystroke typed over the slave address, with CTRL_POSITION chosen.
std::vector<double> TimeKeystrokes(int argc, char** argv, int count) {
  TApplication app(argc, argv);
  TfrmMain form;
  form.show();
  form.cbCommand->setCurrentIndex(form.cbCommand->findText(QStringLiteral("CTRL_POSITION")));
  form.editSlave->setFocus();
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    form.editSlave->setCursorPosition(0);
    const Qt::Key key = i % 2 == 0 ? Qt::Key_1 : Qt::Key_0;
    const Clock::time_point start = Clock::now();
    QTest::keyClick(form.editSlave, key);
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    const QString expected = i % 2 == 0 ? QStringLiteral("15") : QStringLiteral("05");
    if (!form.memoResult->toPlainText().contains(QStringLiteral("02 00 ") + expected)) {
      std::fprintf(stderr, "the result area did not follow the keystroke\n");
      std::exit(1);
    }
  }
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 51;
  const std::string dir = BRELVIK_PROBE_DIR;

  // The two programs alternate, and each pair gives one ratio: a slow moment of the machine
  // weighs on both sides of the ratio alike.
  std::vector<double> minimal, calculator, ratios;
  TimeStartup(dir + "/startup_probe_minimal");  // Warms the file cache for both.
  TimeStartup(dir + "/startup_probe_calculator");
  for (int i = 0; i < runs; ++i) {
    minimal.push_back(TimeStartup(dir + "/startup_probe_minimal"));
    calculator.push_back(TimeStartup(dir + "/startup_probe_calculator"));
    ratios.push_back(calculator.back() / minimal.back());
  }
  const double minimalMs = Median(minimal);
  const double calculatorMs = Median(calculator);
  std::printf("start-up, median of %d runs:\n", runs);
  std::printf("  minimal Qt Widgets window  %8.2f ms\n", minimalMs);
  std::printf("  Brelvik calculator         %8.2f ms\n", calculatorMs);
  std::printf("  ratio of the medians        %8.2f\n", calculatorMs / minimalMs);
  std::printf("  median ratio of the pairs  %8.2f   (goal: at most 1.30)\n", Median(ratios));

  const std::vector<double> keystrokes = TimeKeystrokes(argc, argv, 1000);
  std::printf("keystroke in the slave address to the result area updated, median of %zu:\n",
              keystrokes.size());
  std::printf("  %8.1f us   (goal: under 1000 us)\n", Median(keystrokes));
  return 0;
}
