#pragma once
// The document's encryption settings: filled when an encrypted file is
// opened, and locked after a user-password login so that nobody who lacks
// the owner password can change or read them.
#include <string>

#include "pdf/security/permissions.h"
#include "platform/exception.h"

namespace vs {

class TqxPDFEncryptionSettings {
 public:
  bool Enabled() const { return enabled_; }
  TqxPDFEncryptionLevel Level() const { return level_; }
  // Reads as empty once locked.
  std::string OwnerPassword() const { return locked_ ? std::string() : owner_password_; }
  const std::string& UserPassword() const { return user_password_; }
  TqxUserPermissions UserPermissions() const { return user_permissions_; }
  bool Locked() const { return locked_; }

  // Each setter raises "User cannot change encryption settings" once locked.
  void SetEnabled(bool value);
  void SetLevel(TqxPDFEncryptionLevel value);
  void SetOwnerPassword(const std::string& value);
  void SetUserPassword(const std::string& value);
  void SetUserPermissions(TqxUserPermissions value);
  void Lock() { locked_ = true; }

 private:
  void CheckEditable() const;

  bool enabled_ = false;
  TqxPDFEncryptionLevel level_ = el128bit;
  std::string owner_password_;
  std::string user_password_;
  TqxUserPermissions user_permissions_ = TqxUserPermissions::All();
  bool locked_ = false;
};

}  // namespace vs
