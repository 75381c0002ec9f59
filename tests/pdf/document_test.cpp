// Opening hand-written fixtures (tests/data/pdf, made by make_fixtures.py)
// and a few encrypted files of the shared corpus.
#include "pdf/document.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pdf/filters/filters.h"
#include "support/shared_data.h"

namespace vs {
namespace {

using ::testing::ElementsAre;

const std::string kData = std::string(VS_TEST_DATA_DIR) + "/pdf/";
const std::string kPeer = std::string(VS_SHARED_DIR) + "/corpus-peer/qpdf/";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The decoded bytes of the first content stream of page n.
std::string PageContent(TqxCustomPDFDocument& document, int32_t n) {
  TqxPDFObject* contents = document.PageDictionary(n)->Lookup("/Contents");
  if (auto* array = As<TqxPDFArrayObject>(document.Store().Resolve(contents))) contents = array->Item(0);
  TqxPDFStreamObject* stream = document.Store().ResolveStream(contents);
  stream->Data()->SetPosition(0);
  return std::string(DecodeStreamData(*stream->Data(), stream->Dictionary()->Lookup("/Filter"))->View());
}

using Objects = std::vector<std::pair<int32_t, std::string>>;

const Objects kOnePage = {{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                          {2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"}};
const std::string kPage = "<< /Type /Page /MediaBox [0 0 10 10] >>";

// Appends the definitions; offsets receives where each one starts.
std::string WithObjects(std::string pdf, const Objects& objects, std::vector<size_t>& offsets) {
  for (const auto& [number, body] : objects) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
  }
  return pdf;
}

// A file whose classic table lists every object in a subsection of its
// own, after the raw subsections of extra_table.
std::string ClassicFile(const Objects& objects, const std::string& extra_table = "") {
  std::vector<size_t> offsets;
  std::string pdf = WithObjects("%PDF-1.4\n", objects, offsets);
  const size_t table = pdf.size();
  pdf += "xref\n" + extra_table;
  for (size_t i = 0; i < objects.size(); ++i) {
    char entry[48];
    std::snprintf(entry, sizeof entry, "%d 1\n%010zu 00000 n \n", objects[i].first, offsets[i]);
    pdf += entry;
  }
  return pdf + "trailer\n<< /Root 1 0 R >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n";
}

// A file with a cross-reference stream (object 99): type 1 entries for the
// objects, and type 2 entries {number, object stream, index}.
std::string StreamFile(const Objects& objects, const std::vector<std::array<int32_t, 3>>& compressed) {
  std::vector<size_t> offsets;
  std::string pdf = WithObjects("%PDF-1.5\n", objects, offsets);
  std::string index, rows;
  auto row = [&](int32_t number, int type, uint32_t field2, uint16_t field3) {
    index += std::to_string(number) + " 1 ";
    rows += static_cast<char>(type);
    for (int shift = 24; shift >= 0; shift -= 8) rows += static_cast<char>(field2 >> shift);
    rows += static_cast<char>(field3 >> 8);
    rows += static_cast<char>(field3);
  };
  for (size_t i = 0; i < objects.size(); ++i) row(objects[i].first, 1, static_cast<uint32_t>(offsets[i]), 0);
  for (const auto& [number, stream, at] : compressed) row(number, 2, stream, static_cast<uint16_t>(at));
  const size_t start = pdf.size();
  pdf += "99 0 obj\n<< /Type /XRef /W [1 4 2] /Index [" + index + "] /Root 1 0 R /Length " +
         std::to_string(rows.size()) + " >>\nstream\n" + rows + "\nendstream\nendobj\n";
  return pdf + "startxref\n" + std::to_string(start) + "\n%%EOF\n";
}

TEST(Document, PageTreePassesAttributesDown) {
  TqxCustomPDFDocument document;
  std::vector<int32_t> progress;
  document.OnIOProgress = [&](TqxCustomPDFDocument&, int32_t p) { progress.push_back(p); };
  ASSERT_TRUE(document.LoadFromFile(kData + "tree.pdf"));
  ASSERT_EQ(document.PageCount(), 3);
  EXPECT_THAT(progress, ElementsAre(10, 75, 30, 90, 60, 100));

  // Root: /MediaBox 612x792, /Rotate 90, /Resources with /F1; the middle node
  // gives its kids 300x400; page 2 has its own /Rotate and /Resources.
  EXPECT_EQ(document.GetPageRotation(1), 90);
  EXPECT_EQ(document.GetPageRotation(2), 180);
  EXPECT_EQ(document.GetPageRotation(3), 90);
  EXPECT_EQ(document.GetPageBox(muPoints, 1), (std::array<double, 4>{0, 0, 612, 792}));
  EXPECT_EQ(document.GetPageBox(muInches, 3), (std::array<double, 4>{0, 0, 300 / 72.0, 400 / 72.0}));
  double width, height;
  document.GetPageSize(1, muPoints, width, height);  // the /CropBox
  EXPECT_DOUBLE_EQ(width, 590.5);
  EXPECT_DOUBLE_EQ(height, 760);
  const TqxPDFDictObject* own = document.Store().ResolveDict(document.PageDictionary(2)->Lookup("/Resources"));
  EXPECT_EQ(own->Count(), 0);
  const TqxPDFDictObject* inherited = document.Store().ResolveDict(document.PageDictionary(3)->Lookup("/Resources"));
  EXPECT_NE(inherited->Lookup("/Font"), nullptr);
  // Pages that inherit one dictionary share it rather than each holding a copy.
  EXPECT_EQ(document.Store().ResolveDict(document.PageDictionary(1)->Lookup("/Resources")), inherited);
  EXPECT_EQ(document.PageDictionary(3)->Lookup("/Parent"), nullptr);
  EXPECT_THROW(document.GetPageRotation(4), EInvalidPageError);

  EXPECT_EQ(document.PageMode(), pmUseOutlines);
  EXPECT_EQ(document.PageLayout(), plNone);  // a name outside the table
  EXPECT_EQ(document.Info().Title, u"Fixture tree");
  EXPECT_EQ(document.Info().Author, u"Vellumsheet tests");
  EXPECT_EQ(PageContent(document, 2), ReadFile(kData + "tree.obj8.qpdf.txt"));
}

TEST(Document, OutlinesDestinationsAndFormFields) {
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "tree"));  // ".pdf" is added
  EXPECT_EQ(document.WorkFileName(), kData + "tree.pdf");
  ASSERT_EQ(document.NamedDestinations().size(), 2u);
  EXPECT_TRUE(document.NamedDestinations().count("intro"));
  EXPECT_TRUE(document.NamedDestinations().count("chapter"));

  TqxPDFOutline* root = document.Outlines();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(document.OutlineCount(), 3);
  TqxPDFOutline* intro = root->FirstChild();
  ASSERT_NE(intro, nullptr);
  const auto* intro_dict = As<TqxPDFDictObject>(intro->Value());
  ASSERT_NE(As<TqxPDFArrayObject>(intro_dict->Lookup("/Dest")), nullptr);  // the name became its destination
  TqxPDFOutline* chapter = intro->Next();
  ASSERT_NE(chapter, nullptr);
  EXPECT_EQ(chapter->Previous(), intro);
  EXPECT_EQ(chapter->Parent(), root);
  EXPECT_TRUE(chapter->Closed());
  const auto* chapter_dict = As<TqxPDFDictObject>(chapter->Value());
  EXPECT_EQ(As<TqxPDFStringObject>(chapter_dict->Lookup("/Title"))->Content(), "Chapter");
  const auto* action = As<TqxPDFDictObject>(chapter_dict->Lookup("/A"));
  EXPECT_NE(As<TqxPDFArrayObject>(action->Lookup("/D")), nullptr);

  ASSERT_EQ(document.FormFields().size(), 2u);
  const TqxAcroFormField& name = *document.FormFields()[0];
  EXPECT_EQ(name.full_name, "name");
  EXPECT_EQ(name.kind, fkText);
  EXPECT_EQ(name.value, "Joe");
  EXPECT_TRUE(name.multiline);
  EXPECT_EQ(name.max_length, 20);
  ASSERT_NE(name.font, nullptr);
  EXPECT_EQ(name.font->resource_name, "/Helv");
  EXPECT_EQ(name.font->font.Size, 12);
  EXPECT_EQ(name.font->font.Name, "Helvetica");
  EXPECT_TRUE(name.font->font.Bold);
  EXPECT_EQ(ColorFromText(name.font->color_text), 0x0000FFu);
  const TqxAcroFormField& agree = *document.FormFields()[1];
  EXPECT_EQ(agree.kind, fkCheckBox);
  EXPECT_THAT(agree.states, ElementsAre("Off", "Yes"));
  EXPECT_EQ(agree.annotation_flags, 4);
}

TEST(Document, ColorFromText) {
  EXPECT_EQ(ColorFromText("1 0 0 rg"), 0x0000FFu);
  EXPECT_EQ(ColorFromText(" 0 0.5 1 rg "), 0xFF8000u);
  EXPECT_EQ(ColorFromText("0.5 g"), 0x808080u);
  EXPECT_EQ(ColorFromText(""), 0u);
  EXPECT_EQ(ColorFromText("1 0 0"), 0u);
}

TEST(Document, DeletePagesMovesTheRestUp) {
  TqxCustomPDFDocument document;
  std::vector<std::string> status;
  ASSERT_TRUE(document.LoadFromFile(kData + "tree.pdf"));
  TqxPDFIndirectObject* second = document.Page(2);
  document.OnStatusMessage = [&](TqxCustomPDFDocument&, const std::string& s) { status.push_back(s); };
  document.DeletePages("1");
  ASSERT_EQ(document.PageCount(), 2);
  EXPECT_EQ(document.Page(1), second);
  EXPECT_THAT(status, ElementsAre("1 pages deleted"));
  EXPECT_THROW(document.DeletePages("3"), EInvalidPageError);
}

TEST(Document, IncrementalUpdateReplacesAndKeepsEntries) {
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "update.pdf"));
  EXPECT_EQ(PageContent(document, 1), ReadFile(kData + "update.obj4.qpdf.txt"));
  // Object 6 is free in the update; its older entry stays.
  const TqxPDFStringObject* kept = document.Store().ResolveString(document.PageDictionary(1)->Lookup("/Extra"));
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->Content(), "kept");
}

TEST(Document, NewestSectionWinsWhateverItsKind) {
  // A classic base updated by a cross-reference stream, and by a hybrid
  // section whose classic table lists the compressed page as free.
  struct Case {
    const char* file;
    double size;
  };
  for (const Case& c : {Case{"update_xrefstm.pdf", 300}, Case{"hybrid_update.pdf", 200}}) {
    SCOPED_TRACE(c.file);
    TqxCustomPDFDocument document;
    ASSERT_TRUE(document.LoadFromFile(kData + c.file));
    EXPECT_EQ(document.GetPageBox(muPoints, 1), (std::array<double, 4>{0, 0, c.size, c.size}));
  }
}

TEST(Document, EmptySubsectionsAndRangesArePassedOver) {
  for (const char* file : {"empty_subsection.pdf", "empty_index_range.pdf"}) {
    SCOPED_TRACE(file);
    TqxCustomPDFDocument document;
    ASSERT_TRUE(document.LoadFromFile(kData + file));
    EXPECT_EQ(document.PageCount(), 1);
  }
}

TEST(Document, ObjectStreamHeaderThatRepeatsOneMember) {
  // 20000 header pairs name one 20000-element array: it is parsed once.
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "objstm_repeats.pdf"));
  const auto* extra = As<TqxPDFArrayObject>(document.Store().Resolve(document.PageDictionary(1)->Lookup("/Extra")));
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->Count(), 20000);
}

TEST(Document, LengthsBeyondTheFileEndAtTheirOwnObject) {
  // Two content streams with /Length 2147483647, each followed by more objects.
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "long_lengths.pdf"));
  const auto* contents = As<TqxPDFArrayObject>(document.Store().Resolve(document.PageDictionary(1)->Lookup("/Contents")));
  ASSERT_NE(contents, nullptr);
  for (int32_t i = 0; i < 2; ++i) {
    TqxPDFStreamObject* stream = document.Store().ResolveStream(contents->Item(i));
    ASSERT_TRUE(stream && stream->Data());
    EXPECT_EQ(stream->Data()->View(), std::string("BT /F1 12 Tf 72 700 Td (") + (i ? "second" : "first") + ") Tj ET");
  }
}

TEST(Document, CatalogAndInfoInsideAnObjectStream) {
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "objstm.pdf"));
  EXPECT_EQ(document.PDFVersion(), pvPDF15);
  EXPECT_EQ(document.PageCount(), 1);
  EXPECT_EQ(document.Info().Title, u"In an object stream");
  EXPECT_EQ(document.GetPageBox(muPoints, 1), (std::array<double, 4>{0, 0, 400, 300}));
  EXPECT_EQ(PageContent(document, 1), ReadFile(kData + "objstm.obj4.qpdf.txt"));
}

TEST(Document, HybridFileReadsItsStreamWithoutPrev) {
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "hybrid.pdf"));
  EXPECT_EQ(document.PageCount(), 1);
}

TEST(Document, LoopsAreCut) {
  // /Prev back to its own section, a page-tree kid that is its ancestor, an
  // outline item whose /Next is itself.
  TqxCustomPDFDocument document;
  std::vector<std::string> warnings;
  document.OnWarning = [&](TqxCustomPDFDocument&, const std::string& w) { warnings.push_back(w); };
  ASSERT_TRUE(document.LoadFromFile(kData + "loops.pdf"));
  EXPECT_EQ(document.PageCount(), 1);
  EXPECT_EQ(document.OutlineCount(), 2);
  EXPECT_FALSE(warnings.empty());
}

TEST(Document, DamagedFilesRaiseReaderErrors) {
  const std::string tree = ReadFile(kData + "tree.pdf");
  std::string beyond = tree.substr(0, tree.rfind("startxref")) + "startxref\n999999\n%%EOF\n";
  std::string bad_entry = tree;
  bad_entry.replace(bad_entry.find(" 00000 n", bad_entry.find("xref\n")) - 10, 10, "0099999999");
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"not a PDF", "hello"},
      {"startxref beyond the file", beyond},
      {"an entry beyond the file", bad_entry},
      {"cut in the middle", tree.substr(0, tree.size() / 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TqxCustomPDFDocument document;
    EXPECT_THROW(document.LoadFromMemory(c.bytes), Exception);
    EXPECT_FALSE(document.IsLoaded());
  }
  TqxCustomPDFDocument document;
  try {
    document.LoadFromFile(kData + "missing.pdf");
    ADD_FAILURE();
  } catch (const EFileNotFound& e) {
    EXPECT_EQ(std::string(e.what()), kData + "missing.pdf File Not Found");
  }
}

TEST(Document, ObjectNumbersBeyond32BitsAreDropped) {
  // Subsections that start at the largest 32-bit number or beyond the
  // 64-bit range keep no entry; the counter stays one above the highest kept.
  Objects objects = kOnePage;
  objects.push_back({3, kPage});
  const std::string extra = "2147483647 1\n0000000009 00000 n \n9223372036854775807 2\n0000000009 00000 n \n"
                            "0000000009 00000 n \n";
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromMemory(ClassicFile(objects, extra)));
  EXPECT_EQ(document.PageCount(), 1);
  EXPECT_EQ(document.Store().Counter(), 4);
}

TEST(Document, StreamLengthsThatAreStreamsEndAtALimit) {
  // The page's content stream takes its /Length from another stream, whose
  // length is yet another stream, and so on for many thousands of objects.
  constexpr int32_t kChain = 60000;
  Objects objects = kOnePage;
  objects.push_back({3, "<< /Type /Page /MediaBox [0 0 10 10] /Contents 4 0 R >>"});
  for (int32_t n = 4; n < 4 + kChain; ++n)
    objects.push_back({n, "<< /Length " + std::to_string(n + 1) + " 0 R >>\nstream\nab\nendstream"});
  objects.push_back({4 + kChain, "2"});
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromMemory(ClassicFile(objects)));
  EXPECT_EQ(document.PageCount(), 1);
}

TEST(Document, ObjectStreamOffsetsThatOverflowFindNothing) {
  // Object 3 (the page) lives in object stream 5, whose /First is valid or
  // so large that adding the member's offset overflows.
  struct Case {
    std::string first;
    bool opens;
  };
  for (const Case& c : {Case{"4", true}, Case{"9223372036854775807", false}}) {
    SCOPED_TRACE(c.first);
    const std::string members = "3 0 " + kPage;
    Objects objects = kOnePage;
    objects.push_back({5, "<< /Type /ObjStm /N 1 /First " + c.first + " /Length " + std::to_string(members.size()) +
                              " >>\nstream\n" + members + "\nendstream"});
    TqxCustomPDFDocument document;
    const std::string file = StreamFile(objects, {{3, 5, 0}});
    if (c.opens) {
      ASSERT_TRUE(document.LoadFromMemory(file));
      EXPECT_EQ(document.PageCount(), 1);
    } else {
      EXPECT_THROW(document.LoadFromMemory(file), EPDFMissingObjectError);
    }
  }
}

TEST(Document, DeepEncryptionDictionaryIsRefused) {
  // /Encrypt leads through 64 objects, each nesting the next reference 250
  // arrays deep: copying it with its references resolved would nest 16000
  // levels.
  Objects objects = kOnePage;
  objects.push_back({3, kPage});
  for (int32_t n = 10; n < 75; ++n)
    objects.push_back({n, std::string(250, '[') + std::to_string(n + 1) + " 0 R" + std::string(250, ']')});
  std::string file = ClassicFile(objects);
  file.replace(file.rfind("/Root 1 0 R"), 11, "/Root 1 0 R /Encrypt 10 0 R");
  TqxCustomPDFDocument document;
  EXPECT_THROW(document.LoadFromMemory(file), EPDFFileCorruptedError);
}

TEST(Document, StreamsAreLeftOutOfResolvedCopies) {
  // /ID names one stream 200 times: each element becomes a null, and the
  // file still opens.
  TqxCustomPDFDocument document;
  ASSERT_TRUE(document.LoadFromFile(kData + "stream_in_id.pdf"));
  const TqxPDFArrayObject* id = document.Trailer().file_identifier.get();
  ASSERT_NE(id, nullptr);
  ASSERT_EQ(id->Count(), 200);
  for (int32_t i = 0; i < id->Count(); ++i) EXPECT_EQ(id->Item(i)->ObjectType(), otNull);
}

TEST(Document, RC4FixturesOpenWithEitherPasswordAndDecrypt) {
  // tree.pdf encrypted with 40-bit and 128-bit RC4 keys (user password
  // "user", owner password "owner").
  struct Case {
    const char* file;
    const char* password;
    TqxPDFEncryptionLevel level;
  };
  const Case cases[] = {{"rc4_40.pdf", "user", el40bit},
                        {"rc4_40.pdf", "owner", el40bit},
                        {"rc4_128.pdf", "user", el128bit},
                        {"rc4_128.pdf", "owner", el128bit}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.password);
    TqxCustomPDFDocument document;
    document.OnPassword = [&](TqxCustomPDFDocument&, std::string& password, bool& go_on, int32_t tries) {
      password = c.password;
      go_on = tries == 0;
    };
    ASSERT_TRUE(document.LoadFromFile(kData + c.file));
    EXPECT_TRUE(document.IsEncrypted());
    EXPECT_EQ(document.Encryption().Level(), c.level);
    EXPECT_EQ(document.Encryption().UserPassword(), "user");
    EXPECT_EQ(document.PageCount(), 3);
    EXPECT_EQ(document.Info().Title, u"Fixture tree");  // a decrypted string
    EXPECT_EQ(PageContent(document, 2), ReadFile(kData + "tree.obj8.qpdf.txt"));  // a decrypted stream
  }
  TqxCustomPDFDocument wrong;
  EXPECT_FALSE(wrong.LoadFromFile(kData + "rc4_128.pdf"));  // only the empty password is tried
}

// The decoded bytes of the catalog's /Metadata stream.
std::string Metadata(TqxCustomPDFDocument& document) {
  TqxPDFStreamObject* stream = document.Store().ResolveStream(document.Catalog().metadata.get());
  if (!stream) return std::string();
  return std::string(DecodeStreamData(stream->DataView(), stream->Dictionary()->Lookup("/Filter"))->View());
}

// Loads with one password; the AES-256 files carry a 1.7 header.
bool LoadWith(TqxCustomPDFDocument& document, const std::string& file, const std::string& password) {
  document.AcceptAnyVersion = true;
  document.OnPassword = [=](TqxCustomPDFDocument&, std::string& pw, bool& go_on, int32_t tries) {
    pw = password;
    go_on = tries == 0;
  };
  return document.LoadFromFile(kData + file);
}

TEST(Document, AESFixturesOpenWithEitherPasswordAndDecrypt) {
  // tree_xmp.pdf encrypted by qpdf (make_fixtures.py): user "user" and owner
  // "owner", or the accented "Grüße" and "Propriétaire" (typed as UTF-8).
  const std::string user_accent = "Gr\xC3\xBC\xC3\x9F" "e", owner_accent = "Propri\xC3\xA9taire";
  struct Case {
    const char* file;
    std::string user, owner;
    const char* method;
    int revision;
  };
  const Case cases[] = {
      {"aes_128.pdf", "user", "owner", "AES-128", 4},
      {"aes_128_clear_meta.pdf", "user", "owner", "AES-128", 4},
      {"aes_128_accent.pdf", user_accent, owner_accent, "AES-128", 4},
      {"aes_256.pdf", "user", "owner", "AES-256", 6},  // object and cross-reference streams
      {"aes_256_clear_meta.pdf", "user", "owner", "AES-256", 6},
      {"aes_256_accent.pdf", user_accent, owner_accent, "AES-256", 6},
      {"aes_256_r5.pdf", "user", "owner", "AES-256", 5},
  };
  TqxCustomPDFDocument plain;
  ASSERT_TRUE(plain.LoadFromFile(kData + "tree_xmp.pdf"));
  const std::string metadata = Metadata(plain);
  ASSERT_NE(metadata.find("Fixture tree"), std::string::npos);
  for (const Case& c : cases) {
    for (bool owner : {false, true}) {
      SCOPED_TRACE(std::string(c.file) + (owner ? " owner" : " user"));
      TqxCustomPDFDocument document;
      ASSERT_TRUE(LoadWith(document, c.file, owner ? c.owner : c.user));
      EXPECT_EQ(document.Decryptor()->MethodName(), c.method);
      EXPECT_EQ(document.Decryptor()->Revision(), c.revision);
      EXPECT_EQ(document.Decryptor()->Owner(), owner);
      EXPECT_EQ(document.PageCount(), 3);
      EXPECT_EQ(document.Info().Title, u"Fixture tree");
      EXPECT_EQ(document.OutlineCount(), plain.OutlineCount());
      EXPECT_EQ(PageContent(document, 2), ReadFile(kData + "tree.obj8.qpdf.txt"));
      EXPECT_EQ(Metadata(document), metadata);
    }
    TqxCustomPDFDocument wrong;
    EXPECT_FALSE(LoadWith(wrong, c.file, "Gr\xC3\xBCsse"));
  }
}

TEST(Document, AStreamWithItsOwnIdentityCryptFilterIsReadInTheClear) {
  // An update replaces page 2's content (object 20) by a stream stored in
  // the clear behind /Crypt with the /Identity filter.
  std::string file = ReadFile(kData + "aes_128.pdf");
  const std::string prev = file.substr(file.rfind("startxref") + 10);
  const size_t offset = file.size();
  file += "20 0 obj\n<< /Filter /Crypt /DecodeParms << /Name /Identity >> /Length 9 >>\n"
          "stream\nBT (x) ET\nendstream\nendobj\n";
  const size_t table = file.size();
  char entry[32];
  std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
  file += "xref\n20 1\n" + std::string(entry) + "trailer\n<< /Size 30 /Prev " + std::to_string(std::stoll(prev)) +
          " >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n";
  TqxCustomPDFDocument document;
  document.OnPassword = [](TqxCustomPDFDocument&, std::string& pw, bool& go_on, int32_t tries) {
    pw = "user";
    go_on = tries == 0;
  };
  ASSERT_TRUE(document.LoadFromMemory(file));
  EXPECT_EQ(PageContent(document, 2), "BT (x) ET");
  EXPECT_EQ(PageContent(document, 1).substr(0, 2), "BT");  // the others still decrypted
}

TEST(Document, AnEncryptedStringThatCannotDecryptIsLostAlone) {
  // The last byte of the encrypted /Title (its padding) changed: the title
  // reads as empty and is counted; the document opens with its pages.
  std::string file = ReadFile(kData + "aes_128.pdf");
  const size_t title = file.find("/Title <", file.find("/Author"));
  ASSERT_NE(title, std::string::npos);
  const size_t last = file.find('>', title) - 1;
  file[last] = file[last] == '0' ? '1' : '0';
  TqxCustomPDFDocument document;
  document.OnPassword = [](TqxCustomPDFDocument&, std::string& pw, bool& go_on, int32_t tries) {
    pw = "user";
    go_on = tries == 0;
  };
  ASSERT_TRUE(document.LoadFromMemory(file));
  EXPECT_GT(document.PageCount(), 0);
  EXPECT_TRUE(document.Info().Title.empty());
  ASSERT_NE(document.Decryptor(), nullptr);
  EXPECT_EQ(document.Decryptor()->DamagedStrings(), 1);
}

class EncryptedDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    VS_NEED_SHARED_DATA("corpus-peer/qpdf/");
  }
};

TEST_F(EncryptedDocument, WrongThenRightPassword) {
  TqxCustomPDFDocument document;
  std::vector<int32_t> tries;
  document.OnPassword = [&](TqxCustomPDFDocument&, std::string& password, bool&, int32_t n) {
    tries.push_back(n);
    password = n == 0 ? "wrong" : "user2";
  };
  ASSERT_TRUE(document.LoadFromFile(kPeer + "c-r3.pdf"));
  EXPECT_THAT(tries, ElementsAre(0, 1));
  EXPECT_TRUE(document.IsEncrypted());
  EXPECT_EQ(document.PageCount(), 30);
  EXPECT_EQ(document.Encryption().Level(), el128bit);
  EXPECT_TRUE(document.Encryption().Locked());
  // The object stream was decrypted with its own number before expanding.
  EXPECT_EQ(PageContent(document, 1), "BT\n  /F1 24 Tf\n  72 720 Td\n  (Potato 0) Tj\nET\n");
}

TEST_F(EncryptedDocument, OwnerPasswordAndFortyBitKeysOfRevisionThree) {
  TqxCustomPDFDocument owner;
  owner.OnPassword = [](TqxCustomPDFDocument&, std::string& password, bool&, int32_t) { password = "owner1"; };
  ASSERT_TRUE(owner.LoadFromFile(kPeer + "c-r2.pdf"));
  EXPECT_EQ(owner.Encryption().UserPassword(), "user1");
  EXPECT_EQ(owner.Encryption().Level(), el40bit);

  TqxCustomPDFDocument r3;
  r3.OnPassword = [](TqxCustomPDFDocument&, std::string& password, bool&, int32_t) { password = "623"; };
  ASSERT_TRUE(r3.LoadFromFile(kPeer + "encrypted-40-bit-R3.pdf"));
  EXPECT_EQ(r3.PageCount(), 1);
}

TEST_F(EncryptedDocument, CancelledOrUnsupportedNeverOpens) {
  TqxCustomPDFDocument document;
  document.OnPassword = [](TqxCustomPDFDocument&, std::string&, bool& go_on, int32_t) { go_on = false; };
  EXPECT_FALSE(document.LoadFromFile(kPeer + "c-r3.pdf"));
  EXPECT_EQ(document.PageCount(), 0);

  // Without a handler only the empty password is tried.
  TqxCustomPDFDocument quiet;
  EXPECT_FALSE(quiet.LoadFromFile(kPeer + "c-r3.pdf"));
  TqxCustomPDFDocument empty_user;
  EXPECT_TRUE(empty_user.LoadFromFile(kPeer + "V4.pdf"));  // revision 4 with an RC4 crypt filter

  TqxCustomPDFDocument aes;
  EXPECT_TRUE(aes.LoadFromFile(kPeer + "V4-aes.pdf"));  // AES-128 crypt filters, empty user password
  EXPECT_EQ(aes.PageCount(), 30);
  EXPECT_EQ(PageContent(aes, 1), "BT\n  /F1 24 Tf\n  72 720 Td\n  (Potato 0) Tj\nET\n");

  // Another security handler is refused before any password is asked for.
  bool asked = false;
  std::string file = ReadFile(kData + "rc4_128.pdf");
  const size_t handler = file.find("/Standard");
  ASSERT_NE(handler, std::string::npos);
  file.replace(handler, 9, "/PubSec  ");
  TqxCustomPDFDocument other;
  other.OnPassword = [&](TqxCustomPDFDocument&, std::string&, bool&, int32_t) { asked = true; };
  EXPECT_THROW(other.LoadFromMemory(file), EUnsupportedEncryption);
  EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace vs
