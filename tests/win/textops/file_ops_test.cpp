// The file, folder and profile operations against the real Windows services.
#include "textops/file_ops.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include "temp_folder_win.h"

namespace soundboard {
namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// --- Profile values

class ProfileValue : public testing::Test {
 protected:
  TempFolder folder_;
  const std::string ini_ = folder_ / "music.ini";
};

TEST_F(ProfileValue, WriterGivesOneLinePerEntryUnderItsSection) {
  struct Step {
    const char* section;
    const char* key;
    const char* value;
    const char* fileAfter;
  };
  const Step steps[] = {
      // A new file: the header line and the entry line.
      {"音乐", "song", "C:\\Music\\song.mp3", "[音乐]\r\nsong=C:\\Music\\song.mp3\r\n"},
      // A new name: a new line at the end of the section.
      {"音乐", "intro", "D:\\Show\\intro.wav", "[音乐]\r\nsong=C:\\Music\\song.mp3\r\nintro=D:\\Show\\intro.wav\r\n"},
      // An existing name keeps its line, which gets the new path.
      {"音乐", "song", "E:\\song.mp3", "[音乐]\r\nsong=E:\\song.mp3\r\nintro=D:\\Show\\intro.wav\r\n"},
  };
  for (const Step& s : steps) {
    EXPECT_TRUE(WriteProfileValue(ini_, s.section, s.key, s.value)) << s.key;
    EXPECT_EQ(FileBytes(ini_), s.fileAfter) << s.key;
  }
}

TEST_F(ProfileValue, WriterAddsAMissingSectionWithItsHeader) {
  ASSERT_TRUE(PutFileBytes(ini_, "[其他]\r\na=1\r\n"));
  EXPECT_TRUE(WriteProfileValue(ini_, "音乐", "song", "C:\\Music\\song.mp3"));
  EXPECT_EQ(FileBytes(ini_), "[其他]\r\na=1\r\n[音乐]\r\nsong=C:\\Music\\song.mp3\r\n");
}

TEST_F(ProfileValue, WriterNeverDeletesForAnEmptyKeyOrValue) {
  ASSERT_TRUE(WriteProfileValue(ini_, "音乐", "song", "C:\\Music\\song.mp3"));
  EXPECT_TRUE(WriteProfileValue(ini_, "音乐", "song", ""));
  EXPECT_EQ(FileBytes(ini_), "[音乐]\r\nsong=\r\n");
  std::string before = FileBytes(ini_);
  WriteProfileValue(ini_, "音乐", "", "C:\\x.mp3");
  // The section and its entry are still there, whatever form the service
  // gives the empty name.
  std::string after = FileBytes(ini_);
  EXPECT_EQ(after.substr(0, before.size()), before);
  EXPECT_NE(after.find("=C:\\x.mp3"), std::string::npos) << after;
}

TEST_F(ProfileValue, ReaderFindsValuesAndGivesEmptyForWhatIsMissing) {
  ASSERT_TRUE(PutFileBytes(ini_, "[音乐]\r\nsong=C:\\Music\\song.mp3\r\n[其他]\r\nx=1\r\n"));
  EXPECT_EQ(ReadProfileValue(ini_, "音乐", "song"), "C:\\Music\\song.mp3");
  EXPECT_EQ(ReadProfileValue(ini_, "音乐", "x"), "");
  EXPECT_EQ(ReadProfileValue(ini_, "其他", "x"), "1");
  EXPECT_EQ(ReadProfileValue(ini_, "无", "song"), "");
  EXPECT_EQ(ReadProfileValue(folder_ / "missing.ini", "音乐", "song"), "");
  // The three texts lose their leading spaces and control bytes.
  EXPECT_EQ(ReadProfileValue("  " + ini_, "\t音乐", " \r\nsong"), "C:\\Music\\song.mp3");
}

TEST_F(ProfileValue, ReaderDoesNotConsultTheFileForAnEmptyKey) {
  // The service itself reads a key of spaces as the empty name, so this file
  // would answer "there" if it were consulted.
  ASSERT_TRUE(PutFileBytes(ini_, "[音乐]\r\n=there\r\n"));
  char direct[64] = {};
  GetPrivateProfileStringA("音乐", "   ", "", direct, sizeof direct, ini_.c_str());
  ASSERT_STREQ(direct, "there");

  for (const char* key : {"", "   ", "\t \r\n"}) {
    EXPECT_EQ(ReadProfileValue(ini_, "音乐", key), "") << testing::PrintToString(std::string(key));
  }
  EXPECT_EQ(ReadProfileValue(ini_, " ", "a"), "");
  EXPECT_EQ(ReadProfileValue("  ", "音乐", "a"), "");
}

TEST_F(ProfileValue, ReaderCutsAValueToTheBuffer) {
  for (size_t length : {size_t{10239}, size_t{10240}, size_t{12000}}) {
    std::string value(length, 'v');
    value.back() = 'e';
    ASSERT_TRUE(WriteProfileValue(ini_, "音乐", "long", value));
    std::string read = ReadProfileValue(ini_, "音乐", "long");
    EXPECT_EQ(read, value.substr(0, 10239)) << length;
  }
}

// --- Files and folders

class FileOps : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(FileOps, FileExistsFindsHiddenFilesFoldersAndWildcards) {
  std::string hidden = folder_ / "SkinH_EL.dll";
  ASSERT_TRUE(PutFileBytes(hidden, "MZ"));
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(CreateDirectoryA((folder_ / "sub").c_str(), nullptr));
  ASSERT_TRUE(PutFileBytes(folder_ / "song.mp3", "x"));

  EXPECT_TRUE(FileExists(hidden));
  EXPECT_TRUE(FileExists(folder_ / "sub"));
  EXPECT_TRUE(FileExists(folder_ / "*.mp3"));
  EXPECT_TRUE(FileExists(folder_ / "so?g.mp3"));
  EXPECT_FALSE(FileExists(folder_ / "运.mp3"));
  EXPECT_FALSE(FileExists(folder_ / "*.wav"));
  EXPECT_FALSE(FileExists(folder_ / "missing.mp3"));
  EXPECT_FALSE(FileExists(folder_ / "missing\\song.mp3"));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(FileOps, SetAttributesKeepsOnlyTheFourBits) {
  std::string path = folder_ / "file.bin";
  ASSERT_TRUE(PutFileBytes(path, "x"));

  EXPECT_TRUE(SetAttributes(path, 2));
  DWORD hidden = Attributes(path);
  EXPECT_EQ(hidden & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM),
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  EXPECT_EQ(hidden & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_HIDDEN}) << std::hex << hidden;

  // Bits outside the four (temporary, directory, offline, normal) are dropped.
  EXPECT_TRUE(SetAttributes(path, 0xFFFFFFFF & ~DWORD{FILE_ATTRIBUTE_READONLY}));
  EXPECT_EQ(Attributes(path), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE})
      << std::hex << Attributes(path);

  EXPECT_TRUE(SetAttributes(path, 1));
  EXPECT_TRUE(Attributes(path) & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(Attributes(path) & FILE_ATTRIBUTE_HIDDEN);

  EXPECT_FALSE(SetAttributes(folder_ / "missing", 2));
}

TEST_F(FileOps, ReadWholeFileGivesEveryByte) {
  std::string path = folder_ / "data.bin";
  const std::string bytes("a\0b\r\n\xDF\x5C", 7);
  ASSERT_TRUE(PutFileBytes(path, bytes));
  ByteBlock content = ReadWholeFile(path);
  EXPECT_EQ(std::string(content.begin(), content.end()), bytes);

  ASSERT_TRUE(PutFileBytes(folder_ / "empty.bin", ""));
  EXPECT_TRUE(ReadWholeFile(folder_ / "empty.bin").empty());
  EXPECT_TRUE(ReadWholeFile(folder_ / "missing.bin").empty());
  EXPECT_TRUE(ReadWholeFile(folder_.path()).empty());
  EXPECT_TRUE(ReadWholeFile("").empty());
}

TEST_F(FileOps, ReadWholeFileAdmitsReadersButNotWriters) {
  std::string path = folder_ / "data.bin";
  ASSERT_TRUE(PutFileBytes(path, "abc"));

  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(path).size(), 3u);
  CloseHandle(reader);

  // Held open for writing elsewhere: the read is refused, not torn.
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ReadWholeFile(path).empty());
  CloseHandle(writer);
}

TEST_F(FileOps, WriteWholeFileWritesTheBlocksInOrder) {
  std::string path = folder_ / "out.bin";
  ASSERT_TRUE(PutFileBytes(path, "an older and longer content"));
  const ByteBlock a = {'a', 0, 'b'};
  const ByteBlock empty;
  const ByteBlock c = {0xDF, 0x5C};
  EXPECT_TRUE(WriteWholeFile(path, {a, empty, c}));
  EXPECT_EQ(FileBytes(path), std::string("a\0b\xDF\x5C", 5));

  // One empty block empties the file, or creates it empty.
  EXPECT_TRUE(WriteWholeFile(path, {empty}));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(FileBytes(path), "");
  std::string fresh = folder_ / "fresh.bin";
  EXPECT_TRUE(WriteWholeFile(fresh, {empty}));
  EXPECT_TRUE(FileExists(fresh));
  EXPECT_EQ(Attributes(fresh) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM), 0u);
}

TEST_F(FileOps, WriteWholeFileFailsAndTouchesNothingItCannotOpen) {
  const ByteBlock block = {'n', 'e', 'w'};

  std::string readOnly = folder_ / "read-only.ini";
  ASSERT_TRUE(PutFileBytes(readOnly, "old content"));
  ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteWholeFile(readOnly, {block}));
  EXPECT_EQ(FileBytes(readOnly), "old content");

  std::string inUse = folder_ / "in-use.ini";
  ASSERT_TRUE(PutFileBytes(inUse, "old content"));
  HANDLE holder = CreateFileA(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteWholeFile(inUse, {block}));
  CloseHandle(holder);
  EXPECT_EQ(FileBytes(inUse), "old content");

  EXPECT_FALSE(WriteWholeFile(folder_ / "missing\\x.ini", {block}));
  EXPECT_FALSE(WriteWholeFile("", {block}));
}

// --- The application-data folder

TEST(AppData, EndsWithExactlyOneBackslash) {
  char expected[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, CSIDL_APPDATA, FALSE));
  std::string folder = AppDataDirectory();
  ASSERT_GE(folder.size(), 2u);
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_NE(folder[folder.size() - 2], '\\');
  EXPECT_EQ(folder, std::string(expected) + "\\");
  // Joined with "\music.ini" the doubled backslash names a file in that folder.
  EXPECT_TRUE(FileExists(folder + "\\."));
}

}  // namespace
}  // namespace soundboard
