// vellumsheet-wizard: the converter's windows for people who do not use a terminal.
#include <QApplication>

#include "app/conversion/run.h"
#include "app/wizard/main_window.h"
#include "app/wizard/wizard_dialogs.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vellumsheet");
  // No display name: the window system would add it to every dialog's
  // caption, and the small dialogs' captions would be cut.
  vs::InstallInterruptCleanup();
  vs::TQtWizardDialogs dialogs;
  vs::TfmMain window(dialogs);
  // A file named on the command line (the desktop entry passes the one opened).
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.OpenPdf(arguments.at(1));
  window.show();
  return QApplication::exec();
}
