// File keys and passwords of real encrypted files; the expected keys were
// reported by an independent PDF tool for the same files and passwords.
#include "pdf/security/crypt.h"

#include <gtest/gtest.h>

#include "pdf/security/crypt_primitives.h"
#include "pdf/security/security_handler.h"

namespace vs {
namespace {

std::string Hex(std::string_view hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return out;
}

std::string ToHex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) { out += digits[c >> 4]; out += digits[c & 15]; }
  return out;
}

struct FileVector {
  const char* name;
  int version, revision, key_bits;
  int64_t p;
  const char *id, *o, *u;
  const char *user_password, *owner_password;  // nullptr: not known
  const char* file_key;
};

const FileVector kFiles[] = {
    {"c-r2 (R2, 40-bit)", 1, 2, 40, -8, "31415926535897932384626433832795",
     "cfa8d15199a309bdf5a4a29c9bcadacf808df2ea827f6e97ce0966666889ac56",
     "d7a228ec65f5c10278e715e04d0ccc32bbebb2ab9b69f9cc76433e16633616d2", "user1", "owner1", "ca3434c555"},
    {"c-r3 (R3, 128-bit)", 2, 3, 128, -2052, "31415926535897932384626433832795",
     "592497ab8b5ff92458336fbe82fc3b249b2be129617c59a403ffa9727c7743e6",
     "67d9be6955fe883503c895150c5785d70122456a91bae5134273a6db134c87c4", "user2", "owner2",
     "14cb1e1f0379ef8c1a0a02228563bed6"},
    {"R3 with a 40-bit key", 1, 3, 40, -12, "dd22115171e32b2c977f0d40d45c9972",
     "d803dba08ac8e191d78988a674bd14b81801c4a2ac82de11525b69ac42f04589",
     "16a5f5d4a63a2cd3265524fa2248466028bf4e5e4e758a4164004e56fffa0108", "623", nullptr, "e390e220da"},
    {"R4 with an RC4 crypt filter", 4, 4, 128, -4, "66d36a30a97e0f16f39955c6221e0c2a",
     "36451bd39d753b7c1d10922c28e6665aa4f3353fb0348b536893e3b1db5c579b",
     "32c27288b9ec6a4fab94e6188828595c0122456a91bae5134273a6db134c87c4", "", "",
     "474258b004f2ce0017adeb6e79574357"},
    {"R3, user view, owner master", 2, 3, 128, -3104, "66d36a30a97e0f16f39955c6221e0c2a",
     "1d1ff7011663408661b4e24dcc3db7f376f0fb37e02315869a2bc769442d356a",
     "b1b69d3ca429a6fa7a6f27d64de7cd5391f1dd59d88e5b6e5e0a7954217a8f78", "view", "master",
     "6ed8aa237fd871aaafd96f3405d0cdd3"},
};

TqxSecurityValues ValuesOf(const FileVector& v) {
  TqxSecurityValues values;
  values.version = v.version;
  values.revision = v.revision;
  values.key_bits = v.key_bits;
  values.p = v.p;
  values.file_identifier = Hex(v.id);
  values.owner_value = Hex(v.o);
  values.user_value = Hex(v.u);
  return values;
}

TEST(StandardSecurity, PasswordsOfRealFilesGiveTheirFileKeys) {
  for (const FileVector& v : kFiles) {
    SCOPED_TRACE(v.name);
    auto user = MakeDecrypt(ValuesOf(v));
    ASSERT_TRUE(user->CheckUserPassword(v.user_password));
    EXPECT_EQ(ToHex(user->FileKey()), v.file_key);
    EXPECT_FALSE(user->Owner());

    auto wrong = MakeDecrypt(ValuesOf(v));
    std::string recovered;
    EXPECT_FALSE(wrong->CheckUserPassword("not the password"));
    EXPECT_FALSE(wrong->CheckOwnerPassword("not the password", recovered));

    if (!v.owner_password) continue;
    auto owner = MakeDecrypt(ValuesOf(v));
    ASSERT_TRUE(owner->CheckOwnerPassword(v.owner_password, recovered));
    EXPECT_EQ(recovered, v.user_password);
    EXPECT_EQ(ToHex(owner->FileKey()), v.file_key);
    EXPECT_TRUE(owner->Owner());
    EXPECT_EQ(owner->Permissions(), TqxUserPermissions::All());
  }
}

TEST(StandardSecurity, UnsignedPGivesTheSameKeyAsTheNegativeForm) {
  TqxSecurityValues values = ValuesOf(kFiles[1]);
  values.p = 4294967296LL - 2052;
  auto decrypt = MakeDecrypt(values);
  ASSERT_TRUE(decrypt->CheckUserPassword("user2"));
  EXPECT_EQ(ToHex(decrypt->FileKey()), kFiles[1].file_key);
}

TEST(StandardSecurity, DecryptsAStringWithItsObjectKey) {
  // /Title of object 98 0 in a 128-bit file opened with its owner password.
  auto decrypt = MakeDecrypt(ValuesOf(kFiles[4]));
  std::string user;
  ASSERT_TRUE(decrypt->CheckOwnerPassword("master", user));
  EXPECT_EQ(decrypt->Decrypt(Hex("78e370b01b1fa717b43edcd7b0e62040bd0bfd76d9ce"), 98, 0), "Amanda 1.1 -> 11: /Fit");
  TMemoryStream body(Hex("78e370b01b1fa717b43edcd7b0e62040bd0bfd76d9ce"));
  decrypt->DecryptStreamData(body, 98, 0);
  EXPECT_EQ(body.View(), "Amanda 1.1 -> 11: /Fit");
}

TEST(StandardSecurity, ObjectKeysAreKeyLengthPlusFiveBytesAtMostSixteen) {
  auto r2 = MakeDecrypt(ValuesOf(kFiles[0]));
  ASSERT_TRUE(r2->CheckUserPassword("user1"));
  EXPECT_EQ(r2->ObjectKey(7, 0).size(), 10u);
  // MD5(ca3434c555 070000 0000), first 10 bytes.
  EXPECT_EQ(r2->ObjectKey(7, 0), Md5({Hex("ca3434c555"), Hex("070000"), Hex("0000")}).substr(0, 10));
  auto r3 = MakeDecrypt(ValuesOf(kFiles[1]));
  ASSERT_TRUE(r3->CheckUserPassword("user2"));
  EXPECT_EQ(r3->ObjectKey(0x123456, 0x0102).size(), 16u);
  EXPECT_EQ(r3->ObjectKey(0x123456, 0x0102), Md5({r3->FileKey(), Hex("563412"), Hex("0201")}));
}

TEST(StandardSecurity, UserLoginNarrowsPermissionsAndLocksTheSettings) {
  // /P -3104 (...F3E0) clears print (4), modify (8), copy (16), assembly (1024)
  // and high-resolution print (2048).
  auto decrypt = MakeDecrypt(ValuesOf(kFiles[4]));
  TqxPDFEncryptionSettings settings;
  ASSERT_TRUE(AuthenticatePassword(*decrypt, "view", settings));
  TqxUserPermissions expected = TqxUserPermissions::All();
  for (auto cleared : {AllowPrint, AllowModify, AllowCopy, AllowDocAssembly, AllowHighResPrint}) expected.Exclude(cleared);
  EXPECT_EQ(settings.UserPermissions(), expected);
  EXPECT_EQ(settings.UserPassword(), "view");
  EXPECT_EQ(settings.Level(), el128bit);
  EXPECT_TRUE(settings.Locked());
  EXPECT_EQ(settings.OwnerPassword(), "");
  EXPECT_THROW(settings.SetUserPassword("x"), Exception);
}

TEST(StandardSecurity, OwnerLoginReportsTheUserPasswordAndAllPermissions) {
  auto decrypt = MakeDecrypt(ValuesOf(kFiles[0]));
  TqxPDFEncryptionSettings settings;
  ASSERT_TRUE(AuthenticatePassword(*decrypt, "owner1", settings));
  EXPECT_EQ(settings.OwnerPassword(), "owner1");
  EXPECT_EQ(settings.UserPassword(), "user1");
  EXPECT_EQ(settings.UserPermissions(), TqxUserPermissions::All());
  EXPECT_EQ(settings.Level(), el40bit);
  EXPECT_FALSE(settings.Locked());

  auto again = MakeDecrypt(ValuesOf(kFiles[0]));
  TqxPDFEncryptionSettings fresh;
  EXPECT_FALSE(AuthenticatePassword(*again, "wrong", fresh));
}

TEST(StandardSecurity, GeneratedOwnerPasswordCarriesTheTimeStamp) {
  std::string password = GeneratedOwnerPassword();
  ASSERT_GT(password.size(), 8u + 14u);
  EXPECT_EQ(password.substr(0, 8), "Qxantrel");
  EXPECT_TRUE(std::all_of(password.begin() + 8, password.end(), ::isdigit));
}

TEST(StandardSecurity, UnsupportedHandlersAreRefusedUpFront) {
  struct Case {
    const char* name;
    TqxSecurityValues values;
  };
  auto with = [](auto change) {
    TqxSecurityValues v;
    v.version = 4;
    v.revision = 4;
    v.stream_method = v.string_method = "/V2";
    change(v);
    return v;
  };
  const Case refused[] = {
      {"AESV2 streams", with([](auto& v) { v.stream_method = "/AESV2"; })},
      {"AESV3 strings", with([](auto& v) { v.string_method = "/AESV3"; })},
      {"V5", with([](auto& v) { v.version = 5; v.revision = 6; })},
      {"R5 under V4", with([](auto& v) { v.revision = 5; })},
      {"another handler", with([](auto& v) { v.filter = "/Adobe.PubSec"; })},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(CheckSecurityHandler(c.values), EUnsupportedEncryption);
  }
  EXPECT_NO_THROW(CheckSecurityHandler(with([](auto&) {})));
  EXPECT_NO_THROW(CheckSecurityHandler(ValuesOf(kFiles[0])));
}

TEST(StandardSecurity, KeySizeComesFromLength) {
  TqxSecurityValues v;
  EXPECT_EQ(SecurityKeyBits(v), 40);
  v.key_bits = 128;
  EXPECT_EQ(SecurityKeyBits(v), 128);
  v.key_bits.reset();
  v.version = 4;
  v.crypt_filter_key_length = 16;
  EXPECT_EQ(SecurityKeyBits(v), 128);
}

TEST(StandardSecurity, EmptyOwnerOrUserValueIsRefused) {
  TqxSecurityValues v = ValuesOf(kFiles[0]);
  v.owner_value.clear();
  EXPECT_THROW({ try { MakeDecrypt(v); } catch (const Exception& e) { EXPECT_STREQ(e.what(), "Invalid Owner Key."); throw; } }, Exception);
  v = ValuesOf(kFiles[0]);
  v.user_value.clear();
  EXPECT_THROW({ try { MakeDecrypt(v); } catch (const Exception& e) { EXPECT_STREQ(e.what(), "Invalid User Key."); throw; } }, Exception);
}

TEST(Rc4, RefusesKeysOutsideOneTo256Bytes) {
  std::string data = "x";
  EXPECT_THROW(Rc4("", data), Exception);
  EXPECT_THROW(Rc4(std::string(257, 'k'), data), Exception);
  // The classic test vector: key "Key", plaintext "Plaintext".
  std::string text = "Plaintext";
  Rc4("Key", text);
  EXPECT_EQ(ToHex(text), "bbf316e8d940af0ad3");
}

}  // namespace
}  // namespace vs
