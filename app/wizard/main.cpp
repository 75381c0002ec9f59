// vellumsheet-wizard: the converter's windows for people who do not use a terminal.
#include <QApplication>

#include "app/conversion/run.h"
#include "app/wizard/main_window.h"
#include "app/wizard/wizard_dialogs.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vellumsheet");
  QApplication::setApplicationDisplayName("Vellumsheet");
  vs::InstallInterruptCleanup();
  vs::TQtWizardDialogs dialogs;
  vs::TfmMain window(dialogs);
  window.show();
  return QApplication::exec();
}
