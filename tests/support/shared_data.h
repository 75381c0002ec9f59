#pragma once
// The shared test data (VS_SHARED_DIR: ../shared beside the clone). A plain
// clone has none: a test that reads it is skipped with a message saying so,
// unless VS_REQUIRE_SHARED is set (CI), where its absence fails the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#define VS_NEED_SHARED_DATA(relative)                                                                          \
  do {                                                                                                         \
    const std::string vs_needed = std::string(VS_SHARED_DIR) + "/" + (relative);                               \
    if (!std::filesystem::exists(vs_needed)) {                                                                 \
      if (std::getenv("VS_REQUIRE_SHARED")) FAIL() << "the shared test data is missing: " << vs_needed;        \
      GTEST_SKIP() << "needs the shared test data at " << vs_needed << " (../shared beside the clone)";        \
    }                                                                                                          \
  } while (0)
