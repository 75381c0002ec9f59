// Reading the catalog, the page tree, named destinations and the
// information dictionary of a document being opened.
#include "pdf/document.h"
#include "pdf/object_loader.h"
#include "pdf/string_escapes.h"

namespace vs {

namespace {

// Deeper page trees, outlines and field trees than this are damaged files.
constexpr int kMaxTreeDepth = 256;

template <size_t N>
uint8_t IndexOfName(const TqxPDFObject* value, const char* const (&names)[N]) {
  const auto* name = As<TqxPDFNameObject>(value);
  for (size_t i = 0; name && i < N; ++i)
    if (name->Text() == names[i]) return static_cast<uint8_t>(i);
  return 0;  // absent or not in the list: the first value
}

const char* const kPageModes[] = {"/UseNone", "/UseOutlines", "/UseThumbs", "/FullScreen", "/UseAttachments"};
const char* const kPageLayouts[] = {"/None", "/SinglePage", "/OneColumn", "/TwoColumnLeft", "/TwoColumnRight"};

}  // namespace

const TqxPDFArrayObject* TqxCustomPDFDocument::FindDestination(const TqxPDFObject& name) const {
  std::string key;
  if (const auto* string = As<TqxPDFStringObject>(&name))
    key = string->IsHex() ? HexTextToBytes(string->Content()) : string->Content();
  else if (const auto* pdf_name = As<TqxPDFNameObject>(&name))
    key = pdf_name->NameWithoutSlash();
  auto it = destinations_.find(key);
  return it == destinations_.end() ? nullptr : it->second.get();
}

void TqxCustomPDFDocument::BuildDocument() {
  const int32_t root = trailer_->root_number;
  std::unique_ptr<TqxPDFIndirectObject> read;
  TqxPDFIndirectObject* catalog_object = root > 0 ? StoredOrRead(root, 0, read) : nullptr;
  if (!catalog_object) throw EPDFMissingObjectError(root);
  auto* catalog = As<TqxPDFDictObject>(catalog_object->Value());
  if (!catalog) throw EPDFUnexpectedObjectError();

  ReadInformation();
  page_mode_ = static_cast<TqxPageMode>(IndexOfName(catalog->Lookup("/PageMode"), kPageModes));
  page_layout_ = static_cast<TqxPageLayout>(IndexOfName(catalog->Lookup("/PageLayout"), kPageLayouts));
  if (auto preferences = FetchDict(catalog->Lookup("/ViewerPreferences"), false))
    catalog_->viewer_preferences.Assign(*preferences.get());
  if (TqxPDFObject* metadata = catalog->Lookup("/Metadata")) {
    loader_->Walk(metadata);
    if (const auto* reference = As<TqxPDFIndirectReference>(metadata))
      catalog_->metadata.reset(static_cast<TqxPDFIndirectReference*>(reference->Clone().release()));
  }

  Progress(10);
  Status("Traversing Pages...");
  const auto* pages = As<TqxPDFIndirectReference>(catalog->Lookup("/Pages"));
  if (!pages) throw EPDFUnexpectedObjectError();
  TqxPDFDictObject no_inherited;
  TraversePages(pages->ObjectNumber(), pages->Generation(), no_inherited, 0);
  Progress(75);

  ReadNamedDestinations(*catalog);

  Progress(30);
  Status("Processing Annotations...");
  for (TqxPDFIndirectObject* page : pages_) {
    if (auto* dict = As<TqxPDFDictObject>(page->Value())) loader_->Walk(dict->Lookup("/Annots"));
    Status("Processing Annotations...");
  }

  Progress(90);
  ReadForm(*catalog);

  if (TqxPDFObject* open_action = catalog->Lookup("/OpenAction")) {
    loader_->Walk(open_action);
    catalog_->open_action = open_action->Clone();
  }
  if (TqxPDFObject* actions = catalog->Lookup("/AA")) {
    loader_->Walk(actions);
    catalog_->additional_actions = actions->Clone();
  }

  if (TqxPDFObject* names = catalog->Lookup("/Names")) {
    Status("Processing Name Tree...");
    auto names_dict = FetchDict(names, true);
    if (names_dict) {
      catalog_->names = names_dict->Clone();
      ReadNameTreeDestinations(names_dict->Lookup("/Dests"));
    }
    loader_->Walk(names);
  }

  Progress(60);
  Status("Reading Outlines...");
  if (const auto* outlines = As<TqxPDFIndirectReference>(catalog->Lookup("/Outlines"))) {
    visited_nodes_.clear();
    outlines_ = ReadOutline(outlines->ObjectNumber(), nullptr, 0);
  }
  Progress(100);
}

void TqxCustomPDFDocument::ReadInformation() {
  if (!trailer_->information) return;
  TqxPDFIndirectObject* info = loader_->LoadReference(*trailer_->information);
  if (!info) return;
  loader_->Walk(info->Value());
  if (const auto* dict = As<TqxPDFDictObject>(info->Value())) info_->Assign(*dict);
}

void TqxCustomPDFDocument::TraversePages(int32_t object_number, uint16_t generation,
                                         const TqxPDFDictObject& inherited, int depth) {
  // A node met before (a kid that is its own ancestor, or a node listed
  // twice) is cut, so that a looping tree ends.
  if (depth > kMaxTreeDepth) throw EPDFFileCorruptedError();
  if (!visited_nodes_.insert(object_number).second) {
    Warning(FormatText("Page tree node %d met twice; it is skipped", {IntToText(object_number)}));
    return;
  }
  std::unique_ptr<TqxPDFIndirectObject> read;
  TqxPDFIndirectObject* node = StoredOrRead(object_number, generation, read);
  if (!node) throw EPDFMissingObjectError(object_number);
  auto* dict = As<TqxPDFDictObject>(node->Value());
  const auto* type = dict ? As<TqxPDFNameObject>(dict->Lookup("/Type")) : nullptr;
  if (!type) throw EUnexpectedError();

  if (type->Text() == "/Pages") {
    auto kids = FetchArray(dict->Lookup("/Kids"), false);
    auto passed_on = std::unique_ptr<TqxPDFDictObject>(static_cast<TqxPDFDictObject*>(inherited.Clone().release()));
    for (const char* key : {"/Rotate", "/MediaBox", "/Resources", "/CropBox"})
      if (const TqxPDFObject* value = dict->Lookup(key)) passed_on->SetValue(key, SharedInherited(*value));
    for (int32_t i = 0; kids && i < kids->Count(); ++i) {
      const auto* kid = As<TqxPDFIndirectReference>(kids->Item(i));
      if (!kid) throw EUnexpectedError();
      TraversePages(kid->ObjectNumber(), kid->Generation(), *passed_on, depth + 1);
      Status("Traversing Pages...");
    }
    return;
  }
  if (type->Text() != "/Page") throw EUnexpectedError();

  if (read) {
    read->AddUse();
    node = store_->Add(std::move(read));
    dict = As<TqxPDFDictObject>(node->Value());
  } else {
    node->AddUse();
  }
  dict->Delete("/Parent");
  dict->Delete("/B");
  for (int32_t i = 0; i < inherited.Count(); ++i)
    if (dict->IndexOf(inherited.KeyAt(i)->Text()) < 0) dict->AddObject(inherited.KeyAt(i)->Text(), inherited.ValueAt(i)->Clone());
  for (int32_t i = 0; i < dict->Count(); ++i) {
    const std::string& key = dict->KeyAt(i)->Text();
    if (key == "/Annots" || key == "/B") continue;
    loader_->Walk(dict->ValueAt(i));
    Status("Traversing Pages...");
  }
  pages_.push_back(node);
}

TqxPDFObjectPtr TqxCustomPDFDocument::SharedInherited(const TqxPDFObject& value) {
  // A direct dictionary (resources, mostly) would be copied into every page
  // below; it is stored once under a new object number instead, and the
  // pages get a reference to it.
  if (value.ObjectType() != otDictionary || store_->Counter() >= INT32_MAX - 1 ||
      MakeObjectKey(document_number_, store_->Counter() + 1, 0) < 0)
    return value.Clone();
  const int32_t number = store_->NextObjectNumber();
  TqxPDFIndirectObject* shared =
      store_->Add(std::make_unique<TqxPDFIndirectObject>(document_number_, value.Clone(), 0, number));
  loader_->Walk(shared->Value());
  return std::make_unique<TqxPDFIndirectReference>(document_number_, 0, number);
}

void TqxCustomPDFDocument::ReadNamedDestinations(TqxPDFDictObject& catalog) {
  TqxPDFObject* dests = catalog.Lookup("/Dests");
  if (!dests) return;
  Status("Processing Destinations");
  auto dict = FetchDict(dests, false);
  for (int32_t i = 0; dict && i < dict->Count(); ++i) {
    TqxPDFObject* value = dict->ValueAt(i);
    std::unique_ptr<TqxPDFIndirectObject> read;
    if (const auto* reference = As<TqxPDFIndirectReference>(value)) {
      TqxPDFIndirectObject* target = StoredOrRead(reference->ObjectNumber(), reference->Generation(), read);
      value = target ? target->Value() : nullptr;
    }
    const TqxPDFArrayObject* array = As<TqxPDFArrayObject>(value);
    if (const auto* entry = As<TqxPDFDictObject>(value))
      array = As<TqxPDFArrayObject>(store_->Resolve(entry->Lookup("/D")));
    else if (!array)
      throw EUnexpectedError(kMsgUnexpectedObject);
    if (array)
      destinations_[dict->KeyAt(i)->NameWithoutSlash()].reset(static_cast<TqxPDFArrayObject*>(array->Clone().release()));
  }
}

void TqxCustomPDFDocument::ReadNameTreeDestinations(TqxPDFObject* root) {
  // Iterative over /Kids with every node visited once, so a looping tree ends.
  std::vector<TqxPDFObject*> nodes{root};
  std::set<TqxPDFObject*> seen;
  std::vector<TqxFetched<TqxPDFDictObject>> keep;
  while (!nodes.empty()) {
    TqxPDFObject* next = nodes.back();
    nodes.pop_back();
    auto node = FetchDict(next, true);
    if (!node || !seen.insert(node.get()).second) continue;
    TqxPDFDictObject* dict = node.get();
    keep.push_back(std::move(node));
    if (auto kids = FetchArray(dict->Lookup("/Kids"), true))
      for (int32_t i = 0; i < kids->Count(); ++i) nodes.push_back(kids->Item(i));
    auto names = FetchArray(dict->Lookup("/Names"), true);
    for (int32_t i = 0; names && i + 1 < names->Count(); i += 2) {
      auto key = FetchString(names->Item(i));
      if (!key) continue;
      std::string name = key->IsHex() ? HexTextToBytes(key->Content()) : key->Content();
      TqxPDFObject* value = names->Item(i + 1);
      const TqxPDFArrayObject* array = nullptr;
      if (const auto* reference = As<TqxPDFIndirectReference>(value)) {
        std::unique_ptr<TqxPDFIndirectObject> read;
        TqxPDFIndirectObject* target = StoredOrRead(reference->ObjectNumber(), reference->Generation(), read);
        if (target && target->Value()) {
          if (read) target = store_->Add(std::move(read));
          value = target->Value();
        } else {
          value = nullptr;
        }
      }
      if (const auto* dest_dict = As<TqxPDFDictObject>(value))
        array = As<TqxPDFArrayObject>(store_->Resolve(dest_dict->Lookup("/D")));
      else
        array = As<TqxPDFArrayObject>(value);
      destinations_[name].reset(array ? static_cast<TqxPDFArrayObject*>(array->Clone().release()) : nullptr);
    }
  }
}

}  // namespace vs
