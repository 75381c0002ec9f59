#include "app/wizard/wizard_settings.h"

#include <QSettings>

namespace vs {
namespace {

constexpr QSettings::Format kFormat = QSettings::IniFormat;  // ~/.config/Vellumsheet/wizard.ini

}  // namespace

TWizardChoices LoadChoices() {
  const QSettings store(kFormat, QSettings::UserScope, "Vellumsheet", "wizard");
  TWizardChoices choices;
  choices.paper = store.value("options/paper", choices.paper).toString();
  choices.imageQuality = store.value("options/imageQuality", choices.imageQuality).toInt();
  choices.onePerSheet = store.value("options/onePagePerWorksheet", choices.onePerSheet).toBool();
  choices.pdfFolder = store.value("folders/pdf").toString();
  choices.workbookFolder = store.value("folders/workbook").toString();
  return choices;
}

void SaveChoices(const TWizardChoices& choices) {
  QSettings store(kFormat, QSettings::UserScope, "Vellumsheet", "wizard");
  store.setValue("options/paper", choices.paper);
  store.setValue("options/imageQuality", choices.imageQuality);
  store.setValue("options/onePagePerWorksheet", choices.onePerSheet);
  store.setValue("folders/pdf", choices.pdfFolder);
  store.setValue("folders/workbook", choices.workbookFolder);
}

}  // namespace vs
