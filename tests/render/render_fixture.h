#pragma once
// Small PDF documents built in memory, rendered onto a recording canvas and
// read back as one line per metafile record.
#include <string>
#include <vector>

#include "platform/emf/describe.h"
#include "platform/emf/metafile.h"
#include "platform/emf/record_reader.h"
#include "render/document.h"

namespace vs::test {

// A stream object body: the dictionary entries and the data.
inline std::string Stream(const std::string& entries, const std::string& data) {
  return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

// A file of the given object bodies, numbered from 1; object 1 is the catalog.
inline std::string BuildPdf(const std::vector<std::string>& objects) {
  std::string pdf = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f\r\n";
  for (size_t offset : offsets) {
    std::string digits = std::to_string(offset);
    pdf += std::string(10 - digits.size(), '0') + digits + " 00000 n\r\n";
  }
  pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

// A one-page document: catalog, pages, the page (with extra page entries),
// its content, then the further objects (numbered from 5).
inline std::string OnePage(const std::string& content, const std::string& pageEntries = "",
                           const std::vector<std::string>& more = {}) {
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R " + pageEntries + " >>",
      Stream("", content)};
  objects.insert(objects.end(), more.begin(), more.end());
  return BuildPdf(objects);
}

struct Rendered {
  std::vector<std::string> records;  // DescribeRecord of each, header and EOF included
  TqxRenderStats stats;

  std::string Text() const {
    std::string all;
    for (const std::string& r : records) all += r + "\n";
    return all;
  }
  size_t Count(const std::string& name) const {
    size_t n = 0;
    for (const std::string& r : records) n += r.rfind(name + " ", 0) == 0;
    return n;
  }
};

inline Rendered Render(const std::string& pdf, int32_t page = 1, int64_t budget = 0) {
  TqxPDFDocument document;
  document.LoadFromMemory(pdf);
  if (budget > 0) document.SetOperatorBudget(budget);
  int32_t width = 0, height = 0;
  document.DisplayedPageSize(page, width, height);
  TMetafile metafile(width * 4 / 3, height * 4 / 3);
  {
    TMetafileCanvas canvas(metafile);
    document.RenderPage(page, canvas.Handle(), 0, 0);
    canvas.EndRecording();
  }
  Rendered result;
  result.stats = document.LastRenderStats();
  for (const TEmfRecord& record : metafile.Records()) result.records.push_back(DescribeRecord(record));
  return result;
}

}  // namespace vs::test
