#include "pdf/security/password_text.h"

#include <unicode/usprep.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>

#include "platform/codepage.h"

namespace vs {

namespace {

// UTF-16 of UTF-8 text; nothing when the bytes are not UTF-8.
std::optional<std::u16string> Utf16Of(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
  std::u16string wide(static_cast<size_t>(length), u'\0');
  status = U_ZERO_ERROR;
  u_strFromUTF8(wide.data(), length, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  return wide;
}

std::string Utf8Of(std::u16string_view wide) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strToUTF8(nullptr, 0, &length, wide.data(), static_cast<int32_t>(wide.size()), &status);
  std::string utf8(static_cast<size_t>(length), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(utf8.data(), length, &length, wide.data(), static_cast<int32_t>(wide.size()), &status);
  return U_FAILURE(status) ? std::string() : utf8;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}

void AddOnce(std::vector<std::string>& forms, std::string form) {
  if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(std::move(form));
}

}  // namespace

std::optional<std::string> SaslPrep(std::string_view utf8) {
  // A password is short; longer text than a PDF can use is not prepared.
  constexpr size_t kMaxInput = 4096;
  if (utf8.size() > kMaxInput) return std::nullopt;
  std::optional<std::u16string> wide = Utf16Of(utf8);
  if (!wide) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UStringPrepProfile, void (*)(UStringPrepProfile*)> profile(
      usprep_openByType(USPREP_RFC4013_SASLPREP, &status), usprep_close);
  if (U_FAILURE(status)) return std::nullopt;
  // Normalisation can lengthen text; a few times the input is plenty.
  std::u16string prepared(wide->size() * 4 + 16, u'\0');
  const int32_t length = usprep_prepare(profile.get(), wide->data(), static_cast<int32_t>(wide->size()),
                                        prepared.data(), static_cast<int32_t>(prepared.size()), USPREP_DEFAULT,
                                        nullptr, &status);
  if (U_FAILURE(status)) return std::nullopt;
  prepared.resize(static_cast<size_t>(length));
  return Utf8Of(prepared);
}

std::vector<std::string> LegacyPasswordForms(std::string_view typed) {
  std::vector<std::string> forms{std::string(typed)};
  if (!IsAscii(typed)) {
    if (std::optional<std::u16string> wide = Utf16Of(typed)) {
      // Characters code page 1252 lacks would turn into "?"; such a form is no password.
      std::string ansi = WideToAnsi(*wide);
      if (AnsiToWide(ansi) == *wide) AddOnce(forms, ansi);
    }
  }
  return forms;
}

std::vector<std::string> UnicodePasswordForms(std::string_view typed) {
  std::string utf8 = Utf16Of(typed) ? std::string(typed) : AnsiToUtf8(typed);
  std::vector<std::string> forms;
  if (std::optional<std::string> prepared = SaslPrep(utf8)) forms.push_back(*prepared);
  AddOnce(forms, utf8);
  return forms;
}

}  // namespace vs
