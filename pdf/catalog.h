#pragma once
// What the document keeps of its catalog and information dictionary once
// the file is closed.
#include <memory>
#include <string>

#include "pdf/objects.h"

namespace vs {

// Boolean views of the catalog's /ViewerPreferences.
class TqxPDFViewerPreferences {
 public:
  TqxPDFViewerPreferences() : dict_(std::make_unique<TqxPDFDictObject>()) {}
  void Assign(const TqxPDFDictObject& dict);
  const TqxPDFDictObject& Dictionary() const { return *dict_; }

  bool HideToolbar() const { return Get("/HideToolbar"); }
  bool HideMenubar() const { return Get("/HideMenubar"); }
  bool HideWindowUI() const { return Get("/HideWindowUI"); }
  bool FitWindow() const { return Get("/FitWindow"); }
  bool CenterWindow() const { return Get("/CenterWindow"); }
  bool DisplayDocTitle() const { return Get("/DisplayDocTitle"); }
  void SetHideToolbar(bool on) { Set("/HideToolbar", on); }
  void SetHideMenubar(bool on) { Set("/HideMenubar", on); }
  void SetHideWindowUI(bool on) { Set("/HideWindowUI", on); }
  void SetFitWindow(bool on) { Set("/FitWindow", on); }
  void SetCenterWindow(bool on) { Set("/CenterWindow", on); }
  void SetDisplayDocTitle(bool on) { Set("/DisplayDocTitle", on); }

 private:
  // False when absent or not a Boolean.
  bool Get(std::string_view key) const;
  // True stores a Boolean; false removes the key.
  void Set(std::string_view key, bool on);
  std::unique_ptr<TqxPDFDictObject> dict_;
};

// Copies of the catalog entries the document keeps.
struct TqxPDFCatalog {
  TqxPDFViewerPreferences viewer_preferences;
  TqxPDFObjectPtr names;
  TqxPDFObjectPtr open_action;
  TqxPDFObjectPtr acro_form;
  TqxPDFObjectPtr additional_actions;  // /AA
  std::unique_ptr<TqxPDFIndirectReference> metadata;
};

// The document information dictionary and its texts.
struct TqxPDFInfo {
  std::unique_ptr<TqxPDFDictObject> dictionary;
  std::u16string Title, Author, Subject, Keywords, Creator, Producer;
  std::string CreationDate, ModDate;

  // Takes a copy of dict and reads the texts from it (string values only).
  void Assign(const TqxPDFDictObject& dict);
};

}  // namespace vs
