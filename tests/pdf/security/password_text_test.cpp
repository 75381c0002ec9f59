// The forms a typed password is tried in.
#include "pdf/security/password_text.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

using Forms = std::vector<std::string>;

TEST(PasswordText, LegacyRevisionsTryCodePage1252ForUtf8) {
  EXPECT_EQ(LegacyPasswordForms("user"), Forms{"user"});
  EXPECT_EQ(LegacyPasswordForms(""), Forms{""});
  EXPECT_EQ(LegacyPasswordForms("Gr\xC3\xBC\xC3\x9F" "e"), (Forms{"Gr\xC3\xBC\xC3\x9F" "e", "Gr\xFC\xDF" "e"}));
  EXPECT_EQ(LegacyPasswordForms("Gr\xFC\xDF" "e"), Forms{"Gr\xFC\xDF" "e"});  // 1252 already
  EXPECT_EQ(LegacyPasswordForms("\xCE\xB1\xCE\xB2"), Forms{"\xCE\xB1\xCE\xB2"});  // Greek: no 1252 form
}

TEST(PasswordText, UnicodeRevisionsTrySaslPrepFirst) {
  const std::string composed = "Gr\xC3\xBC\xC3\x9F" "e";  // "Grüße", ü as one character
  struct Case {
    const char* name;
    std::string typed;
    Forms forms;
  };
  const Case cases[] = {
      {"ASCII", "user", {"user"}},
      {"empty", "", {""}},
      {"composed", composed, {composed}},
      {"u and a combining diaeresis", "Gru\xCC\x88\xC3\x9F" "e", {composed, "Gru\xCC\x88\xC3\x9F" "e"}},
      {"code page 1252 bytes", "Gr\xFC\xDF" "e", {composed}},
      {"no-break space", "a\xC2\xA0" "b", {"a b", "a\xC2\xA0" "b"}},
      {"soft hyphen", "pass\xC2\xADword", {"password", "pass\xC2\xADword"}},
      {"full-width letters", "\xEF\xBC\xA1" "b", {"Ab", "\xEF\xBC\xA1" "b"}},
      {"a control character, refused by the profile", "a\x07" "b", {"a\x07" "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UnicodePasswordForms(c.typed), c.forms);
  }
}

}  // namespace
}  // namespace vs
