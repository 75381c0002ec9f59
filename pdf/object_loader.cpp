#include "pdf/object_loader.h"

#include <algorithm>

#include "pdf/errors.h"
#include "pdf/stream_reader.h"
#include "platform/numbers.h"

namespace vs {

namespace {

// A resolved copy serves small dictionaries (the encryption dictionary);
// these bounds stop shared references from multiplying it without end.
constexpr int kMaxCopyDepth = 64;
constexpr int kMaxCopyNodes = 100000;
// Each object read is nested no deeper than the reader allows, but a copy
// joins the objects along its references; the joined nesting is bounded
// the same way.
constexpr int kMaxCopyNesting = TqxPDFStreamReader::kMaxNesting;
// A /Length is an integer object; a longer chain of streams whose lengths
// are other streams is a damaged file and is cut here.
constexpr int kMaxNestedReads = 32;

bool IsXRefStream(const TqxPDFStreamObject& stream) {
  const auto* type = As<TqxPDFNameObject>(stream.Dictionary()->Lookup("/Type"));
  return type && type->Text() == "/XRef";
}

}  // namespace

std::unique_ptr<TqxPDFIndirectObject> TqxObjectLoader::ReadIndirectObject() {
  if (reader_->Position() == 0) return nullptr;
  struct Nesting {
    int& depth;
    ~Nesting() { --depth; }
  } nesting{++reading_depth_};
  if (reading_depth_ > kMaxNestedReads) throw EPDFFileCorruptedError();
  TqxPDFObjectPtr object = reader_->ReadObject();
  if (!As<TqxPDFIndirectObject>(object.get())) throw EPDFFileCorruptedError();
  std::unique_ptr<TqxPDFIndirectObject> indirect(static_cast<TqxPDFIndirectObject*>(object.release()));
  auto* stream = As<TqxPDFStreamObject>(indirect->Value());
  if (!stream) return indirect;

  const int64_t body = reader_->Position();
  const int32_t number = indirect->ObjectNumber(), generation = indirect->Generation();
  try {
    // The length is needed now; the rest of the dictionary may wait for
    // the walk that is running.
    if (const auto* length = As<TqxPDFIndirectReference>(stream->Dictionary()->Lookup("/Length")))
      LoadReference(*length);
    if (!IsXRefStream(*stream)) Walk(stream->Dictionary());
    reader_->SetPosition(body);
    const TqxPDFIntegerObject* length = store_.ResolveInteger(stream->Dictionary()->Lookup("/Length"));
    if (!length) throw EStreamReadError();
    reader_->ReadStreamBody(*stream, length->Value(), number, generation);
  } catch (const Exception&) {
    // A wrong /Length: some writers put the true length of a font program
    // under /Length1, so that is tried before giving up on the body.
    reader_->SetPosition(body);
    const TqxPDFIntegerObject* length1 = nullptr;
    try {
      if (const auto* ref = As<TqxPDFIndirectReference>(stream->Dictionary()->Lookup("/Length1"))) LoadReference(*ref);
      length1 = store_.ResolveInteger(stream->Dictionary()->Lookup("/Length1"));
    } catch (const Exception&) {
    }
    if (length1) reader_->ReadStreamBody(*stream, length1->Value(), number, generation);
  }
  return indirect;
}

std::unique_ptr<TqxPDFIndirectObject> TqxObjectLoader::ReadObjectAt(int32_t object_number) {
  if (!reader_) return nullptr;
  const int64_t offset = entries_.GetObjectOffset(object_number);
  if (offset <= 0) return nullptr;
  if (offset >= reader_->Size()) throw EPDFFileCorruptedError();
  const int64_t saved = reader_->Position();
  const int32_t saved_number = reader_->CurrentObjectNumber(), saved_generation = reader_->CurrentGeneration();
  reader_->SetPosition(offset);
  auto object = ReadIndirectObject();
  reader_->SetPosition(saved);
  reader_->SetCurrentObject(saved_number, saved_generation);
  if (object && object->ObjectNumber() != object_number) {
    Warn(FormatText("Invalid Object number in PDF (%d)", {IntToText(object_number)}));
    return nullptr;
  }
  return object;
}

TqxPDFIndirectObject* TqxObjectLoader::LoadReference(const TqxPDFIndirectReference& reference) {
  if (TqxPDFIndirectObject* found = store_.Find(&reference)) {
    found->AddUse();
    return found;
  }
  const int32_t number = reference.ObjectNumber();
  if (auto known = read_by_number_.find(number); known != read_by_number_.end()) {
    if (known->second) known->second->AddUse();
    return known->second;
  }
  read_by_number_[number] = nullptr;  // a reference met while reading it finds nothing
  auto object = ReadObjectAt(number);
  if (!object) return nullptr;
  TqxPDFIndirectObject* stored = store_.Add(std::move(object));
  stored->AddUse();
  read_by_number_[number] = stored;
  return stored;
}

void TqxObjectLoader::Scan(TqxPDFObject* object) {
  // Direct nesting is bounded by the reader; references are queued, so a
  // chain of objects never deepens the stack.
  switch (object ? object->ObjectType() : otNull) {
    case otIndirectReference: {
      const auto* reference = static_cast<const TqxPDFIndirectReference*>(object);
      if (reference->ObjectNumber() <= 0) {
        Warn(FormatText("Invalid Object number in PDF (%d)", {IntToText(reference->ObjectNumber())}));
      } else if (TqxPDFIndirectObject* found = store_.Find(reference)) {
        found->AddUse();
      } else {
        pending_.push_back({reference->DocumentNumber(), reference->ObjectNumber(), reference->Generation()});
      }
      break;
    }
    case otArray: {
      auto* array = static_cast<TqxPDFArrayObject*>(object);
      for (int32_t i = 0; i < array->Count(); ++i) {
        if (array->Item(i)->ObjectType() == otStream) Warn("Stream Object found inside Array!");
        Scan(array->Item(i));
      }
      break;
    }
    case otDictionary: {
      auto* dict = static_cast<TqxPDFDictObject*>(object);
      for (int32_t i = 0; i < dict->Count(); ++i) {
        const std::string& key = dict->KeyAt(i)->Text();
        TqxPDFObject* value = dict->ValueAt(i);
        if ((key == "/Dest" || key == "/D") && lookup_destination_ &&
            (value->ObjectType() == otString || value->ObjectType() == otName)) {
          if (const TqxPDFObject* destination = lookup_destination_(*value)) {
            dict->SetValueAt(i, destination->Clone());
            value = dict->ValueAt(i);
          }
        }
        Scan(value);
      }
      break;
    }
    case otStream:
      Scan(static_cast<TqxPDFStreamObject*>(object)->Dictionary());
      break;
    case otIndirectObject:
      Scan(static_cast<TqxPDFIndirectObject*>(object)->Value());
      break;
    default:
      break;
  }
}

void TqxObjectLoader::Walk(TqxPDFObject* object) {
  Scan(object);
  if (walking_) return;  // the walk already running takes the queued references
  walking_ = true;
  try {
    ProcessPending();
  } catch (...) {
    walking_ = false;
    pending_.clear();
    throw;
  }
  walking_ = false;
}

void TqxObjectLoader::ProcessPending() {
  while (!pending_.empty()) {
    Pending next = pending_.front();
    pending_.pop_front();
    TqxPDFIndirectReference reference(next.document_number, next.generation, next.object_number);
    const bool is_new = !store_.Find(&reference) && !read_by_number_.count(next.object_number);
    TqxPDFIndirectObject* target = LoadReference(reference);
    // A stream's dictionary was walked when its body was read.
    if (is_new && target && target->Value() && target->Value()->ObjectType() != otStream) Scan(target->Value());
  }
}

// The state of one resolved copy.
struct TqxObjectLoader::CopyState {
  std::vector<int32_t> path;  // object numbers being copied, outermost first
  int nodes = 0;
  // Objects read from the file for this copy, each number once; nullptr
  // marks one that could not be read.
  std::map<int32_t, std::unique_ptr<TqxPDFIndirectObject>> read;
};

TqxPDFObjectPtr TqxObjectLoader::ResolvedCopy(const TqxPDFObject* object) {
  CopyState state;
  return ResolvedCopy(object, state, 0);
}

TqxPDFObjectPtr TqxObjectLoader::ResolvedCopy(const TqxPDFObject* object, CopyState& state, int nesting) {
  if (!object) return std::make_unique<TqxPDFNullObject>();
  if (state.path.size() > kMaxCopyDepth || ++state.nodes > kMaxCopyNodes || nesting > kMaxCopyNesting)
    throw EPDFFileCorruptedError();
  switch (object->ObjectType()) {
    case otIndirectReference: {
      const auto* reference = static_cast<const TqxPDFIndirectReference*>(object);
      const int32_t number = reference->ObjectNumber();
      if (std::find(state.path.begin(), state.path.end(), number) != state.path.end())
        return std::make_unique<TqxPDFNullObject>();
      const TqxPDFIndirectObject* target = store_.Find(reference);
      if (!target) {
        auto known = state.read.find(number);
        if (known == state.read.end()) known = state.read.emplace(number, ReadObjectAt(number)).first;
        target = known->second.get();
      }
      if (!target) return std::make_unique<TqxPDFNullObject>();
      state.path.push_back(number);
      TqxPDFObjectPtr copy = ResolvedCopy(target->Value(), state, nesting);
      state.path.pop_back();
      return copy;
    }
    case otIndirectObject:
      return ResolvedCopy(static_cast<const TqxPDFIndirectObject*>(object)->Value(), state, nesting);
    case otArray: {
      const auto* array = static_cast<const TqxPDFArrayObject*>(object);
      auto copy = std::make_unique<TqxPDFArrayObject>();
      for (int32_t i = 0; i < array->Count(); ++i) copy->Add(ResolvedCopy(array->Item(i), state, nesting + 1));
      return copy;
    }
    case otDictionary: {
      const auto* dict = static_cast<const TqxPDFDictObject*>(object);
      auto copy = std::make_unique<TqxPDFDictObject>();
      for (int32_t i = 0; i < dict->Count(); ++i)
        copy->AddObject(dict->KeyAt(i)->Text(), ResolvedCopy(dict->ValueAt(i), state, nesting + 1));
      return copy;
    }
    case otStream:
      // A stream has no place in the values copied this way (the file
      // identifier, the encryption dictionary); it is left out.
      return std::make_unique<TqxPDFNullObject>();
    default:
      return object->Clone();
  }
}

}  // namespace vs
