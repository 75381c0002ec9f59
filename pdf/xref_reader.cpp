#include "pdf/xref_reader.h"

#include <algorithm>
#include <cctype>

#include "pdf/errors.h"
#include "pdf/filters/filters.h"
#include "pdf/stream_reader.h"
#include "platform/numbers.h"

namespace vs {

namespace {

std::string_view TrimSpace(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool Contains(const TqxDecodeFilters& filters, TqxDecodeFilter kind) {
  return std::find(filters.begin(), filters.end(), kind) != filters.end();
}

}  // namespace

TqxCrossReferenceReader::SectionKind TqxCrossReferenceReader::KindAt(int64_t offset) {
  if (offset < 0 || offset >= reader_.Size()) return SectionKind::kNone;
  reader_.SetPosition(offset);
  if (reader_.Peek(4) == "xref" || TrimSpace(reader_.Peek(5)) == "xref") return SectionKind::kTable;
  // Writers that count the line end before an object off by one still
  // point at the cross-reference stream; white space is passed over.
  reader_.SkipWhiteSpace();
  std::string first = reader_.Peek(1);
  if (!first.empty() && std::isdigit(static_cast<unsigned char>(first[0]))) return SectionKind::kStream;
  return SectionKind::kNone;
}

void TqxCrossReferenceReader::TakeTrailerValues(const TqxPDFDictObject& trailer) {
  if (const TqxPDFObject* root = trailer.Lookup("/Root"); root && trailer_.root_number == -1) {
    const auto* reference = As<TqxPDFIndirectReference>(root);
    if (!reference) throw EPDFFileCorruptedError();
    trailer_.root_number = reference->ObjectNumber();
  }
  if (const TqxPDFObject* id = trailer.Lookup("/ID"); id && !trailer_.captured_id) trailer_.captured_id = id->Clone();
  if (const TqxPDFObject* encrypt = trailer.Lookup("/Encrypt"); encrypt && !trailer_.encryption)
    trailer_.encryption = encrypt->Clone();
  if (const TqxPDFObject* info = trailer.Lookup("/Info"); info && !trailer_.information) {
    if (const auto* reference = As<TqxPDFIndirectReference>(info))
      trailer_.information.reset(static_cast<TqxPDFIndirectReference*>(reference->Clone().release()));
  }
}

std::unique_ptr<TqxPDFIndirectObject> TqxCrossReferenceReader::ReadXRefStreamObject(int64_t offset) {
  reader_.SetPosition(offset);
  auto object = loader_.ReadIndirectObject();
  if (!object || !As<TqxPDFStreamObject>(object->Value())) throw EPDFFileCorruptedError();
  return object;
}

std::vector<TqxCrossReferenceReader::Section> TqxCrossReferenceReader::CollectChain(int64_t start) {
  // Sections are visited newest first; a /Prev that leads back to a section
  // already read ends the chain instead of reading it again.
  std::vector<Section> chain;
  std::set<int64_t> visited;
  std::vector<std::unique_ptr<TqxPDFIndirectObject>> unused;
  int64_t offset = start;
  while (!visited.count(offset)) {
    SectionKind kind = KindAt(offset);
    if (kind == SectionKind::kNone) break;
    visited.insert(offset);
    Section section{offset, kind};
    std::optional<int64_t> previous;
    if (kind == SectionKind::kTable) {
      if (status_) status_("Reading Cross-Reference Table");
      reader_.SetPosition(offset);
      auto trailer = reader_.ReadTrailer();
      TakeTrailerValues(*trailer);
      previous = IntegerValueOf(trailer->Lookup("/Prev"));
      auto xref_stream = IntegerValueOf(trailer->Lookup("/XRefStm"));
      if (xref_stream && !visited.count(*xref_stream) && KindAt(*xref_stream) == SectionKind::kStream) {
        visited.insert(*xref_stream);
        section.xref_stream = *xref_stream;
      }
    } else {
      auto object = ReadXRefStreamObject(offset);
      const TqxPDFDictObject* dict = static_cast<TqxPDFStreamObject*>(object->Value())->Dictionary();
      TakeTrailerValues(*dict);
      previous = IntegerValueOf(dict->Lookup("/Prev"));
    }
    chain.push_back(section);
    if (!previous) break;
    offset = *previous;
  }
  return chain;
}

void TqxCrossReferenceReader::LoadCrossReference() {
  const int64_t start = reader_.FindStartXRef();
  const SectionKind first = KindAt(start);
  if (first == SectionKind::kNone) throw EPDFFileCorruptedError();
  if (first == SectionKind::kStream && status_) status_("Reading Cross-Reference Stream Table");

  // Older sections first, so that newer entries replace theirs.
  std::vector<Section> chain = CollectChain(start);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it->kind == SectionKind::kStream) {
      ReadStreamEntries(it->offset, false);
      continue;
    }
    if (it->xref_stream >= 0) ReadStreamEntries(it->xref_stream, true);
    ReadTableEntries(it->offset);
  }

  if (trailer_.captured_id) {
    TqxPDFObjectPtr id = loader_.ResolvedCopy(trailer_.captured_id.get());
    if (id->ObjectType() == otArray) trailer_.file_identifier.reset(static_cast<TqxPDFArrayObject*>(id.release()));
  }
  loader_.Store().SetCounter(first == SectionKind::kTable ? entries_.TableSlots() : entries_.StreamSlots());
  if (trailer_.encryption && trailer_.encryption->ObjectType() != otNull)
    trailer_.encryption = loader_.ResolvedCopy(trailer_.encryption.get());
  if (!trailer_.Encrypted()) ExpandObjectStreams();
}

void TqxCrossReferenceReader::ReadTableEntries(int64_t offset) {
  reader_.SetPosition(offset);
  // Past the keyword to the first subsection header.
  for (std::string next = reader_.Peek(1); !next.empty() && !std::isdigit(static_cast<unsigned char>(next[0]));
       next = reader_.Peek(1))
    reader_.Skip(1);
  while (true) {
    reader_.SkipWhiteSpace();
    if (reader_.Peek(7) == "trailer" || reader_.Peek(1).empty()) return;
    auto first = TryParseInt64(reader_.ReadToken());
    auto count = TryParseInt64(reader_.ReadToken());
    if (!first || !count || *count < 0) throw ECrossReferenceError();
    if (*count == 0) continue;  // an empty subsection; more may follow
    for (int64_t k = 0; k < *count; ++k) {
      // Entries are read as three tokens, which also copes with entries
      // whose line ends are one byte short.
      auto entry_offset = TryParseInt64(reader_.ReadToken());
      auto generation = TryParseInt32(reader_.ReadToken());
      std::string kind = reader_.ReadToken();
      if (!entry_offset || !generation || kind.size() != 1) throw ECrossReferenceError();
      // k is bounded by the entries present, so only a huge first can overflow.
      const int64_t number = *first > INT32_MAX ? -1 : *first + k;
      if (kind[0] != 'n' || !IsStorableObjectNumber(number)) continue;
      entries_.SetTableEntry(static_cast<int32_t>(number),
                             {*generation, 'n', static_cast<int32_t>(number), *entry_offset});
    }
  }
}

namespace {

// The decoded bytes of a cross-reference or object stream.
std::string DecodedData(TqxPDFStreamObject& stream, const TqxPDFObjectStore& store) {
  TqxPDFDictObject& dict = *stream.Dictionary();
  if (!stream.HasData()) return std::string();
  const TqxPDFObject* filter = store.Resolve(dict.Lookup("/Filter"));
  TqxDecodeFilters kinds = FilterListOf(filter);
  if (Contains(kinds, ftDCTDecode)) return std::string(stream.DataView());
  auto decoded = DecodeStreamData(stream.DataView(), filter);
  std::string data(decoded->View());
  const TqxPDFObject* parms = store.Resolve(dict.Lookup("/DecodeParms"));
  if (const auto* array = As<TqxPDFArrayObject>(parms)) parms = store.Resolve(array->Item(0));
  if (const auto* parameters = As<TqxPDFDictObject>(parms)) {
    auto predictor = IntegerValueOf(parameters->Lookup("/Predictor"));
    auto columns = IntegerValueOf(parameters->Lookup("/Columns"));
    if (predictor && *predictor >= 10)
      data = DecodePNGRows(data, static_cast<int32_t>(std::clamp<int64_t>(columns.value_or(1), 1, 1 << 20)));
  }
  return data;
}

}  // namespace

void TqxCrossReferenceReader::ReadStreamEntries(int64_t offset, bool take_trailer) {
  auto object = ReadXRefStreamObject(offset);
  auto& stream = *static_cast<TqxPDFStreamObject*>(object->Value());
  const TqxPDFDictObject& dict = *stream.Dictionary();
  if (take_trailer) TakeTrailerValues(dict);
  std::string data = DecodedData(stream, loader_.Store());

  const auto* w = As<TqxPDFArrayObject>(dict.Lookup("/W"));
  if (!w || w->Count() < 3) throw ECrossReferenceError();
  int32_t widths[3];
  for (int i = 0; i < 3; ++i) {
    auto width = IntegerValueOf(w->Item(i));
    if (!width || *width < 0 || *width > 8) throw ECrossReferenceError();
    widths[i] = static_cast<int32_t>(*width);
  }
  std::vector<TqxXRefRange> ranges;
  if (const auto* index = As<TqxPDFArrayObject>(dict.Lookup("/Index"))) {
    for (int32_t i = 0; i < index->Count(); i += 2)
      ranges.push_back({IntegerValueOf(index->Item(i)).value_or(0), IntegerValueOf(index->Item(i + 1)).value_or(0)});
  } else {
    ranges.push_back({0, IntegerValueOf(dict.Lookup("/Size")).value_or(0)});
  }
  ReadXRefStreamEntries(data, widths, ranges, entries_);
}

void TqxCrossReferenceReader::ExpandObjectStreams() {
  if (!entries_.HasStreamEntries()) return;
  std::set<int32_t> expanded;
  const TqxPDFObjectStore& store = loader_.Store();
  const int32_t before = store.Count();
  for (const auto& [number, item] : entries_.StreamEntries()) {
    if (item.type != 2 || item.field2 < 0 || item.field2 > INT32_MAX) continue;
    const auto stream_number = static_cast<int32_t>(item.field2);
    if (expanded.insert(stream_number).second) ExpandObjectStream(stream_number);
  }
  // Walked once all are in, so that references between object streams
  // find their targets in the store rather than in the file.
  const int32_t after = store.Count();
  for (int32_t i = before; i < after; ++i) {
    TqxPDFIndirectObject* object = store.Item(i);
    const auto* dict = As<TqxPDFDictObject>(object->Value());
    const auto* type = dict ? As<TqxPDFNameObject>(dict->Lookup("/Type")) : nullptr;
    if (type && type->Text() == "/Pages") continue;  // the page tree walks its own nodes
    loader_.Walk(object->Value());
  }
}

void TqxCrossReferenceReader::ExpandObjectStream(int32_t stream_number) {
  const TqxXRefStmItem* own = entries_.StreamEntry(stream_number);
  int64_t offset = own && own->type == 1 ? own->field2 : entries_.GetObjectOffset(stream_number);
  if (offset <= 0) return;
  if (offset >= reader_.Size()) throw EPDFFileCorruptedError();
  reader_.SetPosition(offset);
  auto object = loader_.ReadIndirectObject();
  auto* stream = object ? As<TqxPDFStreamObject>(object->Value()) : nullptr;
  if (!stream) throw EPDFFileCorruptedError();
  const TqxPDFDictObject& dict = *stream->Dictionary();
  if (Contains(FilterListOf(loader_.Store().Resolve(dict.Lookup("/Filter"))), ftDCTDecode)) return;
  const auto* type = As<TqxPDFNameObject>(dict.Lookup("/Type"));
  if (!type || type->Text() != "/ObjStm") return;

  TMemoryStream data(DecodedData(*stream, loader_.Store()));
  TqxPDFStreamReader members(reader_.DocumentNumber(), &data);
  const int64_t count = IntegerValueOf(dict.Lookup("/N")).value_or(0);
  const int64_t first = IntegerValueOf(dict.Lookup("/First")).value_or(0);
  TqxPDFObjectStore& store = loader_.Store();
  // The cheap checks come before a member is parsed, and each number is
  // parsed at most once, so a header that repeats one pair costs nothing.
  std::set<int32_t> seen;
  for (int64_t i = 0; i < count; ++i) {
    members.SkipWhiteSpace();
    auto number = TryParseInt32(members.ReadToken());
    auto relative = TryParseInt64(members.ReadToken());
    if (!number || !relative) break;  // the header ends before /N pairs
    int64_t position = 0;
    if (__builtin_add_overflow(first, *relative, &position) || position < 0 || position >= data.Size()) continue;
    // Only objects whose newest entry still places them here: an update
    // may have replaced a compressed object by one in the file.
    const TqxXRefStmItem* entry = entries_.StreamEntry(*number);
    const TqxXRefItem* table = entries_.TableEntry(*number);
    if (!entry || entry->type != 2 || entry->field2 != stream_number || (table && table->offset != 0)) continue;
    if (store.IndexOf(reader_.DocumentNumber(), *number, 0) >= 0 || !seen.insert(*number).second) continue;
    const int64_t header = members.Position();
    members.SetPosition(position);
    TqxPDFObjectPtr value = members.ReadObject();
    members.SetPosition(header);
    if (!value || value->ObjectType() == otIndirectObject) continue;
    store.Add(std::make_unique<TqxPDFIndirectObject>(reader_.DocumentNumber(), std::move(value), 0, *number, 1));
  }
}

}  // namespace vs
