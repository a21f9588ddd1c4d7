#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <memory>
#include <ostream>

// Readable failure messages for texts and rows; found by GoogleTest next to the types.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QModelIndex& index, std::ostream* os) {
  if (!index.isValid()) {
    *os << "no row";
    return;
  }
  *os << "row " << index.row() << " column " << index.column() << " \""
      << index.data().toString().toStdString() << "\"";
  if (index.parent().isValid())
    *os << " under \"" << index.parent().data().toString().toStdString() << "\"";
}

// What a modal message box showed before the test closed it.
struct SeenBox {
  bool Shown = false;
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Watches for the next modal message box, records what it shows and closes it with OK, so a
// test never hangs on one. Keep the returned pointer until the box has been handled. A watcher
// still waiting from earlier, such as one that saw no box come, gives way to the new one.
inline std::shared_ptr<SeenBox> CloseNextMessageBox() {
  static QPointer<QTimer> waiting;
  delete waiting.data();
  auto seen = std::make_shared<SeenBox>();
  auto* timer = new QTimer(qApp);
  waiting = timer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [seen, timer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen->Shown = true;
    seen->Title = box->windowTitle();
    seen->Text = box->text();
    seen->Icon = box->icon();
    timer->stop();
    timer->deleteLater();
    box->button(QMessageBox::Ok)->click();
  });
  // Give up after a while: a box that never came must not leave a timer behind.
  QTimer::singleShot(5000, timer, [timer] { timer->deleteLater(); });
  timer->start();
  return seen;
}

// Runs "action" once "widget" is shown, from inside whatever modal loop shows it; a test that
// opens a modal window with exec() schedules its steps in the window this way.
inline void RunWhenShown(QWidget* widget, std::function<void()> action) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [widget, timer, action] {
    if (!widget->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    action();
  });
  QTimer::singleShot(5000, timer, [timer] { timer->deleteLater(); });
  timer->start();
}

// Records every popup menu that opens while it lives, and closes it, so a test never hangs on one.
class PopupMenuCloser {
 public:
  PopupMenuCloser() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      QStringList entries;
      for (const QAction* action : menu->actions()) entries.append(action->text());
      Menus.append(entries);
      menu->close();
    });
    timer_.start();
  }

  // The entries of each menu that opened, in order.
  QList<QStringList> Menus;

 private:
  QTimer timer_;
};

// A double-click as the platform delivers it: press, release, double-click, release.
inline void DoubleClickAt(QWidget* widget, const QPoint& at,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::mousePress(widget, Qt::LeftButton, modifiers, at);
  QTest::mouseRelease(widget, Qt::LeftButton, modifiers, at);
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, modifiers);
  QApplication::sendEvent(widget, &doubleClick);
  QTest::mouseRelease(widget, Qt::LeftButton, modifiers, at);
}

// A drag with the left button held, from "from" to "to" within "widget", moving in small steps as
// a hand does.
inline void DragAt(QWidget* widget, const QPoint& from, const QPoint& to) {
  constexpr int kSteps = 10;
  QTest::mousePress(widget, Qt::LeftButton, {}, from);
  for (int step = 1; step <= kSteps; ++step) {
    const QPoint at = from + (to - from) * step / kSteps;
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }
  QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

// Rolls the mouse wheel by "notches" (positive: away from the user) over the middle of "widget",
// delivered as the platform does to the innermost widget under the pointer.
inline void WheelOver(QWidget* widget, int notches) {
  constexpr int kNotch = 120;  // One notch of a standard wheel, in eighths of a degree.
  const QPoint centre = widget->rect().center();
  QWidget* target = widget->childAt(centre);
  if (target == nullptr) target = widget;
  const QPoint at = target->mapFrom(widget, centre);
  QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, kNotch * notches),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  // Only an event from the platform goes on to the parents of a widget that ignores it; sendEvent()
  // would mark it as made by the program.
  QSpontaneKeyEvent::setSpontaneous(&wheel);
  qApp->notify(target, &wheel);
}

// Chooses the item showing "text" in "box" as a user does: opens the list and clicks the item.
inline bool ClickComboItem(QComboBox* box, const QString& text) {
  const int index = box->findText(text);
  if (index < 0) return false;
  box->showPopup();
  QAbstractItemView* view = box->view();
  if (!QTest::qWaitForWindowExposed(view->window())) return false;
  const QModelIndex item = view->model()->index(index, box->modelColumn(), box->rootModelIndex());
  view->scrollTo(item);
  const QPoint centre = view->visualRect(item).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
  QTest::qWait(0);
  return box->currentIndex() == index;
}
