// Reading the outline tree of a document being opened.
#include "pdf/document.h"
#include "pdf/object_loader.h"

namespace vs {

namespace {
constexpr int kMaxOutlineDepth = 256;
}

void TqxCustomPDFDocument::ResolveOutlineDestination(TqxPDFDictObject& dict, std::string_view key) {
  TqxPDFObject* value = dict.Lookup(key);
  if (!value || value->ObjectType() == otArray) return;
  TqxPDFObjectPtr target;
  if (const auto* reference = As<TqxPDFIndirectReference>(value)) {
    std::unique_ptr<TqxPDFIndirectObject> read;
    TqxPDFIndirectObject* object = StoredOrRead(reference->ObjectNumber(), reference->Generation(), read);
    if (!object || !object->Value()) return;
    target = object->Value()->Clone();
    value = target.get();
  }
  const TqxPDFObject* found = nullptr;
  if (value->ObjectType() == otString || value->ObjectType() == otName)
    found = FindDestination(*value);
  else if (value->ObjectType() == otArray)
    found = value;
  else
    throw EUnexpectedError();
  dict.SetValue(key, (found ? found : value)->Clone());
}

std::unique_ptr<TqxPDFOutline> TqxCustomPDFDocument::ReadOutline(int32_t object_number, TqxPDFOutline* parent,
                                                                 int depth) {
  // Siblings are read in a loop and children one level deeper; an item met
  // twice (a looping /Next or /First) ends its chain.
  if (depth > kMaxOutlineDepth) throw EPDFFileCorruptedError();
  std::unique_ptr<TqxPDFOutline> first;
  TqxPDFOutline* previous = nullptr;
  while (object_number > 0 && visited_nodes_.insert(object_number).second) {
    std::unique_ptr<TqxPDFIndirectObject> read;
    TqxPDFIndirectObject* object = StoredOrRead(object_number, 0, read);
    if (!object) break;
    object->AddUse();
    auto item = std::make_unique<TqxPDFOutline>(this, document_number_,
                                                object->Value() ? object->Value()->Clone() : nullptr,
                                                object->Generation(), object_number);
    ++outline_count_;
    int32_t next = 0, first_child = 0;
    if (auto* dict = As<TqxPDFDictObject>(item->Value())) {
      if (const auto* count = As<TqxPDFIntegerObject>(dict->Lookup("/Count"))) item->SetClosed(count->Value() < 0);
      if (TqxPDFObject* title = dict->Lookup("/Title"); title && title->ObjectType() != otString) {
        if (title->ObjectType() != otIndirectReference) throw EPDFUnexpectedObjectError();
        auto text = FetchString(title);
        dict->SetValue("/Title", text ? text->Clone() : std::make_unique<TqxPDFStringObject>("()"));
      }
      ResolveOutlineDestination(*dict, "/Dest");
      if (TqxPDFObject* action = dict->Lookup("/A")) {
        if (action->ObjectType() == otIndirectReference) {
          auto target = FetchDict(action, false);
          if (!target) throw EUnexpectedError();
          dict->SetValue("/A", target->Clone());
        } else if (action->ObjectType() != otDictionary) {
          throw EUnexpectedError();
        }
        auto* action_dict = As<TqxPDFDictObject>(dict->Lookup("/A"));
        ResolveOutlineDestination(*action_dict, "/D");
        loader_->Walk(action_dict->Lookup("/URI"));
        loader_->Walk(action_dict->Lookup("/JavaScript"));
        const auto* kind = As<TqxPDFNameObject>(action_dict->Lookup("/S"));
        const std::string s = kind ? kind->Text() : "";
        if (s == "/GoToR" || s == "/Launch") loader_->Walk(action_dict->Lookup("/F"));
        if (s == "/GoToR" || s == "/GoTo") loader_->Walk(action_dict->Lookup("/D"));
      }
      for (const char* key : {"/Parent", "/Prev", "/Count", "/Last"}) dict->Delete(key);
      if (const auto* child = As<TqxPDFIndirectReference>(dict->Lookup("/First"))) first_child = child->ObjectNumber();
      if (const auto* sibling = As<TqxPDFIndirectReference>(dict->Lookup("/Next"))) next = sibling->ObjectNumber();
      dict->Delete("/First");
      dict->Delete("/Next");
      if (dict->Count() == 0) item->SetValue(nullptr);
    }
    item->SetParent(parent);
    item->SetPrevious(previous);
    if (first_child > 0) item->SetFirstChild(ReadOutline(first_child, item.get(), depth + 1));
    TqxPDFOutline* added = item.get();
    if (previous)
      previous->SetNext(std::move(item));
    else
      first = std::move(item);
    previous = added;
    object_number = next;
  }
  return first;
}

}  // namespace vs
