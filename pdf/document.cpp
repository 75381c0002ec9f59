#include "pdf/document.h"

#include <filesystem>

#include "pdf/object_loader.h"
#include "pdf/page_range.h"
#include "pdf/xref_reader.h"
#include "platform/numbers.h"
#include "platform/screen.h"

namespace vs {

TqxCustomPDFDocument::TqxCustomPDFDocument() { SetUpEmpty(); }

TqxCustomPDFDocument::~TqxCustomPDFDocument() = default;

void TqxCustomPDFDocument::ClearDocument() {
  loader_.reset();
  reader_.reset();
  outlines_.reset();
  outline_count_ = 0;
  destinations_.clear();
  fields_.clear();
  pages_.clear();
  visited_nodes_.clear();
  store_.reset();
  trailer_.reset();
  catalog_.reset();
  info_.reset();
  encryption_.reset();
  decryptor_.reset();
  entries_.Clear();
}

void TqxCustomPDFDocument::SetUpEmpty() {
  document_number_ = NextDocumentNumber();
  store_ = std::make_unique<TqxPDFObjectStore>();
  trailer_ = std::make_unique<TqxPDFTrailer>();
  catalog_ = std::make_unique<TqxPDFCatalog>();
  info_ = std::make_unique<TqxPDFInfo>();
  encryption_ = std::make_unique<TqxPDFEncryptionSettings>();
  encryption_->SetLevel(el40bit);
  security_values_ = TqxSecurityValues();
  version_ = pvPDF14;
  page_mode_ = pmNone;
  page_layout_ = plNone;
  loaded_ = false;
  encrypted_ = false;
}

void TqxCustomPDFDocument::CloseDocument() {
  ClearDocument();
  SetUpEmpty();
}

bool TqxCustomPDFDocument::LoadFromFile(const std::string& file_name) {
  CloseDocument();
  std::filesystem::path path(file_name);
  work_file_name_ = path.has_extension() ? file_name : file_name + ".pdf";
  std::error_code error;
  if (!std::filesystem::is_regular_file(work_file_name_, error)) throw EFileNotFound(work_file_name_);
  if (filename_.empty()) filename_ = work_file_name_;
  return Load(TqxFileBytes::Load(work_file_name_));
}

bool TqxCustomPDFDocument::LoadFromMemory(std::string_view bytes) {
  CloseDocument();
  return Load(TqxFileBytes::Copy(bytes));
}

bool TqxCustomPDFDocument::LoadFromBytes(TqxSharedBytes bytes) {
  CloseDocument();
  return Load(std::move(bytes));
}

bool TqxCustomPDFDocument::Load(TqxSharedBytes bytes) {
  // Stream bodies stay views into the bytes, which live as long as the
  // last of them.
  reader_ = std::make_unique<TqxPDFStreamReader>(document_number_, std::move(bytes));
  loader_ = std::make_unique<TqxObjectLoader>(*store_, entries_);
  loader_->SetReader(reader_.get());
  loader_->SetWarningHandler([this](const std::string& text) { Warning(text); });
  loader_->SetDestinationLookup([this](const TqxPDFObject& name) { return FindDestination(name); });
  // The file is read only during this call; whatever happens, the reader
  // goes with it.
  struct CloseFile {
    TqxCustomPDFDocument& document;
    ~CloseFile() {
      document.loader_.reset();
      document.reader_.reset();
    }
  } close_file{*this};

  version_ = reader_->ReadHeader(AcceptAnyVersion);
  TqxCrossReferenceReader xref(*reader_, *loader_, entries_, *trailer_, [this](const std::string& s) { Status(s); });
  xref.LoadCrossReference();
  encrypted_ = trailer_->Encrypted();
  if (!encrypted_) {
    ReadDocument();
    return loaded_;
  }

  // Refused up front: a handler we cannot open must not ask for passwords.
  const auto* encrypt = As<TqxPDFDictObject>(trailer_->encryption.get());
  if (!encrypt) throw EPDFFileCorruptedError();
  security_values_ = ReadSecurityValues(*encrypt, trailer_->file_identifier.get());
  CheckSecurityHandler(security_values_);
  auto unlock = [&](const std::string& password) {
    if (!Authenticate(password)) return false;
    // Object streams are expanded now that their bodies can be decrypted.
    xref.ExpandObjectStreams();
    ReadDocument();
    return true;
  };
  if (!OnPassword) {
    unlock("");
    return loaded_;
  }
  bool continue_reading = true;
  for (int32_t tries = 0; !decryptor_ && continue_reading; ++tries) {
    std::string password;
    OnPassword(*this, password, continue_reading, tries);
    if (!continue_reading) {
      CloseDocument();
      break;
    }
    if (unlock(password)) break;
  }
  return loaded_;
}

bool TqxCustomPDFDocument::Authenticate(const std::string& password) {
  auto decrypt = MakeDecrypt(security_values_);
  if (!AuthenticatePassword(*decrypt, password, *encryption_)) return false;
  decryptor_ = std::move(decrypt);
  if (reader_) reader_->SetDecryptor(std::shared_ptr<TqxDecryptor>(decryptor_));
  return true;
}

void TqxCustomPDFDocument::ReadDocument() {
  if (OnBeginRead) OnBeginRead(*this);
  BuildDocument();
  loaded_ = true;
  Status(FormatText("Document read complete. Pages read = %d", {IntToText(PageCount())}));
  if (OnEndRead) OnEndRead(*this);
}

void TqxCustomPDFDocument::Status(const std::string& text) {
  if (OnStatusMessage) OnStatusMessage(*this, text);
}

void TqxCustomPDFDocument::Progress(int32_t percentage) {
  if (OnIOProgress) OnIOProgress(*this, percentage);
}

void TqxCustomPDFDocument::Warning(const std::string& text) {
  if (OnWarning) OnWarning(*this, text);
}

TqxPDFIndirectObject* TqxCustomPDFDocument::StoredOrRead(int32_t object_number, uint16_t generation,
                                                         std::unique_ptr<TqxPDFIndirectObject>& read) {
  TqxPDFIndirectReference reference(document_number_, generation, object_number);
  if (TqxPDFIndirectObject* stored = store_->Find(&reference)) return stored;
  // Another generation of the same number is the object the file holds.
  for (int32_t g : {0, static_cast<int32_t>(generation)}) {
    if (int32_t index = store_->IndexOf(document_number_, object_number, g); index >= 0) return store_->Item(index);
  }
  if (loader_) read = loader_->ReadObjectAt(object_number);
  return read.get();
}

template <typename T>
TqxFetched<T> TqxCustomPDFDocument::Fetch(TqxPDFObject* object, bool store) {
  if (!object) return {};
  if (object->ObjectType() == T::kType) return TqxFetched<T>(static_cast<T*>(object));
  const auto* reference = As<TqxPDFIndirectReference>(object);
  if (!reference) throw EPDFUnexpectedObjectError();
  std::unique_ptr<TqxPDFIndirectObject> read;
  TqxPDFIndirectObject* target = StoredOrRead(reference->ObjectNumber(), reference->Generation(), read);
  if (!target) return {};
  TqxPDFObject* value = target->Value();
  // A reference to a reference is followed once more, no further.
  if (const auto* inner = As<TqxPDFIndirectReference>(value); inner && !read) {
    TqxPDFIndirectObject* next = store_->Find(inner);
    value = next ? next->Value() : nullptr;
  }
  if (!value) return {};
  if (value->ObjectType() != T::kType) throw EPDFUnexpectedObjectError();
  if (!read) return TqxFetched<T>(static_cast<T*>(value));
  read->AddUse();
  if (store) {
    T* kept = static_cast<T*>(value);
    store_->Add(std::move(read));
    return TqxFetched<T>(kept);
  }
  return TqxFetched<T>(read->ReleaseValue());
}

TqxFetched<TqxPDFDictObject> TqxCustomPDFDocument::FetchDict(TqxPDFObject* object, bool store) {
  return Fetch<TqxPDFDictObject>(object, store);
}

TqxFetched<TqxPDFArrayObject> TqxCustomPDFDocument::FetchArray(TqxPDFObject* object, bool store) {
  return Fetch<TqxPDFArrayObject>(object, store);
}

TqxFetched<TqxPDFStringObject> TqxCustomPDFDocument::FetchString(TqxPDFObject* object) {
  auto found = Fetch<TqxPDFStringObject>(object, false);
  if (found && !found.Owned() && object->ObjectType() == otIndirectReference)
    return TqxFetched<TqxPDFStringObject>(found->Clone());
  return found;
}

TqxFetched<TqxPDFNameObject> TqxCustomPDFDocument::FetchName(TqxPDFObject* object) {
  auto found = Fetch<TqxPDFNameObject>(object, false);
  if (found && !found.Owned() && object->ObjectType() == otIndirectReference)
    return TqxFetched<TqxPDFNameObject>(found->Clone());
  return found;
}

TqxPDFIndirectObject* TqxCustomPDFDocument::Page(int32_t n) const {
  if (n < 1 || n > PageCount()) throw EInvalidPageError(n);
  return pages_[n - 1];
}

TqxPDFDictObject* TqxCustomPDFDocument::PageDictionary(int32_t n) const {
  return As<TqxPDFDictObject>(Page(n)->Value());
}

int32_t TqxCustomPDFDocument::GetPageRotation(int32_t n) const {
  const TqxPDFDictObject* page = PageDictionary(n);
  const auto* rotate = page ? store_->ResolveInteger(page->Lookup("/Rotate")) : nullptr;
  return rotate ? rotate->Value() : 0;
}

namespace {

double ToUnit(double points, TqxMeasurementUnit unit) {
  switch (unit) {
    case muPixels: return points * kScreenPixelsPerInch / 72.0;
    case muInches: return points / 72.0;
    case muMM: return points / 2.83464;
    case muTwips: return points / 0.05;
    case muPoints: break;
  }
  return points;
}

std::array<double, 4> BoxNumbers(const TqxPDFArrayObject* box, const TqxPDFObjectStore& store) {
  std::array<double, 4> numbers{};
  for (int32_t i = 0; i < 4; ++i) {
    const TqxPDFObject* item = box ? store.Resolve(box->Item(i)) : nullptr;
    if (const auto* integer = As<TqxPDFIntegerObject>(item))
      numbers[i] = integer->Value();
    else if (const auto* real = As<TqxPDFRealObject>(item))
      numbers[i] = real->Value();
    else
      throw EPDFUnexpectedObjectError();
  }
  return numbers;
}

}  // namespace

const TqxPDFArrayObject* TqxCustomPDFDocument::BoxOf(int32_t n, std::string_view key) const {
  const TqxPDFDictObject* page = PageDictionary(n);
  return page ? As<TqxPDFArrayObject>(store_->Resolve(page->Lookup(key))) : nullptr;
}

std::array<double, 4> TqxCustomPDFDocument::GetPageBox(TqxMeasurementUnit unit, int32_t n) const {
  std::array<double, 4> box = BoxNumbers(BoxOf(n, "/MediaBox"), *store_);
  for (double& value : box) value = ToUnit(value, unit);
  return box;
}

std::optional<std::array<double, 4>> TqxCustomPDFDocument::GetCropBox(int32_t n) const {
  const TqxPDFArrayObject* crop = BoxOf(n, "/CropBox");
  if (!crop) return std::nullopt;
  return BoxNumbers(crop, *store_);
}

void TqxCustomPDFDocument::GetPageSize(int32_t n, TqxMeasurementUnit unit, double& width, double& height) const {
  const TqxPDFArrayObject* box = BoxOf(n, "/CropBox");
  if (!box) box = BoxOf(n, "/MediaBox");
  std::array<double, 4> numbers = BoxNumbers(box, *store_);
  width = ToUnit(numbers[2] - numbers[0], unit);
  height = ToUnit(numbers[3] - numbers[1], unit);
}

void TqxCustomPDFDocument::DeletePages(std::string_view range) {
  std::vector<int32_t> numbers = ParsePageRange(range, PageCount());
  for (int32_t n : numbers) {
    TqxPDFIndirectObject*& slot = pages_[n - 1];
    if (!slot) continue;  // listed twice: released once
    slot->SetUseCount(1);
    ReleasePageObjects(slot);
    slot = nullptr;
  }
  std::erase(pages_, nullptr);
  if (catalog_->metadata) {
    if (TqxPDFIndirectObject* metadata = store_->Find(catalog_->metadata.get())) {
      if (auto* stream = As<TqxPDFStreamObject>(metadata->Value()); stream && stream->Data()) {
        std::string text(stream->Data()->View());
        auto replace_number_after = [&text](std::string_view marker, std::string_view skip, const std::string& value) {
          size_t at = text.find(marker);
          if (at == std::string::npos) return;
          at += marker.size();
          while (at < text.size() && skip.find(text[at]) != std::string_view::npos) ++at;
          size_t end = at;
          while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
          if (end > at) text.replace(at, end - at, value);
        };
        replace_number_after("NPages", ">=\"' ", IntToText(PageCount()));
        // The length goes in last, so that it counts the text as written.
        replace_number_after("bytes='", "", IntToText(static_cast<int64_t>(text.size())));
        replace_number_after("bytes='", "", IntToText(static_cast<int64_t>(text.size())));
        auto data = std::make_unique<TMemoryStream>(text);
        stream->Dictionary()->SetInteger("/Length", static_cast<int32_t>(text.size()));
        stream->SetData(std::move(data));
      }
    }
  }
  Status(FormatText("%d pages deleted", {IntToText(static_cast<int64_t>(numbers.size()))}));
}

void TqxCustomPDFDocument::ReleasePageObjects(TqxPDFIndirectObject* page) {
  // Iterative: every object whose count drops to 0 is walked in turn.
  std::vector<TqxPDFObject*> work;
  if (page->UseCount() > 0) page->ReleaseUse();
  work.push_back(page->Value());
  while (!work.empty()) {
    TqxPDFObject* object = work.back();
    work.pop_back();
    switch (object ? object->ObjectType() : otNull) {
      case otIndirectReference: {
        TqxPDFIndirectObject* target = store_->Find(object);
        if (!target || target->UseCount() <= 0) break;
        target->ReleaseUse();
        const auto* dict = As<TqxPDFDictObject>(target->Value());
        const auto* type = dict ? As<TqxPDFNameObject>(dict->Lookup("/Type")) : nullptr;
        if (target->UseCount() == 0 && !(type && type->Text() == "/Page")) work.push_back(target->Value());
        break;
      }
      case otArray: {
        auto* array = static_cast<TqxPDFArrayObject*>(object);
        for (int32_t i = 0; i < array->Count(); ++i) work.push_back(array->Item(i));
        break;
      }
      case otDictionary: {
        auto* dict = static_cast<TqxPDFDictObject*>(object);
        for (int32_t i = 0; i < dict->Count(); ++i) work.push_back(dict->ValueAt(i));
        break;
      }
      case otStream:
        work.push_back(static_cast<TqxPDFStreamObject*>(object)->Dictionary());
        break;
      default:
        break;
    }
  }
}

}  // namespace vs
