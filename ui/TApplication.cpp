#include "TApplication.h"

#include <QMessageBox>
#include <exception>

#include "AppInfo.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("brelvik-calc"));
  setApplicationVersion(QStringLiteral(BRELVIK_VERSION));
  setDesktopFileName(QStringLiteral("io.github.brelvik.BrelvikCalc"));
  setWindowIcon(QIcon(QStringLiteral(":/brelvik/brelvik-calc.png")));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    ShowException(tr("Unknown error."));
  }
  return false;
}

void TApplication::ShowException(const QString& message) {
  QMessageBox box(QMessageBox::Critical, tr(kApplicationTitle), message, QMessageBox::Ok,
                  activeWindow());
  box.exec();
}
