// The pipeline of the program: the PDF reader with its renderer, and the
// Excel engine.
#include <filesystem>
#include <memory>

#include "app/conversion/pipeline.h"
#include "app/conversion/run.h"
#include "pdf/document.h"
#include "platform/codepage.h"
#include "platform/stream.h"

namespace vs {
namespace {

class PdfDocument : public PipelineDocument {
 public:
  bool Load(const std::string& path, bool any_version, const PasswordSupply& next_password) override {
    document_.OnPassword = [&](TqxCustomPDFDocument&, std::string& password, bool& go_on, int32_t) {
      std::optional<std::string> next = next_password();
      go_on = next.has_value();
      // Passwords are typed as UTF-8; the file's are in the ANSI code page.
      if (next) password = WideToAnsi(Utf8ToWide(*next));
    };
    // The file named is the file read: no extension is added to it.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw EFileNotFound(path);
    TMemoryStream file;
    file.LoadFromFile(path);
    document_.AcceptAnyVersion = any_version;
    bool loaded = document_.LoadFromMemory(file.View());
    document_.OnPassword = nullptr;
    return loaded;
  }
  int32_t PageCount() const override { return document_.PageCount(); }
  int32_t PageRotation(int32_t page) const override { return document_.GetPageRotation(page); }
  void RenderPage(int32_t, HDC) override { throw Exception("Pages cannot be drawn yet in this build."); }
  void DeletePages(std::string_view range) override { document_.DeletePages(range); }

 private:
  TqxCustomPDFDocument document_;
};

class MissingEngine : public PipelineEngine {
 public:
  void Configure(const EngineSettings&) override {}
  void SetLandscape(bool) override {}
  void BeginDoc() override { throw Exception("The workbook engine is not part of this build yet."); }
  void NewPage() override {}
  void SetCurrentPage(int32_t) override {}
  HDC Canvas() override { return nullptr; }
  void EndDoc() override {}
  std::string OutputFile() const override { return {}; }
};

}  // namespace

Pipeline DefaultPipeline() {
  return {[] { return std::make_unique<PdfDocument>(); }, [] { return std::make_unique<MissingEngine>(); }};
}

}  // namespace vs
