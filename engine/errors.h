#pragma once
// Errors the document engine reports (through OnErrorMessage or by raising).
#include "platform/exception.h"

namespace vs {

class EInvalidPageNumber : public Exception {
 public:
  EInvalidPageNumber() : Exception("Invalid Page Number") {}
};

class EInvalidEngineState : public Exception {
 public:
  EInvalidEngineState() : Exception("Not a valid Engine State identifier") {}
};

class EUnsupportedGraphics : public Exception {
 public:
  EUnsupportedGraphics() : Exception("Unknown Graphics format") {}
};

class EFileCreateError : public Exception {
 public:
  EFileCreateError()
      : Exception("File could not be created!\r\n\r\nPossible cause: It could be in use by some other application") {}
};

}  // namespace vs
