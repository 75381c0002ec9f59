#include "engine/message_box.h"

#include <cstdio>

namespace vs {
namespace {

TqxMessageBoxHandler& Handler() {
  static TqxMessageBoxHandler handler;
  return handler;
}

}  // namespace

TqxMessageBoxHandler SetErrorMessageBoxHandler(TqxMessageBoxHandler handler) {
  TqxMessageBoxHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

void ShowErrorMessageBox(const std::string& message) {
  if (Handler()) {
    Handler()(message);
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
}

}  // namespace vs
