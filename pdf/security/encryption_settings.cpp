#include "pdf/security/encryption_settings.h"

namespace vs {

void TqxPDFEncryptionSettings::CheckEditable() const {
  if (locked_) throw Exception("User cannot change encryption settings");
}

void TqxPDFEncryptionSettings::SetEnabled(bool value) {
  CheckEditable();
  enabled_ = value;
}

void TqxPDFEncryptionSettings::SetLevel(TqxPDFEncryptionLevel value) {
  CheckEditable();
  level_ = value;
}

void TqxPDFEncryptionSettings::SetOwnerPassword(const std::string& value) {
  CheckEditable();
  owner_password_ = value;
}

void TqxPDFEncryptionSettings::SetUserPassword(const std::string& value) {
  CheckEditable();
  user_password_ = value;
}

void TqxPDFEncryptionSettings::SetUserPermissions(TqxUserPermissions value) {
  CheckEditable();
  user_permissions_ = value;
}

}  // namespace vs
