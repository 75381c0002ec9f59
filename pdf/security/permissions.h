#pragma once
// What a user may do with an encrypted document, and the key strengths of the
// standard security handler.
#include <cstdint>

namespace vs {

enum TqxUserPermissionsType : uint8_t {
  AllowCopy,
  AllowModify,
  AllowPrint,
  AllowAnnotation,
  AllowFormFill,
  AllowAccessibility,
  AllowDocAssembly,
  AllowHighResPrint,
};

// A set of TqxUserPermissionsType, bit i standing for value i.
class TqxUserPermissions {
 public:
  constexpr TqxUserPermissions() = default;
  static constexpr TqxUserPermissions All() { return TqxUserPermissions(0xFF); }
  static constexpr TqxUserPermissions None() { return TqxUserPermissions(0); }
  constexpr explicit TqxUserPermissions(uint8_t bits) : bits_(bits) {}

  constexpr bool Has(TqxUserPermissionsType p) const { return (bits_ >> p) & 1; }
  constexpr void Include(TqxUserPermissionsType p) { bits_ |= uint8_t(1u << p); }
  constexpr void Exclude(TqxUserPermissionsType p) { bits_ &= uint8_t(~(1u << p)); }
  constexpr void Set(TqxUserPermissionsType p, bool on) { on ? Include(p) : Exclude(p); }
  constexpr uint8_t Bits() const { return bits_; }
  constexpr bool operator==(const TqxUserPermissions&) const = default;

 private:
  uint8_t bits_ = 0xFF;
};

enum TqxPDFEncryptionLevel : uint8_t { el40bit, el128bit };

}  // namespace vs
