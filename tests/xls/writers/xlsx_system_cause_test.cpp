#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cerrno>

#include "xls/writers/xlsx_workbook_writer.h"

namespace vs {
namespace {

// A failed call of the library is put down to the system only where the
// system had a say: no full disk is claimed for a refused value.
TEST(XlsxSystemCause, SaysWhyOnlyWhereTheSystemFailed) {
  const int64_t roomy = int64_t{1} << 30, full = 4096, unknown = -1;
  const struct {
    int error, system;
    int64_t free;
    int cause;
  } cases[] = {
      {LXW_NO_ERROR, ENOSPC, full, 0},
      {LXW_ERROR_ZIP_FILE_OPERATION, ENOSPC, roomy, ENOSPC},  // the zip file's write said why
      {LXW_ERROR_CREATING_TMPFILE, EACCES, roomy, EACCES},
      {LXW_ERROR_ZIP_CLOSE, EIO, unknown, EIO},
      {LXW_ERROR_CREATING_TMPFILE, 0, full, ENOSPC},          // a short write that left errno alone
      {LXW_ERROR_IMAGE_DIMENSIONS, 0, full, ENOSPC},
      {LXW_ERROR_CREATING_TMPFILE, 0, roomy, 0},
      {LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED, ENOENT, roomy, 0},  // a stale errno is not the cause
      {LXW_ERROR_IMAGE_DIMENSIONS, 0, unknown, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(XlsxSystemCause(c.error, c.system, c.free), c.cause) << c.error << " " << c.system << " " << c.free;
}

}  // namespace
}  // namespace vs
