#include <QString>
#include <exception>

#include "TApplication.h"
#include "TfrmCommandCatalog.h"
#include "TfrmMain.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  try {
    TfrmMain frmMain;
    // Made once, hidden, and reused for every opening; owned by the main window.
    frmMain.SetCommandCatalog(new TfrmCommandCatalog(&frmMain));
    frmMain.show();
    app.exec();
  } catch (const std::exception& error) {
    TApplication::ShowException(QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
