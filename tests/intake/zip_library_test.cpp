#include "intake/zip_library.h"

#include <gtest/gtest.h>

#include <string>

#include "intake/mxl_archive.h"

namespace {

using zelvo::intake::MxlResult;

// A machine without the library refuses compressed scores by that reason,
// instead of calling through missing functions.
TEST(ZipLibrary, WithoutTheLibraryAnArchiveIsRefusedAsUnloadable) {
  const zelvo::intake::ZipLibrary missing = zelvo::intake::load_zip_library("libzip-not-here.so.0");
  EXPECT_FALSE(missing.loaded);
  std::string score = "left alone";
  EXPECT_EQ(zelvo::intake::unpack_mxl(missing, "PK\x03\x04 rest of an archive", score), MxlResult::kNoLibrary);
  EXPECT_EQ(score, "left alone");
}

// The library the build found loads with every function the reader calls,
// and answers a broken archive as libzip does.
TEST(ZipLibrary, TheBuildsLibraryLoadsWhole) {
  const zelvo::intake::ZipLibrary& zip = zelvo::intake::zip_library();
  ASSERT_TRUE(zip.loaded) << zelvo::intake::zip_library_file();
  EXPECT_EQ(&zip, &zelvo::intake::zip_library());
  std::string score;
  EXPECT_EQ(zelvo::intake::unpack_mxl("PK\x03\x04 rest of an archive", score), MxlResult::kBrokenArchive);
}

}  // namespace
