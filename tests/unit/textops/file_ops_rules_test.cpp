// The portable rules that the file and profile wrappers apply to their texts.
#include "textops/file_ops.h"

#include <gtest/gtest.h>

namespace soundboard {
namespace {

TEST(FileOpsRules, ProfileArgumentsLoseLeadingControlBytesAndSpaces) {
  struct Case {
    std::string_view text;
    std::string_view trimmed;
  };
  const Case cases[] = {
      {"", ""},
      {"   ", ""},
      {" \t\r\n\x01\x1F\x20", ""},
      {"  key", "key"},
      {"\tkey  ", "key  "},  // only the front
      {"k e y", "k e y"},
      {"\x21key", "\x21key"},
      {"\x7F key", "\x7F key"},
      {" 音乐", "音乐"},
      {"\xA1\xA1x", "\xA1\xA1x"},  // a GBK full-width space is no control byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrimProfileArgument(c.text), c.trimmed) << testing::PrintToString(std::string(c.text));
  }
}

TEST(FileOpsRules, FolderGetsExactlyOneTrailingBackslash) {
  struct Case {
    std::string_view folder;
    std::string_view result;
  };
  const Case cases[] = {
      {"", ""},
      {"C:\\Users\\ann\\AppData\\Roaming", "C:\\Users\\ann\\AppData\\Roaming\\"},
      {"C:\\Users\\ann\\AppData\\Roaming\\", "C:\\Users\\ann\\AppData\\Roaming\\"},
      {"C:\\", "C:\\"},
      // 運 ends in the byte 5C, which is not a "\" there.
      {"C:\\Users\\運", "C:\\Users\\運\\"},
      {"C:\\Users\\運\\", "C:\\Users\\運\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithTrailingBackslash(c.folder), c.result) << testing::PrintToString(std::string(c.folder));
  }
}

}  // namespace
}  // namespace soundboard
