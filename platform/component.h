#pragma once
// The base of the PDF document and of the document engines.
#include <string>

namespace vs {

// Base of the PDF document and of the document engines. About and Version
// show fixed texts; writing them has no effect.
class TqxComponent {
 public:
  virtual ~TqxComponent() = default;
  std::string About() const { return "Vellumsheet PDF and spreadsheet components"; }
  void SetAbout(const std::string&) {}
  std::string Version() const { return "1.0"; }
  void SetVersion(const std::string&) {}
};

}  // namespace vs
