#include "engine/settings/preferences.h"

namespace vs {

void TqxPreferences::Assign(const TqxPreferences& source) {
  SetProcessAfterEachPage(source.processAfterEachPage_);
  SetOutputToUserStream(source.outputToUserStream_);
  SetOpenAfterCreate(source.openAfterCreate_);
  SetEmailAfterCreate(source.emailAfterCreate_);
  SetShowSetupDialog(source.showSetupDialog_);
  SetCalculateVariables(source.calculateVariables_);
  SetUseImagesAsResources(source.useImagesAsResources_);
}

void TqxDocInfo::Assign(const TqxDocInfo& source) {
  SetTitle(source.title_);
  SetSubject(source.subject_);
  SetAuthor(source.author_);
  SetCreator(source.creator_);
  SetKeywords(source.keywords_);
}

}  // namespace vs
