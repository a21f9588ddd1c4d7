#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
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
// test never hangs on one. Keep the returned pointer until the box has been handled.
inline std::shared_ptr<SeenBox> CloseNextMessageBox() {
  auto seen = std::make_shared<SeenBox>();
  auto* timer = new QTimer(qApp);
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
