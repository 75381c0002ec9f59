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
  const char *oe = "", *ue = "", *perms = "";  // revisions 5 and 6
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
    {"R6 (AES-256), user empty, owner master", 5, 6, 256, -2368, "7f25422ce0bde941bb4347fd74e2b041",
     "323c4d27ca11c598be1a8a05328b60cc4049eff0582b249511f1eb9311bf3d4aefad369cae86da4d84b8c2cddd329a30",
     "f591296384b58adba5b86b2b3ad1280ccadb51c9d69d759a5a2cd85ffdcce460b3e04fda6b7a8e174d5f863bf1917416", "",
     "master", "8edee18db1083497a3ef3c2b3cd28b38e8f64d73d1e4d473fa0b700eae29e3af",
     "3323c10e59bb16d4cffd10e265ceca4c3467fde70b514dc34d3e80d547d49177",
     "6f3b9fb151bba52534c6cd97827a7e9ef7a04b1fddaed8c1281065589541bf01", "8f83cc37798717586d6837b4d9d86457"},
    {"R5 (AES-256), user user, owner owner", 5, 5, 256, -4, "31415926535897932384626433832795",
     "052819e467e06a4acc9cbd9c9b9d2f1d584b0f0b994410205597feb917b4046aeaaa308769d190c5d67d93df4b675a94",
     "c3fa2121b6feed81a6adcb21a67e4d333e701076332dbde54fc7ea8d13d7b20b7d2401efc1a0c8f68b1df71d9902a5ec", "user",
     "owner", "ba97ddeee9d6c6d6d90183073a025e28d37cacdfee014680af82fbbe34685d6a",
     "8dcb85bc854208f305a16e69aaedd4ed541b3f7b7d8170ca8f3579f8926ead55",
     "36ca78d02c41c5f9f8f992f01f3d527b316d988f5f75d0ee54e9d67385c413d8", "b208bf4345f01346c6c6368c8a09ce06"},
};
const FileVector& kRevision6 = kFiles[5];

TqxSecurityValues ValuesOf(const FileVector& v) {
  TqxSecurityValues values;
  values.version = v.version;
  values.revision = v.revision;
  values.key_bits = v.key_bits;
  values.p = v.p;
  values.file_identifier = Hex(v.id);
  values.owner_value = Hex(v.o);
  values.user_value = Hex(v.u);
  values.owner_key = Hex(v.oe);
  values.user_key = Hex(v.ue);
  values.perms = Hex(v.perms);
  if (v.version == 5) values.stream_method = values.string_method = "/AESV3";
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
    // Revisions 5 and 6 keep only a hash of the user password.
    EXPECT_EQ(recovered, v.revision >= 5 ? "" : v.user_password);
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

TEST(StandardSecurity, DecryptsAES128WithSaltedObjectKeys) {
  // /Title of object 7 0 in a revision 4 file with an /AESV2 crypt filter;
  // its keys are those of kFiles[3].
  TqxSecurityValues values = ValuesOf(kFiles[3]);
  values.stream_method = values.string_method = "/AESV2";
  auto decrypt = MakeDecrypt(values);
  ASSERT_TRUE(decrypt->CheckUserPassword(""));
  EXPECT_EQ(decrypt->MethodName(), "AES-128");
  EXPECT_EQ(decrypt->Decrypt(Hex("0e1c2a38465462707e8c9aa8b6c4d2e01aab63c49ef4a1b1c1be421714d196a2"
                                 "41c3db586c7b1a023de3fad2ee034155"), 7, 0),
            "Trepak 2 -> 15: /XYZ 66 756 3");
  EXPECT_EQ(decrypt->ObjectKey(7, 0, true), Md5({decrypt->FileKey(), Hex("070000"), Hex("0000"), "sAlT"}));
}

TEST(StandardSecurity, DamagedAES256ValuesAreDamageNotAWrongPassword) {
  // A wrong password is false; values that no password can satisfy are
  // the reader's damage error.
  struct Case {
    const char* name;
    void (*damage)(TqxSecurityValues&);
    bool wrong_password;  // else EDecryptionError
  };
  const Case cases[] = {
      {"/U hash", [](TqxSecurityValues& v) { v.user_value[0] ^= 1; }, true},
      {"/U validation salt", [](TqxSecurityValues& v) { v.user_value[33] ^= 1; }, true},
      {"/UE", [](TqxSecurityValues& v) { v.user_key[5] ^= 1; }, false},
      {"/UE cut short", [](TqxSecurityValues& v) { v.user_key.resize(31); }, false},
      {"/Perms", [](TqxSecurityValues& v) { v.perms[10] ^= 1; }, false},
      {"/Perms missing", [](TqxSecurityValues& v) { v.perms.clear(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TqxSecurityValues values = ValuesOf(kRevision6);
    c.damage(values);
    auto decrypt = MakeDecrypt(values);
    if (c.wrong_password)
      EXPECT_FALSE(decrypt->CheckUserPassword(""));
    else
      EXPECT_THROW(decrypt->CheckUserPassword(""), EDecryptionError);
  }
  TqxSecurityValues short_u = ValuesOf(kRevision6);
  short_u.user_value.resize(47);
  EXPECT_THROW(MakeDecrypt(short_u), Exception);
}

TEST(StandardSecurity, AChangedPOnlyIsNotedAndTheFileOpens) {
  // /Perms still holds "adb" under the file key: the key is good.
  TqxSecurityValues values = ValuesOf(kRevision6);
  values.p = -4;
  auto changed = MakeDecrypt(values);
  ASSERT_TRUE(changed->CheckUserPassword(""));
  EXPECT_TRUE(changed->PermsDisagree());
  auto intact = MakeDecrypt(ValuesOf(kRevision6));
  ASSERT_TRUE(intact->CheckUserPassword(""));
  EXPECT_FALSE(intact->PermsDisagree());
}

TEST(StandardSecurity, ADamagedStringIsLostAloneAndCounted) {
  auto decrypt = MakeDecrypt(ValuesOf(kRevision6));
  ASSERT_TRUE(decrypt->CheckUserPassword(""));
  const std::string iv = "0123456789abcdef";
  const std::string sealed = iv + AesCbcEncrypt(decrypt->FileKey(), iv, "hello" + std::string(11, '\x0b'));
  const std::string damaged[] = {
      sealed.substr(0, 20),                                                       // not whole blocks
      iv + AesCbcEncrypt(decrypt->FileKey(), iv, "hello" + std::string(11, '\0')),  // bad padding
  };
  for (const std::string& data : damaged) EXPECT_EQ(decrypt->Decrypt(data, 5, 0), "");
  EXPECT_EQ(decrypt->Decrypt(sealed, 5, 0), "hello");  // the next string reads as ever
  EXPECT_EQ(decrypt->DamagedStrings(), 2);
}

TEST(AesPayload, IvThenBlocksWithPadding) {
  const std::string key(16, 'k'), iv = "0123456789abcdef";
  auto sealed = [&](std::string plain) { return iv + AesCbcEncrypt(key, iv, plain); };
  EXPECT_EQ(AesDecryptPayload(key, sealed("hello" + std::string(11, '\x0b'))), "hello");
  EXPECT_EQ(AesDecryptPayload(key, sealed(std::string(16, '\x10'))), "");
  EXPECT_EQ(AesDecryptPayload(key, iv), "");  // the IV alone
  EXPECT_EQ(AesDecryptPayload(key, sealed("hello" + std::string(11, '\x0b')) + "\r\n"), "hello");
  const std::string damaged[] = {
      "", iv.substr(0, 15), sealed(std::string(16, '\x10')) + "x",  // not whole blocks
      sealed("hello" + std::string(11, '\0')),                       // padding 0
      sealed("hello" + std::string(11, '\x11')),                     // padding beyond a block
      sealed("hello" + std::string(10, '\x0a') + "\x0b"),            // padding bytes that disagree
  };
  for (const std::string& data : damaged) EXPECT_THROW(AesDecryptPayload(key, data), EDecryptionError);
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
  auto aes256 = [](TqxSecurityValues& v) {
    v.version = 5;
    v.revision = 6;
    v.stream_method = v.string_method = "/AESV3";
  };
  const Case refused[] = {
      {"AESV3 strings under V4", with([](auto& v) { v.string_method = "/AESV3"; })},
      {"AESV2 under V5", with([&](auto& v) { aes256(v); v.stream_method = "/AESV2"; })},
      {"an unknown method", with([](auto& v) { v.embedded_method = "/AESV9"; })},
      {"a /CF entry with an unknown method", with([](auto& v) { v.named_methods = {{"/Mine", "/Secret"}}; })},
      {"a filter /CF does not define", with([](auto& v) { v.stream_method = "?"; })},
      {"R7", with([&](auto& v) { aes256(v); v.revision = 7; })},
      {"R5 under V4", with([](auto& v) { v.revision = 5; })},
      {"V5 with R4", with([&](auto& v) { aes256(v); v.revision = 4; })},
      {"another handler", with([](auto& v) { v.filter = "/Adobe.PubSec"; })},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(CheckSecurityHandler(c.values), EUnsupportedEncryption);
  }
  const Case accepted[] = {
      {"RC4 crypt filters", with([](auto&) {})},
      {"AESV2 streams, identity strings",
       with([](auto& v) { v.stream_method = "/AESV2"; v.string_method = "/Identity"; })},
      {"AES-256 revision 6", with(aes256)},
      {"AES-256 revision 5", with([&](auto& v) { aes256(v); v.revision = 5; })},
      {"revision 2", ValuesOf(kFiles[0])},
  };
  for (const Case& c : accepted) {
    SCOPED_TRACE(c.name);
    EXPECT_NO_THROW(CheckSecurityHandler(c.values));
  }
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
