#pragma once
// The PDF document: opening a file (with its password), reading everything
// reachable from the catalog into the object store, the page list with
// inherited attributes, outlines, named destinations and form fields, the
// page queries the renderer uses, and page deletion.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/catalog.h"
#include "platform/component.h"
#include "pdf/security/crypt.h"
#include "pdf/security/encryption_settings.h"
#include "pdf/errors.h"
#include "pdf/form_fields.h"
#include "pdf/object_store.h"
#include "pdf/outline.h"
#include "pdf/security/security_handler.h"
#include "pdf/stream_reader.h"
#include "pdf/trailer.h"
#include "pdf/xref_entries.h"

namespace vs {

class TqxObjectLoader;

enum TqxPageMode : uint8_t { pmNone, pmUseOutlines, pmUseThumbs, pmFullScreen, pmUseAttachments };
enum TqxPageLayout : uint8_t { plNone, plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TqxMeasurementUnit : uint8_t { muPixels, muPoints, muInches, muMM, muTwips };

// An object the document needs (catalog, page) that the file does not hold.
class EPDFMissingObjectError : public EPDFException {
 public:
  explicit EPDFMissingObjectError(int32_t object_number)
      : EPDFException(FormatText("Required PDF object %d not found in the file", {IntToText(object_number)})) {}
};

// An object reached through Fetch...: one held by the store, or a copy owned
// by this result.
template <typename T>
class TqxFetched {
 public:
  TqxFetched() = default;
  explicit TqxFetched(T* held) : object_(held) {}
  explicit TqxFetched(TqxPDFObjectPtr owned) : owned_(std::move(owned)), object_(static_cast<T*>(owned_.get())) {}
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  bool Owned() const { return owned_ != nullptr; }

 private:
  TqxPDFObjectPtr owned_;
  T* object_ = nullptr;
};

class TqxCustomPDFDocument : public TqxComponent {
 public:
  using PasswordEvent = std::function<void(TqxCustomPDFDocument& sender, std::string& password, bool& continue_reading,
                                           int32_t tries)>;
  using TextEvent = std::function<void(TqxCustomPDFDocument& sender, const std::string& text)>;
  using ProgressEvent = std::function<void(TqxCustomPDFDocument& sender, int32_t percentage)>;
  using NotifyEvent = std::function<void(TqxCustomPDFDocument& sender)>;

  TqxCustomPDFDocument();
  ~TqxCustomPDFDocument() override;
  TqxCustomPDFDocument(const TqxCustomPDFDocument&) = delete;
  TqxCustomPDFDocument& operator=(const TqxCustomPDFDocument&) = delete;

  // Opens the file (".pdf" added when the name has no extension) and reads
  // it into memory; raises EFileNotFound for a missing file and the reader's
  // errors for a damaged one. Returns IsLoaded.
  bool LoadFromFile(const std::string& file_name);
  // The same for a file already held in memory.
  bool LoadFromMemory(std::string_view bytes);
  // The same over bytes already loaded (TqxFileBytes::Load), without a copy.
  bool LoadFromBytes(TqxSharedBytes bytes);
  // Empties the document: everything read is destroyed.
  void CloseDocument();
  // Tests a password against the security handler; on success the reader
  // decrypts everything read afterwards.
  bool Authenticate(const std::string& password);

  const std::string& Filename() const { return filename_; }
  void SetFilename(const std::string& name) { filename_ = name; }
  const std::string& WorkFileName() const { return work_file_name_; }
  bool IsLoaded() const { return loaded_; }
  bool IsEncrypted() const { return encrypted_; }
  TqxPDFVersion PDFVersion() const { return version_; }
  int32_t PageCount() const { return static_cast<int32_t>(pages_.size()); }
  TqxPageMode PageMode() const { return page_mode_; }
  TqxPageLayout PageLayout() const { return page_layout_; }
  TqxMeasurementUnit MeasurementUnit() const { return measurement_unit_; }
  void SetMeasurementUnit(TqxMeasurementUnit unit) { measurement_unit_ = unit; }
  TqxPDFEncryptionSettings& Encryption() { return *encryption_; }
  const TqxPDFEncryptionSettings& Encryption() const { return *encryption_; }
  TqxPDFViewerPreferences& ViewerPreferences() { return catalog_->viewer_preferences; }
  const TqxPDFInfo& Info() const { return *info_; }
  const TqxPDFCatalog& Catalog() const { return *catalog_; }
  const TqxPDFTrailer& Trailer() const { return *trailer_; }
  TqxPDFObjectStore& Store() { return *store_; }
  const TqxPDFObjectStore& Store() const { return *store_; }
  int32_t DocumentNumber() const { return document_number_; }
  // The decryptor of the accepted password, or nullptr.
  const TqxPDFDecrypt* Decryptor() const { return decryptor_.get(); }

  // Page n (1-based) as its indirect object; EInvalidPageError outside 1..PageCount.
  TqxPDFIndirectObject* Page(int32_t n) const;
  TqxPDFDictObject* PageDictionary(int32_t n) const;
  // The root outline item, or nullptr; OutlineCount counts every item read.
  TqxPDFOutline* Outlines() const { return outlines_.get(); }
  int32_t OutlineCount() const { return outline_count_; }
  // Name (without "/") -> destination array.
  const std::map<std::string, std::unique_ptr<TqxPDFArrayObject>>& NamedDestinations() const { return destinations_; }
  const std::vector<std::unique_ptr<TqxAcroFormField>>& FormFields() const { return fields_; }

  // /Rotate of page n, 0 when absent.
  int32_t GetPageRotation(int32_t n) const;
  // /MediaBox of page n in the unit.
  std::array<double, 4> GetPageBox(TqxMeasurementUnit unit, int32_t n) const;
  // Width and height of /CropBox (else /MediaBox) in the unit.
  void GetPageSize(int32_t n, TqxMeasurementUnit unit, double& width, double& height) const;
  // /CropBox of page n in points, or nothing.
  std::optional<std::array<double, 4>> GetCropBox(int32_t n) const;

  // Typed resolutions: nothing stays nothing, an object of the type is
  // returned as it is, a reference is followed (read from the file during
  // loading, stored when store is set), anything else raises
  // EPDFUnexpectedObjectError.
  TqxFetched<TqxPDFDictObject> FetchDict(TqxPDFObject* object, bool store);
  TqxFetched<TqxPDFArrayObject> FetchArray(TqxPDFObject* object, bool store);
  TqxFetched<TqxPDFStringObject> FetchString(TqxPDFObject* object);
  TqxFetched<TqxPDFNameObject> FetchName(TqxPDFObject* object);

  // Removes the pages of a range text ("1", "2-4, 7") from the page list.
  void DeletePages(std::string_view range);
  // Lowers the use counts of what only this page used.
  void ReleasePageObjects(TqxPDFIndirectObject* page);

  // Also reads files whose header says 1.7 or 2.0, which are refused by
  // default; their structure is what this reader handles, and an
  // encryption it does not know is still refused.
  bool AcceptAnyVersion = false;

  PasswordEvent OnPassword;
  TextEvent OnStatusMessage;
  TextEvent OnWarning;
  ProgressEvent OnIOProgress;
  NotifyEvent OnBeginRead;
  NotifyEvent OnEndRead;

 protected:
  // Destroys what was read; SetUpEmpty then gives a fresh empty state.
  virtual void ClearDocument();
  virtual void SetUpEmpty();

 private:
  bool Load(TqxSharedBytes bytes);
  void ReadDocument();
  void BuildDocument();
  void ReadNamedDestinations(TqxPDFDictObject& catalog);
  void ReadNameTreeDestinations(TqxPDFObject* node);
  void ReadForm(TqxPDFDictObject& catalog);
  void ReadFieldTree(TqxAcroFormField* parent, const std::string& parent_name, const std::string& inherited_da,
                     const TqxPDFDictObject* inherited_fonts, const TqxPDFIndirectReference& reference, int depth);
  void ReadInformation();
  // The value a page-tree node passes down to its pages: a copy, or for a
  // direct dictionary a reference to one stored copy.
  TqxPDFObjectPtr SharedInherited(const TqxPDFObject& value);
  void TraversePages(int32_t object_number, uint16_t generation, const TqxPDFDictObject& inherited, int depth);
  std::unique_ptr<TqxPDFOutline> ReadOutline(int32_t object_number, TqxPDFOutline* parent, int depth);
  void ResolveOutlineDestination(TqxPDFDictObject& dict, std::string_view key);
  // The destination listed under a string's content or a name's text.
  const TqxPDFArrayObject* FindDestination(const TqxPDFObject& name) const;
  // The stored indirect object number, or one read from the file.
  TqxPDFIndirectObject* StoredOrRead(int32_t object_number, uint16_t generation,
                                     std::unique_ptr<TqxPDFIndirectObject>& read);
  void Status(const std::string& text);
  void Progress(int32_t percentage);
  void Warning(const std::string& text);
  template <typename T>
  TqxFetched<T> Fetch(TqxPDFObject* object, bool store);
  const TqxPDFArrayObject* BoxOf(int32_t n, std::string_view key) const;

  std::string filename_;
  std::string work_file_name_;
  bool loaded_ = false;
  bool encrypted_ = false;
  TqxPDFVersion version_ = pvPDF14;
  TqxPageMode page_mode_ = pmNone;
  TqxPageLayout page_layout_ = plNone;
  TqxMeasurementUnit measurement_unit_ = muPoints;

  int32_t document_number_ = 0;
  std::unique_ptr<TqxPDFObjectStore> store_;
  TqxXRefEntries entries_;
  std::unique_ptr<TqxPDFTrailer> trailer_;
  std::unique_ptr<TqxPDFCatalog> catalog_;
  std::unique_ptr<TqxPDFInfo> info_;
  std::unique_ptr<TqxPDFEncryptionSettings> encryption_;
  // Shared with the stream bodies it decrypts where they are used.
  std::shared_ptr<TqxPDFDecrypt> decryptor_;
  TqxSecurityValues security_values_;
  std::vector<TqxPDFIndirectObject*> pages_;
  std::unique_ptr<TqxPDFOutline> outlines_;
  int32_t outline_count_ = 0;
  std::map<std::string, std::unique_ptr<TqxPDFArrayObject>> destinations_;
  std::vector<std::unique_ptr<TqxAcroFormField>> fields_;
  std::set<int32_t> visited_nodes_;  // page-tree, outline and field nodes met in this load

  // Alive only while the file is read.
  std::unique_ptr<TqxPDFStreamReader> reader_;
  std::unique_ptr<TqxObjectLoader> loader_;
};

// The document with the form-field list of the mark-up features; drawing
// mark-up text onto pages belongs to document writing, which this program
// does not have.
class TqxExPDFDocument : public TqxCustomPDFDocument {};

}  // namespace vs
