#include "pdf/object_store.h"

#include <gtest/gtest.h>

#include "pdf/errors.h"

namespace vs {

namespace {

std::unique_ptr<TqxPDFIndirectObject> Indirect(int32_t doc, int32_t num, uint16_t gen, TqxPDFObjectPtr value) {
  return std::make_unique<TqxPDFIndirectObject>(doc, std::move(value), gen, num);
}

TqxPDFIndirectReference Ref(int32_t doc, int32_t num, uint16_t gen = 0) { return TqxPDFIndirectReference(doc, gen, num); }

}  // namespace

TEST(ObjectStore, MakeObjectKey) {
  struct Case { int32_t d, n, g, key; };
  const Case cases[] = {
      {1, 12, 0, 1120}, {1, 0, 0, 100}, {2, 5, 10, 2510}, {1, 1, 10, 1110}, {1, 11, 0, 1110},
      // 1 2147483647 0 -> 121474836470, kept to its low 32 bits
      {1, 2147483647, 0, static_cast<int32_t>(121474836470LL & 0xFFFFFFFF)},
      {1, -1, 0, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeObjectKey(c.d, c.n, c.g), c.key) << c.d << " " << c.n << " " << c.g;
}

TEST(ObjectStore, CollidingKeysStayApartAndFirstMatchWins) {
  TqxPDFObjectStore store;
  store.Add(Indirect(1, 1, 10, std::make_unique<TqxPDFIntegerObject>(110)));
  store.Add(Indirect(1, 11, 0, std::make_unique<TqxPDFIntegerObject>(1100)));
  store.Add(Indirect(1, 1, 10, std::make_unique<TqxPDFIntegerObject>(999)));
  EXPECT_EQ(store.Count(), 3);
  auto r1 = Ref(1, 1, 10), r2 = Ref(1, 11, 0), r3 = Ref(2, 11, 0);
  EXPECT_EQ(store.ResolveInteger(&r1)->Value(), 110);
  EXPECT_EQ(store.ResolveInteger(&r2)->Value(), 1100);
  EXPECT_EQ(store.Find(&r3), nullptr);
  EXPECT_EQ(store.IndexOf(1, 11, 0), 1);
  EXPECT_EQ(store.Item(2)->ObjectNumber(), 1);  // insertion order kept
  EXPECT_EQ(store.Item(3), nullptr);
  // Find also takes an indirect object.
  TqxPDFIndirectObject probe(1, nullptr, 0, 11);
  EXPECT_EQ(store.Find(&probe), store.Item(1));
}

TEST(ObjectStore, AddRefusesNothingAndNegativeKeys) {
  TqxPDFObjectStore store;
  EXPECT_THROW(store.Add(nullptr), ENullObjectError);
  EXPECT_THROW(store.Add(Indirect(1, -3, 0, nullptr)), EInvalidID);
  EXPECT_EQ(store.NextObjectNumber(), 1);
  EXPECT_EQ(store.NextObjectNumber(), 2);
  EXPECT_EQ(store.Counter(), 2);
}

TEST(ObjectStore, ResolveRules) {
  TqxPDFObjectStore store;
  auto dict = std::make_unique<TqxPDFDictObject>();
  TqxPDFDictObject* dict_ptr = dict.get();
  store.Add(Indirect(1, 1, 0, std::move(dict)));
  store.Add(Indirect(1, 2, 0, std::make_unique<TqxPDFIndirectReference>(1, 0, 1)));  // a reference to a reference
  store.Add(Indirect(1, 3, 0, std::make_unique<TqxPDFNameObject>("/FlateDecode")));
  store.Add(Indirect(1, 4, 0, std::make_unique<TqxPDFIndirectReference>(1, 0, 5)));  // 4 -> 5 -> 4
  store.Add(Indirect(1, 5, 0, std::make_unique<TqxPDFIndirectReference>(1, 0, 4)));
  store.Add(Indirect(1, 6, 0, std::make_unique<TqxPDFNullObject>()));

  auto to1 = Ref(1, 1), to2 = Ref(1, 2), to3 = Ref(1, 3), loop = Ref(1, 4), absent = Ref(1, 99), to6 = Ref(1, 6);
  EXPECT_EQ(store.Resolve(nullptr), nullptr);
  EXPECT_EQ(store.Resolve(&to2), dict_ptr);
  EXPECT_EQ(store.Resolve(store.Item(0)), dict_ptr);
  EXPECT_EQ(store.Resolve(&absent), nullptr);
  EXPECT_EQ(store.Resolve(&loop), nullptr);
  EXPECT_EQ(store.ResolveDict(&to1), dict_ptr);
  EXPECT_EQ(store.ResolveDict(&absent), nullptr);
  EXPECT_EQ(store.ResolveStream(nullptr), nullptr);
  try {
    store.ResolveString(&to1);
    FAIL();
  } catch (const EUnexpectedObjectError& e) {
    EXPECT_STREQ(e.what(), "Unexpected PDF object encountered");
  }

  TqxResolvedArray single = store.ResolveArray(&to3);
  ASSERT_TRUE(single);
  EXPECT_EQ(single->Count(), 1);
  EXPECT_EQ(As<TqxPDFNameObject>(single->Item(0))->Text(), "/FlateDecode");
  EXPECT_NE(single.ReleaseOwned(), nullptr);  // the caller owns the new array
  EXPECT_FALSE(store.ResolveArray(&to6));
  TqxPDFArrayObject held;
  TqxResolvedArray found = store.ResolveArray(&held);
  EXPECT_EQ(found.get(), &held);
  EXPECT_EQ(found.ReleaseOwned(), nullptr);
  EXPECT_THROW(store.ResolveArray(&to1), EUnexpectedObjectError);
}

TEST(ObjectStore, DocumentNumbersIncrease) {
  int32_t a = NextDocumentNumber();
  EXPECT_GT(a, 0);
  EXPECT_EQ(NextDocumentNumber(), a + 1);
}

}  // namespace vs
