// Reading the interactive form's field tree of a document being opened.
#include <algorithm>

#include "pdf/document.h"
#include "pdf/filters/filters.h"
#include "pdf/object_loader.h"
#include "platform/codepage.h"

namespace vs {

namespace {

constexpr int kMaxFieldDepth = 256;

// The state names of /AP /N, without "/".
std::vector<std::string> AppearanceStates(const TqxPDFDictObject& node, const TqxPDFObjectStore& store) {
  std::vector<std::string> states;
  const auto* ap = As<TqxPDFDictObject>(store.Resolve(node.Lookup("/AP")));
  const auto* normal = ap ? As<TqxPDFDictObject>(store.Resolve(ap->Lookup("/N"))) : nullptr;
  for (int32_t i = 0; normal && i < normal->Count(); ++i) states.push_back(normal->KeyAt(i)->NameWithoutSlash());
  return states;
}

void AddOnce(std::vector<std::string>& list, const std::string& name) {
  if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

int32_t IntegerOf(const TqxPDFObjectStore& store, const TqxPDFObject* value) {
  const auto* integer = As<TqxPDFIntegerObject>(store.Resolve(const_cast<TqxPDFObject*>(value)));
  return integer ? integer->Value() : 0;
}

std::string TextOf(const TqxPDFObject* value) {
  if (const auto* name = As<TqxPDFNameObject>(value)) return name->NameWithoutSlash();
  if (const auto* string = As<TqxPDFStringObject>(value)) return string->Content();
  return std::string();
}

}  // namespace

void TqxCustomPDFDocument::ReadForm(TqxPDFDictObject& catalog) {
  TqxPDFObject* form = catalog.Lookup("/AcroForm");
  if (!form) return;
  auto dict = FetchDict(form, true);
  if (!dict) return;
  catalog_->acro_form = dict->Clone();
  for (const char* key : {"/NeedAppearances", "/SigFlags", "/CO", "/DR", "/DA", "/Q", "/XFA"})
    loader_->Walk(dict->Lookup(key));
  auto da = FetchString(dict->Lookup("/DA"));
  auto resources = FetchDict(dict->Lookup("/DR"), true);
  TqxFetched<TqxPDFDictObject> fonts;
  if (resources) fonts = FetchDict(resources->Lookup("/Font"), true);
  auto fields = FetchArray(dict->Lookup("/Fields"), true);
  visited_nodes_.clear();
  for (int32_t i = 0; fields && i < fields->Count(); ++i) {
    const auto* field = As<TqxPDFIndirectReference>(fields->Item(i));
    if (!field) throw EUnexpectedError();
    ReadFieldTree(nullptr, "", da ? da->Content() : "", fonts.get(), *field, 0);
  }
  Status("AcroForms Processed");
}

void TqxCustomPDFDocument::ReadFieldTree(TqxAcroFormField* parent, const std::string& parent_name,
                                         const std::string& inherited_da, const TqxPDFDictObject* inherited_fonts,
                                         const TqxPDFIndirectReference& reference, int depth) {
  if (depth > kMaxFieldDepth) throw EPDFFileCorruptedError();
  if (!visited_nodes_.insert(reference.ObjectNumber()).second) return;  // a field tree that loops
  TqxPDFIndirectObject* object = loader_->LoadReference(reference);
  auto* node = object ? As<TqxPDFDictObject>(object->Value()) : nullptr;
  if (!node) return;

  if (parent) {
    const bool keep_off = !(parent->flags & 0x4000);
    for (const std::string& state : AppearanceStates(*node, *store_))
      if (keep_off || state != "Off") AddOnce(parent->states, state);
    if (parent->value.empty()) parent->value = TextOf(store_->Resolve(node->Lookup("/V")));
    if (const auto* f = As<TqxPDFIntegerObject>(node->Lookup("/F"))) parent->annotation_flags = f->Value();
  }
  const std::string default_value = TextOf(store_->Resolve(node->Lookup("/DV")));
  auto own_da = FetchString(node->Lookup("/DA"));
  const std::string da = own_da ? own_da->Content() : inherited_da;
  auto fonts = inherited_fonts ? std::unique_ptr<TqxPDFDictObject>(static_cast<TqxPDFDictObject*>(inherited_fonts->Clone().release()))
                               : std::make_unique<TqxPDFDictObject>();
  if (auto resources = FetchDict(node->Lookup("/DR"), true))
    if (auto own_fonts = FetchDict(resources->Lookup("/Font"), true)) fonts->Merge(*own_fonts);
  std::unique_ptr<TqxFontInfo> font = ParseDefaultAppearance(da, fonts.get(), *store_);
  if (parent && font) parent->font = font->Copy();

  const int32_t flags = IntegerOf(*store_, node->Lookup("/Ff"));
  std::string full_name = parent_name;
  auto partial = FetchString(node->Lookup("/T"));
  if (partial) {
    std::string name = partial->IsHex() ? WideToAnsi(partial->WideContent()) : partial->Content();
    full_name = parent_name.empty() ? name : parent_name + "." + name;
  }
  TqxAcroFormField* record = nullptr;
  auto field_type = FetchName(node->Lookup("/FT"));
  if (partial && field_type) {
    auto field = std::make_unique<TqxAcroFormField>();
    field->store = store_.get();
    field->object = object;
    field->full_name = full_name;
    const std::string& ft = field_type->Text();
    if (ft == "/Btn")
      field->kind = (flags & 0x10000) ? fkPushButton : (flags & 0x8000) ? fkRadioButton : fkCheckBox;
    else if (ft == "/Tx")
      field->kind = fkText;
    else if (ft == "/Sig")
      field->kind = fkSignature;
    else
      field->kind = fkChoice;
    field->flags = flags;
    field->default_value = default_value;
    field->annotation_flags = IntegerOf(*store_, node->Lookup("/F"));
    field->read_only = flags & 1;
    field->multiline = flags & 0x1000;
    field->max_length = IntegerOf(*store_, node->Lookup("/MaxLen"));
    field->quadding = static_cast<uint8_t>(IntegerOf(*store_, node->Lookup("/Q")));
    TqxPDFObject* value = store_->Resolve(node->Lookup("/V"));
    if (auto* stream = As<TqxPDFStreamObject>(value); stream && stream->Data()) {
      try {
        stream->Data()->SetPosition(0);
        field->value = std::string(DecodeStreamData(*stream->Data(), store_->Resolve(stream->Dictionary()->Lookup("/Filter")))->View());
      } catch (const Exception&) {
      }
    } else {
      field->value = TextOf(value);
    }
    if (field->kind == fkCheckBox) field->states.push_back("Off");
    for (const std::string& state : AppearanceStates(*node, *store_)) AddOnce(field->states, state);
    if (field->kind == fkChoice) {
      field->states.clear();
      auto options = FetchArray(node->Lookup("/Opt"), true);
      for (int32_t i = 0; options && i < options->Count(); ++i) {
        TqxPDFObject* option = store_->Resolve(options->Item(i));
        if (const auto* pair = As<TqxPDFArrayObject>(option)) option = store_->Resolve(pair->Item(0));
        if (const auto* text = As<TqxPDFStringObject>(option)) field->states.push_back(text->Content());
      }
    }
    if (font) field->font = font->Copy();
    record = field.get();
    fields_.push_back(std::move(field));
  }

  loader_->Walk(node);
  auto kids = FetchArray(node->Lookup("/Kids"), true);
  for (int32_t i = 0; kids && i < kids->Count(); ++i) {
    if (const auto* kid = As<TqxPDFIndirectReference>(kids->Item(i)))
      ReadFieldTree(record, full_name, da, fonts.get(), *kid, depth + 1);
  }
}

}  // namespace vs
