#include "app/program_directory.h"

#include <gtest/gtest.h>

namespace soundboard {
namespace {

TEST(ProgramDirectory, IsEverythingBeforeTheLastBackslash) {
  struct Case {
    std::string modulePath;
    std::string directory;
  };
  const Case cases[] = {
      {"C:\\Tools\\board.exe", "C:\\Tools"},
      {"C:\\board.exe", "C:"},
      {"board.exe", ""},
      {"", ""},
      {"\\board.exe", ""},
      {"D:\\a\\b\\c\\board.exe", "D:\\a\\b\\c"},
      // 運 is DF 5C in GBK: its second byte is no separator.
      {"C:\\\xDF\x5C\\board.exe", "C:\\\xDF\x5C"},
      {"C:\\\xDF\x5C" "board.exe", "C:"},
      {"C:\\x\\運\\board.exe", "C:\\x\\運"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramDirectoryFromModulePath(c.modulePath), c.directory) << c.modulePath;
  }
}

TEST(ProgramDirectory, SourceTextsAreGbk) {
  EXPECT_EQ(std::string("運"), "\xDF\x5C");
}

}  // namespace
}  // namespace soundboard
