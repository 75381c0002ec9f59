#include "platform/shared_library.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(SharedLibrary, FindsFunctionsAndSaysWhatIsMissing) {
  TSharedLibrary c("libc.so.6");
  EXPECT_NE(c.Function("strlen"), nullptr);
  EXPECT_TRUE(c.Failure().empty());
  EXPECT_EQ(c.Function("no_such_function_here"), nullptr);
  EXPECT_NE(c.Failure().find("no_such_function_here"), std::string::npos);

  TSharedLibrary missing("libno-such-library.so.0");
  EXPECT_EQ(missing.Function("strlen"), nullptr);
  EXPECT_NE(missing.Failure().find("libno-such-library.so.0"), std::string::npos);
}

}  // namespace
}  // namespace vs
