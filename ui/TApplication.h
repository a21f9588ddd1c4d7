#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is shown in the standard
// error box and the run goes on; none is ever let through Qt's event loop.
class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows "message" in an error box with the application's title, an error icon and OK.
  static void ShowException(const QString& message);
};
