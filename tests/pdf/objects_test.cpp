#include "pdf/objects.h"

#include <gtest/gtest.h>

#include "pdf/errors.h"

namespace vs {

namespace {

// Counts destructions, to see what a container destroys.
struct Tracked : TqxPDFNullObject {
  explicit Tracked(int* deaths) : deaths_(deaths) {}
  ~Tracked() override { ++*deaths_; }
  int* deaths_;
};

}  // namespace

TEST(PDFString, ContentAndWideContent) {
  struct Case { std::string text; bool hex; std::u16string wide; };
  const Case cases[] = {
      {"<FEFF0041>", true, u"A"},
      {"<41>", true, u"A"},
      {"<feff00410042FEFF0043>", true, u"ABC"},  // a further mark is skipped
      {"<FEFF0041.0042>", true, u"A.B"},
      {"<FEFF 00 41>", true, u"A"},
      {"<FEFF004>", true, u""},                  // an incomplete group is dropped
      {"<48 69>", true, u"Hi"},
      {"(caf\xE9)", false, u"caf\u00E9"},
      {"()", false, u""},
      {"", false, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(TqxPDFStringObject(c.text, c.hex).WideContent(), c.wide) << c.text;
  EXPECT_EQ(TqxPDFStringObject("(a)b)").Content(), "a)b");
  EXPECT_EQ(TqxPDFStringObject("x").Content(), "");
}

TEST(PDFName, KeptAsWritten) {
  TqxPDFNameObject name("/A#20B");
  EXPECT_EQ(name.Text(), "/A#20B");
  EXPECT_EQ(name.NameWithoutSlash(), "A#20B");
  TqxPDFDictObject dict;
  dict.AddInteger("/A#20B", 1);
  EXPECT_EQ(dict.IndexOf("/A B"), -1);
  EXPECT_EQ(dict.IndexOf("/A#20B"), 0);
  EXPECT_EQ(dict.IndexOf("A#20B"), -1);  // the "/" is part of the key
}

TEST(PDFArray, ItemsInsertAndSetItem) {
  TqxPDFArrayObject array;
  array.AddInteger(1);
  array.Add(std::make_unique<TqxPDFNameObject>("/N"));
  EXPECT_EQ(array.Item(-1), nullptr);
  EXPECT_EQ(array.Item(array.Count()), nullptr);
  array.Insert(0, std::make_unique<TqxPDFBooleanObject>(true));
  EXPECT_EQ(array.Item(0)->ObjectType(), otBoolean);
  EXPECT_THROW(array.Insert(5, nullptr), EListError);

  int deaths = 0;
  array.Add(std::make_unique<Tracked>(&deaths));
  TqxPDFObjectPtr old = array.SetItem(3, std::make_unique<TqxPDFNullObject>());
  EXPECT_EQ(deaths, 0);  // handed back, not destroyed
  old.reset();
  EXPECT_EQ(deaths, 1);
  EXPECT_THROW(array.SetItem(4, nullptr), EListError);
}

TEST(PDFDict, SetValueDestroysSetValueAtHandsBack) {
  int deaths = 0;
  TqxPDFDictObject dict;
  dict.AddObject("/K", std::make_unique<Tracked>(&deaths));
  dict.SetInteger("/K", 5);
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(As<TqxPDFIntegerObject>(dict.Lookup("/K"))->Value(), 5);
  EXPECT_EQ(dict.Count(), 1);

  dict.SetValue("/T", std::make_unique<Tracked>(&deaths));
  TqxPDFObjectPtr old = dict.SetValueAt(1, std::make_unique<TqxPDFNullObject>());
  EXPECT_EQ(deaths, 1);
  EXPECT_NE(As<TqxPDFNullObject>(old.get()), nullptr);
  try {
    dict.SetValueAt(2, nullptr);
    FAIL();
  } catch (const EInvalidIndex& e) {
    EXPECT_STREQ(e.what(), "Index Out Of Bounds!");
  }
}

TEST(PDFDict, AddersDeleteAndMerge) {
  TqxPDFDictObject dict;
  dict.AddName("/Type", "/Page");
  dict.AddName("/Empty", "");  // skipped
  dict.AddInteger("/N", 1);
  dict.AddInteger("/N", 2);    // plain adds allow duplicates
  dict.AddInt64("/Big", int64_t{1} << 40);
  dict.AddReal("/R", 0.5);
  EXPECT_EQ(dict.Count(), 5);
  EXPECT_EQ(dict.IndexOf("/Empty"), -1);
  EXPECT_EQ(As<TqxPDFIntegerObject>(dict.Lookup("/N"))->Value(), 1);
  dict.Delete("/N");
  EXPECT_EQ(As<TqxPDFIntegerObject>(dict.Lookup("/N"))->Value(), 2);
  dict.Delete("/Absent");
  dict.DeleteAt(99);
  EXPECT_EQ(dict.Count(), 4);

  TqxPDFDictObject other;
  other.SetName("/Type", "/Pages");
  other.SetBoolean("/New", true);
  dict.Merge(other);
  EXPECT_EQ(As<TqxPDFNameObject>(dict.Lookup("/Type"))->Text(), "/Pages");
  EXPECT_NE(dict.Lookup("/New"), other.Lookup("/New"));  // merged as copies
  EXPECT_EQ(dict.KeyAt(0)->Text(), "/Type");
  EXPECT_EQ(dict.KeyAt(9), nullptr);
}

TEST(PDFObject, CloneIsDeepAndIndependent) {
  auto dict = std::make_unique<TqxPDFDictObject>();
  auto inner = std::make_unique<TqxPDFArrayObject>();
  inner->AddInteger(7);
  inner->Add(std::make_unique<TqxPDFStringObject>("<41>", true));
  dict->AddObject("/A", std::move(inner));
  dict->AddObject("/R", std::make_unique<TqxPDFIndirectReference>(3, 2, 9));
  TqxPDFStreamObject stream(std::move(dict), std::make_unique<TMemoryStream>("data"));
  TqxPDFIndirectObject object(3, stream.Clone(), 1, 12, 1);
  object.AddUse();

  auto copy = object.Clone();
  auto* ind = As<TqxPDFIndirectObject>(copy.get());
  ASSERT_NE(ind, nullptr);
  EXPECT_EQ(ind->UseCount(), 2);
  EXPECT_EQ(ind->ObjectNumber(), 12);
  EXPECT_EQ(ind->Generation(), 1);
  auto* s = As<TqxPDFStreamObject>(ind->Value());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Data()->View(), "data");
  // Changing the original leaves the copy alone.
  As<TqxPDFStreamObject>(object.Value())->Data()->Bytes()[0] = 'X';
  As<TqxPDFStreamObject>(object.Value())->Dictionary()->Delete("/A");
  EXPECT_EQ(s->Data()->View(), "data");
  auto* a = As<TqxPDFArrayObject>(s->Dictionary()->Lookup("/A"));
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(As<TqxPDFStringObject>(a->Item(1))->IsHex());
  auto* r = As<TqxPDFIndirectReference>(s->Dictionary()->Lookup("/R"));
  EXPECT_EQ(r->DocumentNumber(), 3);
  EXPECT_EQ(r->Generation(), 2);
  EXPECT_EQ(r->ObjectNumber(), 9);
}

TEST(PDFStream, BodyViewsStayInTheFileBytesUntilUsed) {
  // Reverses the bytes and counts its calls.
  struct CountingDecryptor : TqxDecryptor {
    std::string Decrypt(std::string_view data, int32_t, int32_t) override {
      ++calls;
      return std::string(data.rbegin(), data.rend());
    }
    int calls = 0;
  };
  auto bytes = TqxFileBytes::Copy("<<>>hello world>>");
  const std::string_view body = bytes->View().substr(4, 11);

  TqxPDFStreamObject plain(std::make_unique<TqxPDFDictObject>());
  EXPECT_FALSE(plain.HasData());
  EXPECT_EQ(plain.Data(), nullptr);
  EXPECT_TRUE(plain.DataView().empty());
  plain.SetBodyView({bytes, body, nullptr, -1, -1});
  EXPECT_TRUE(plain.HasData());
  EXPECT_EQ(plain.DataView().data(), body.data());  // no copy
  TqxPDFObjectPtr copy = plain.Clone();
  EXPECT_EQ(As<TqxPDFStreamObject>(copy.get())->DataView().data(), body.data());  // the copy shares the view
  ASSERT_NE(plain.Data(), nullptr);
  EXPECT_EQ(plain.Data()->View(), "hello world");
  EXPECT_NE(plain.DataView().data(), body.data());  // from now on its own bytes

  // An encrypted body is decrypted once, where it is first used; the view
  // keeps the bytes alive after their last other owner has gone.
  auto decryptor = std::make_shared<CountingDecryptor>();
  TqxPDFStreamObject secret(std::make_unique<TqxPDFDictObject>());
  secret.SetBodyView({bytes, body, decryptor, 5, 0});
  bytes.reset();
  EXPECT_EQ(decryptor->calls, 0);
  EXPECT_EQ(secret.DataView(), "dlrow olleh");
  EXPECT_EQ(secret.Data()->View(), "dlrow olleh");
  EXPECT_EQ(decryptor->calls, 1);
  std::unique_ptr<TMemoryStream> released = secret.ReleaseData();
  EXPECT_EQ(released->View(), "dlrow olleh");
  EXPECT_FALSE(secret.HasData());
}

TEST(PDFObject, TypeCodesAndNames) {
  EXPECT_EQ(TqxPDFInt64Object(1).ObjectType(), 2);
  EXPECT_EQ(TqxPDFIndirectObject(1, nullptr, 0, 1).ObjectType(), 11);
  EXPECT_EQ(ObjectTypeName(otIndirectReference), "IndirectReference Object");
  EXPECT_EQ(ObjectTypeName(otInt64), "Int64 Object");
  EXPECT_EQ(ObjectTypeName(otDictionary), "Dictionary Object");
  EXPECT_EQ(TqxPDFIndirectObject(1, nullptr, 0, 1).UseCount(), 0);
}

TEST(PDFErrors, Messages) {
  struct Case { std::string actual, expected; };
  const Case cases[] = {
      {EStringReadError("x").Message(), "Error reading PDF string (x)"},
      {EUnsupportedVersion("%PDF-1.7").Message(), "Unsupported PDF Version (%PDF-1.7)"},
      {EUnsupportedFilterError().Message(), "Unsupported filter"},
      {EUnsupportedFilterError("/JBIG2Decode").Message(), "Unsupported filter (/JBIG2Decode)"},
      {EFileNotFound("a.pdf").Message(), "a.pdf File Not Found"},
      {EInvalidPageError(3).Message(), "Invalid page number (3)"},
      {EInvalidPageError::Range("2-1").Message(), "Invalid page range (2-1)"},
      {ECrossReferenceError().Message(), "Error reading cross-referenece table"},
      {EPDFUnexpectedObjectError().Message(), "Unexpected PDF object encountered"},
      {EUnexpectedError().Message(), "Unexpected Error"},
      {EUnexpectedError(kMsgUnexpectedObject).Message(), "Unexpected PDF object encountered"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
  EXPECT_THROW(throw EPDFUnexpectedObjectError(), EPDFException);
  EXPECT_THROW(throw EReadError(), TqxException);
}

}  // namespace vs
