#pragma once
// Small PDF files made in memory for the text tests: numbered object bodies,
// with the cross-reference table and trailer filled in.
#include <map>
#include <memory>
#include <string>

#include "pdf/document.h"

namespace vs::testing {

class TPdfBuilder {
 public:
  // Object n's body, as written between "n 0 obj" and "endobj".
  void Object(int number, std::string body) { objects_[number] = std::move(body); }
  // A stream object with the given extra dictionary entries.
  void Stream(int number, const std::string& data, const std::string& entries = "") {
    objects_[number] = "<< /Length " + std::to_string(data.size()) + " " + entries + " >>\nstream\n" + data +
                       "\nendstream";
  }
  // The file; object 1 is the catalog.
  std::string Bytes() const {
    std::string out = "%PDF-1.4\n";
    std::map<int, size_t> offsets;
    int last = 0;
    for (const auto& [n, body] : objects_) {
      offsets[n] = out.size();
      out += std::to_string(n) + " 0 obj\n" + body + "\nendobj\n";
      last = n;
    }
    size_t xref = out.size();
    out += "xref\n0 " + std::to_string(last + 1) + "\n0000000000 65535 f \n";
    for (int n = 1; n <= last; ++n) {
      char line[32];
      auto it = offsets.find(n);
      snprintf(line, sizeof line, "%010zu 00000 %c \n", it == offsets.end() ? 0 : it->second,
               it == offsets.end() ? 'f' : 'n');
      out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(last + 1) + " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
    return out;
  }
  std::unique_ptr<TqxCustomPDFDocument> Load() const {
    auto doc = std::make_unique<TqxCustomPDFDocument>();
    doc->LoadFromMemory(Bytes());
    return doc;
  }

  // The dictionary of object n of a loaded document (a stream's dictionary too).
  static TqxPDFDictObject* Dict(TqxCustomPDFDocument& doc, int number) {
    int32_t index = doc.Store().IndexOf(doc.DocumentNumber(), number, 0);
    TqxPDFIndirectObject* object = doc.Store().Item(index);
    TqxPDFObject* value = object ? object->Value() : nullptr;
    if (auto* stream = As<TqxPDFStreamObject>(value)) return stream->Dictionary();
    return As<TqxPDFDictObject>(value);
  }

 private:
  std::map<int, std::string> objects_;
};

}  // namespace vs::testing
