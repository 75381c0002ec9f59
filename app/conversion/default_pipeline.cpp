// The pipeline of the program: the PDF reader with its renderer, and the
// Excel engine.
#include <memory>

#include "app/conversion/excel_pipeline_engine.h"
#include "app/conversion/pipeline.h"
#include "app/conversion/run.h"
#include "app/conversion/source_file.h"
#include "pdf/file_bytes.h"
#include "pdf/security/crypt.h"
#include "platform/numbers.h"
#include "platform/stream.h"
#include "render/document.h"
#include "render/ocr/ocr_page.h"

namespace vs {
namespace {

class PdfPipelineDocument : public PipelineDocument {
 public:
  bool Load(const std::string& path, bool any_version, const PasswordSupply& next_password) override {
    document_.AcceptAnyVersion = any_version;
    document_.OnPassword = [&](TqxCustomPDFDocument&, std::string& password, bool& go_on, int32_t) {
      std::optional<std::string> next = next_password();
      go_on = next.has_value();
      // Passed as typed (UTF-8): the security handler encodes it as the file needs.
      if (next) password = *next;
    };
    // The file named is the file read: no extension is added to it.
    CheckSourceFile(path);
    const bool loaded = document_.LoadFromBytes(TqxFileBytes::Load(path));
    document_.OnPassword = nullptr;
    return loaded;
  }
  int32_t PageCount() const override { return document_.PageCount(); }
  int32_t PageRotation(int32_t page) const override { return document_.GetPageRotation(page); }
  void SetOcr(const TqxOcrSettings& settings) override { ocr_ = std::make_unique<TqxOcrPageReader>(settings); }
  TqxOcrPageCounts LastOcr() const override { return last_ocr_; }
  void RenderPage(int32_t page, HDC canvas) override {
    last_ocr_ = {};
    if (ocr_)
      last_ocr_ = ocr_->RenderPage(document_, page, canvas);
    else
      document_.RenderPage(page, canvas, 1, 0);
    if (document_.LastRenderStats().contentDamaged)
      throw Exception("The page's content is damaged; only the part before the damage was drawn.");
    if (document_.LastRenderStats().budgetExhausted)
      throw Exception("The page needs more drawing operations than a page may run; it was cut short.");
  }
  int64_t SkippedOperators() const override { return document_.LastRenderStats().skipped; }
  std::pair<double, double> PageSize(int32_t page) const override {
    int32_t width = 0, height = 0;
    document_.DisplayedPageSize(page, width, height);
    return {width, height};
  }
  std::u16string Title() const override { return document_.Info().Title; }
  std::vector<std::string> Notes() const override {
    std::vector<std::string> notes;
    const TqxPDFDecrypt* decrypt = document_.Decryptor();
    if (!decrypt) return notes;
    if (decrypt->PermsDisagree())
      notes.push_back("the encryption dictionary's /Perms does not match its /P; the file was read under /P");
    if (const int64_t damaged = decrypt->DamagedStrings(); damaged > 0)
      notes.push_back(IntToText(damaged) + (damaged == 1 ? " encrypted string was" : " encrypted strings were") +
                      " damaged and left out");
    return notes;
  }
  void DeletePages(std::string_view range) override { document_.DeletePages(range); }

 private:
  TqxPDFDocument document_;
  std::unique_ptr<TqxOcrPageReader> ocr_;
  TqxOcrPageCounts last_ocr_;
};

}  // namespace

Pipeline DefaultPipeline() {
  return {[] { return std::make_unique<PdfPipelineDocument>(); }, [] { return MakeExcelPipelineEngine(); }};
}

}  // namespace vs
