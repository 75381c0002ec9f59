// vellumsheet info [options] IN.pdf|-: what the reader sees in a
// PDF file: version, encryption, pages and their boxes. Every header version
// opens; --any-version is still accepted.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/messages.h"
#include "cli/pdf_open.h"
#include "pdf/document.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

std::string VersionText(TqxPDFVersion version) {
  return version == pvPDF20 ? "2.0" : "1." + IntToText(static_cast<int>(version));
}

std::string BoxText(const std::array<double, 4>& box, bool json) {
  std::string text = json ? "[" : "[";
  for (size_t i = 0; i < box.size(); ++i) text += (i ? (json ? ", " : " ") : "") + FloatToText(box[i]);
  return text + "]";
}

std::string PermissionsText(TqxUserPermissions permissions, bool json) {
  static const char* const kNames[] = {"copy", "modify", "print", "annotate", "fill-forms", "accessibility",
                                       "assemble", "print-high"};
  std::string text;
  for (int i = 0; i < 8; ++i) {
    if (!permissions.Has(static_cast<TqxUserPermissionsType>(i))) continue;
    if (!text.empty()) text += json ? ", " : " ";
    text += json ? "\"" + std::string(kNames[i]) + "\"" : kNames[i];
  }
  return json ? "[" + text + "]" : (text.empty() ? "none" : text);
}

void Print(TqxCustomPDFDocument& document, bool json) {
  const bool encrypted = document.IsEncrypted();
  const TqxPDFDecrypt* decrypt = document.Decryptor();
  const std::string method = decrypt ? decrypt->MethodName() : "";
  const int revision = decrypt ? decrypt->Revision() : 0;
  if (json) {
    std::cout << "{\"version\": \"" << VersionText(document.PDFVersion()) << "\", \"encrypted\": "
              << (encrypted ? "true" : "false");
    if (encrypted)
      std::cout << ", \"encryption\": {\"method\": \"" << method << "\", \"revision\": " << revision
                << ", \"permissions\": " << PermissionsText(document.Encryption().UserPermissions(), true) << "}";
    std::cout << ", \"page_count\": " << document.PageCount() << ", \"pages\": [";
  } else {
    std::cout << "Version: " << VersionText(document.PDFVersion()) << "\n";
    std::cout << "Encrypted: " << (encrypted ? "yes, " + method + " (revision " + IntToText(revision) + ")" : "no")
              << "\n";
    if (encrypted)
      std::cout << "Permissions: " << PermissionsText(document.Encryption().UserPermissions(), false) << "\n";
    std::cout << "Pages: " << document.PageCount() << "\n";
  }
  for (int32_t n = 1; n <= document.PageCount(); ++n) {
    std::string media = BoxText(document.GetPageBox(muPoints, n), json);
    auto crop_box = document.GetCropBox(n);
    std::string crop = crop_box ? BoxText(*crop_box, json) : (json ? "null" : "none");
    int32_t rotate = document.GetPageRotation(n);
    if (json)
      std::cout << (n > 1 ? ", " : "") << "{\"media_box\": " << media << ", \"crop_box\": " << crop
                << ", \"rotate\": " << rotate << "}";
    else
      std::cout << "Page " << n << ": MediaBox " << media << " CropBox " << crop << " Rotate " << rotate << "\n";
  }
  if (json) std::cout << "]}\n";
}

int Usage(const std::string& problem) { return UsageError("info", problem); }

int RunInfo(const std::vector<std::string>& args) {
  std::string input;
  PdfOptions pdf;
  bool json = false, options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::optional<std::string> problem;
    if (options_ended || args[i] == "-" || !args[i].starts_with("-")) {
      if (!input.empty()) return Usage("only one input file may be given");
      input = args[i];
    } else if (args[i] == "--") {
      options_ended = true;
    } else if (args[i] == "--json") {
      json = true;
    } else if (pdf.Take(args, i, problem)) {
      if (problem) return Usage(*problem);
    } else {
      return Usage("unknown option " + args[i]);
    }
  }
  if (input.empty()) return Usage("no input file");
  if (auto problem = pdf.Resolve()) return Usage(*problem);

  TqxCustomPDFDocument document;
  if (!OpenPdf(document, input, pdf.password)) return kExitFailure;
  try {
    Print(document, json);
  } catch (const std::exception& error) {
    std::cout.flush();
    ReportLine(ShownInput(input), error.what());
    return kExitFailure;
  }
  return kExitOk;
}

const std::string kHelp = std::string(
    "IN.pdf - reads the PDF from standard input; -- ends the options.\n"
    "\n"
    "Options:\n"
    "  --json                   the same as one JSON object (default: lines of text)\n") + kPdfOptionsHelp +
    "  -h, --help               show this help\n"
    "\n"
    "Exit status: 0 shown, 1 the file could not be read, 2 usage.\n";

const CommandRegistration kInfo({"info", "info [options] [--] IN.pdf|-",
                                 "show the version, encryption and page boxes of a PDF file", RunInfo, kHelp});

}  // namespace
}  // namespace vs::cli
