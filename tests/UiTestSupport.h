#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

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
inline void DoubleClickAt(QWidget* widget, const QPoint& at) {
  QTest::mousePress(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &doubleClick);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
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
