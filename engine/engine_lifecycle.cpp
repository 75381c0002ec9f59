// Opening and closing documents and pages, and rendering finished pages.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/engine.h"
#include "platform/file_stream.h"
#include "platform/numbers.h"

namespace vs {

void TqxCustomDocumentEngine::BeginDoc() {
  if (open_) return;
  Fire(OnBeforeBeginDoc);
  int result = 1;
  if (preferences_->ShowSetupDialog()) {
    result = SetupDialog ? SetupDialog->Execute(*this) : ShowDefaultSetupDialog();
  }
  if (result == 2) {
    status_ = 3;
    return;
  }
  open_ = true;
  pages_.clear();
  metafile_ = std::make_unique<TMetafile>();
  header_ = std::make_unique<TqxBandItem>();
  footer_ = std::make_unique<TqxBandItem>();
  underlay_ = std::make_unique<TqxBandItem>();
  overlay_ = std::make_unique<TqxBandItem>();
  images_.clear();
  states_.clear();
  savedStateIndex_ = SaveEngineState();
  outputFiles_.clear();
  currentPage_ = pageCount_ = 0;
  currentPageItem_ = nullptr;
  NewPage();
  BeginDocHook();
  status_ = 1;
  table_ = nullptr;
  paragraph_ = nullptr;
  Fire(OnAfterBeginDoc);
}

void TqxCustomDocumentEngine::NewPage() {
  if (!open_) return;
  const bool eachPage = preferences_->ProcessAfterEachPage();
  if (currentPageItem_) {
    if (band_ == TqxBand::bsPage && currentCursor_) currentPageItem_->Cursor = *currentCursor_;
    if (!eachPage) FinishRecordingInto();
  }
  if (eachPage && currentPageItem_) ProcessPage();

  pageCount_++;
  currentPage_ = pageCount_;
  auto page = std::make_unique<TqxPageItem>();
  page->Engine = this;
  page->PageSettings.Assign(page_);  // unit factor 1: the copy reports pixels
  currentPageItem_ = page.get();
  MakeCurrent(*page);
  StartRecording(page->PageSettings.Width(), page->PageSettings.Height());
  pages_.push_back(std::move(page));
  band_ = TqxBand::bsPage;
  UpdateWorkArea();
}

void TqxCustomDocumentEngine::EndDoc() {
  if (!open_) return;
  if (!preferences_->ProcessAfterEachPage()) {
    FinishRecordingInto();
    for (int i = 1; i <= pageCount_; ++i) {
      currentPage_ = i;
      currentPageItem_ = pages_[i - 1].get();
      if (currentPageItem_) ProcessPage();
    }
  } else {
    ProcessPage();
  }
  Fire(OnBeforeEndDoc);
  pages_.clear();
  currentPageItem_ = nullptr;
  EndDocHook();
  Fire(OnAfterEndDoc);
  if (preferences_->OpenAfterCreate() && !outputFiles_.empty()) OpenWithDesktop(outputFiles_.front());
  CloseDocument();
  status_ = 2;
}

void TqxCustomDocumentEngine::CloseDocument() {
  if (!open_) return;
  if (savedStateIndex_ >= 0 && savedStateIndex_ < static_cast<int>(states_.size())) {
    RestoreEngineState(savedStateIndex_);
  }
  header_.reset();
  footer_.reset();
  underlay_.reset();
  overlay_.reset();
  canvas_.reset();
  metafile_.reset();
  images_.clear();
  outputFiles_.clear();
  states_.clear();
  savedStateIndex_ = -1;
  pages_.clear();
  openTable_.reset();
  currentPageItem_ = nullptr;
  currentItems_ = currentTexts_ = nullptr;
  currentCursor_ = nullptr;
  paragraph_ = nullptr;
  table_ = nullptr;
  currentPage_ = pageCount_ = 0;
  textRotation_ = 0;
  textAlignment_ = 0;
  band_ = TqxBand::bsPage;
  open_ = false;
}

void TqxCustomDocumentEngine::ProcessPage() {
  TqxPageItem* page = currentPageItem_;
  if (!page) return;
  if (PageSelected(currentPage_)) {
    Fire(OnBeforeBeginPage);
    if (preferences_->ProcessAfterEachPage()) FinishRecordingInto();
    band_ = TqxBand::bsPage;
    BeginPageHook();
    Fire(OnAfterBeginPage);
    DrawPageBorder();
    if (separateTextList_ && currentPage_ == 1) {
      SortItems(header_->Texts);
      SortItems(footer_->Texts);
    }
    band_ = TqxBand::bsHeader;
    RenderItems(header_->Items);
    RenderDeferredTextItems(header_->Texts);
    band_ = TqxBand::bsUnderlay;
    SortItems(underlay_->Texts);
    RenderItems(underlay_->Items);
    RenderDeferredTextItems(underlay_->Texts);
    band_ = TqxBand::bsPage;
    SortItems(page->Texts);
    RenderItems(page->Items);
    RenderDeferredTextItems(page->Texts);
    band_ = TqxBand::bsFooter;
    RenderItems(footer_->Items);
    RenderDeferredTextItems(footer_->Texts);
    band_ = TqxBand::bsOverlay;
    SortItems(overlay_->Texts);
    RenderItems(overlay_->Items);
    RenderDeferredTextItems(overlay_->Texts);
    band_ = TqxBand::bsPage;
    Fire(OnBeforeEndPage);
    EndPageHook();
    Fire(OnAfterEndPage);
  }
  FreePageItems(*page);
  for (TqxImageEntry& entry : images_) {
    entry.Stream = nullptr;  // the streams went with their items
    if (!preferences_->UseImagesAsResources() && preferences_->ProcessAfterEachPage()) entry.Graphic.reset();
  }
  if (currentItems_ == &page->Items) {
    currentItems_ = currentTexts_ = nullptr;
    currentCursor_ = nullptr;
  }
  for (auto& slot : pages_) {
    if (slot.get() == page) slot.reset();
  }
  currentPageItem_ = nullptr;
}

void TqxCustomDocumentEngine::FreePageItems(TqxPageItem& page) {
  // A table still being filled survives its page until EndTable.
  for (TqxItemList* list : {&page.Texts, &page.Items}) {
    for (auto& item : *list) {
      if (table_ && item.get() == table_) openTable_.reset(static_cast<TqxTableItem*>(item.release()));
    }
    list->clear();
  }
  paragraph_ = nullptr;
}

void TqxCustomDocumentEngine::SetCurrentPage(int pageNo) {
  if (!open_ || preferences_->ProcessAfterEachPage()) return;
  if (pageNo < 1 || pageNo > pageCount_ || !pages_[pageNo - 1]) {
    ReportError<EInvalidPageNumber>();
    return;
  }
  TqxPageItem* target = pages_[pageNo - 1].get();
  if (currentPageItem_) {
    if (band_ == TqxBand::bsPage && currentCursor_) currentPageItem_->Cursor = *currentCursor_;
    FinishRecordingInto();
    // The new recording is for the page that becomes current.
    StartRecording(target->PageSettings.Width(), target->PageSettings.Height());
  }
  currentPage_ = pageNo;
  currentPageItem_ = target;
  if (band_ == TqxBand::bsPage) MakeCurrent(*target);
  UpdateWorkArea();
}

bool TqxCustomDocumentEngine::PageSelected(int pageNo) const {
  if (PagesToRender.empty()) return true;
  // Entries are separated by commas and blanks; double quotes group.
  std::vector<std::string> entries;
  std::string entry;
  bool quoted = false;
  for (char c : PagesToRender) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ',' || c == ' ')) {
      if (!entry.empty()) entries.push_back(entry);
      entry.clear();
    } else {
      entry += c;
    }
  }
  if (!entry.empty()) entries.push_back(entry);

  bool selected = false;
  for (const std::string& e : entries) {
    if (!std::all_of(e.begin(), e.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; })) continue;
    size_t dash = e.find('-');
    if (dash == std::string::npos) {
      if (ParseInt32(e) == pageNo) selected = true;
    } else {
      int32_t from = ParseInt32(e.substr(0, dash));
      int32_t to = ParseInt32(e.substr(dash + 1));
      if (from <= pageNo && pageNo <= to) selected = true;
    }
  }
  return selected;
}

std::unique_ptr<TStream> TqxCustomDocumentEngine::CreateOutputFile(const std::string& path) {
  try {
    std::error_code ec;
    if (!fileName_.empty() && std::filesystem::exists(fileName_, ec)) std::filesystem::remove(path, ec);
    return std::make_unique<TqxFileStream>(path);
  } catch (const std::exception&) {
    status_ = 4;
    for (const std::string& file : outputFiles_) {
      std::error_code ec;
      std::filesystem::remove(file, ec);
    }
    CloseDocument();
    throw EFileCreateError();
  }
}

void TqxCustomDocumentEngine::OpenWithDesktop(const std::string& path) {
  // The desktop's opener, when there is one; otherwise nothing happens.
  if (access("/usr/bin/xdg-open", X_OK) != 0) return;
  // Two forks, so that the opener is never left behind as a zombie of ours.
  pid_t child = fork();
  if (child == 0) {
    if (fork() == 0) {
      execl("/usr/bin/xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
    }
    _exit(0);
  }
  if (child > 0) waitpid(child, nullptr, 0);
}

}  // namespace vs
