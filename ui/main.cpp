#include <QString>
#include <exception>

#include "TApplication.h"
#include "TfrmMain.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  try {
    TfrmMain frmMain;
    frmMain.show();
    app.exec();
  } catch (const std::exception& error) {
    TApplication::ShowException(QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
