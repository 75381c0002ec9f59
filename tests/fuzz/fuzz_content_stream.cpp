// Runs arbitrary bytes as the content stream of a page that has a font, a
// form (which draws itself too), an ExtGState, colour spaces and an image
// among its resources, and draws it onto a recording canvas. A small
// operator budget keeps each run short.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/emf/metafile.h"
#include "render/document.h"

namespace {

std::string Stream(const std::string& entries, std::string_view data) {
  return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + std::string(data) +
         "\nendstream";
}

std::string Document(std::string_view content) {
  const std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [] /DA (/F1 0 Tf 0 g) >> >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Rotate 90 /Contents 4 0 R /Annots [9 0 R]"
      " /Resources << /Font << /F1 5 0 R >> /XObject << /Fm 6 0 R /Im 7 0 R >>"
      " /ExtGState << /G << /ca 0.5 /LW 2 /D [[2 1] 0] >> >>"
      " /ColorSpace << /Cs [/ICCBased 8 0 R] /Sp [/Separation /A /DeviceCMYK 5 0 R] >> >> >>",
      Stream("", content),
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /FirstChar 32 /LastChar 33 /Widths [278 278] >>",
      Stream("/Subtype /Form /BBox [0 0 10 10] /Matrix [1 0 0 1 5 5]", "0 0 5 5 re f /Fm Do q 1 0 0 rg Q"),
      Stream("/Subtype /Image /Width 2 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceGray", "\x10\x20\x30\x40"),
      Stream("/N 3", ""),
      "<< /Subtype /Widget /FT /Tx /V (v) /Rect [10 10 60 30] /MK << /BG [1] >> /Parent 9 0 R >>"};
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
  return pdf + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vs::TqxPDFDocument document;
  document.LoadFromMemory(Document(std::string_view(reinterpret_cast<const char*>(data), size)));
  document.SetOperatorBudget(20000);
  vs::TMetafile metafile(267, 267);
  vs::TMetafileCanvas canvas(metafile);
  document.RenderPage(1, canvas.Handle(), 0, 0);
  canvas.EndRecording();
  return 0;
}
