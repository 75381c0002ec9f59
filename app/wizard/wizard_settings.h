#pragma once
// The choices the wizard remembers between runs: the converting options and
// the folders its file dialogs were last used in (QSettings, per user).
#include <QString>

namespace vs {

struct TWizardChoices {
  QString paper = "A4";
  int imageQuality = 100;
  bool onePerSheet = false;
  QString pdfFolder;       // where the last PDF file was picked
  QString workbookFolder;  // where the last workbook name was chosen
};

TWizardChoices LoadChoices();
void SaveChoices(const TWizardChoices& choices);

}  // namespace vs
