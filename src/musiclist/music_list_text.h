#pragma once
// music.ini taken apart as plain text: one section [音乐] with one line
// name=path CR LF per entry, as the profile writer gives it. The loaders split
// the text into lines on CR LF and each line on "="; they recognise nothing
// else (a section header simply has no "=").

#include <string_view>
#include <vector>

#include "textops/text_ops.h"

namespace soundboard {

// The section of music.ini that holds the entries.
inline constexpr std::string_view kMusicSection = "音乐";

// The entry names of the list file's text, in file order, as read at start:
// the first piece of every line that splits on "=" into two or more pieces.
std::vector<Text> MusicNamesAtStart(std::string_view fileText);

// The same, as read again after a deletion: only lines of exactly two pieces.
std::vector<Text> MusicNamesAfterDeletion(std::string_view fileText);

// The line that the profile writer gives an entry: name=path CR LF.
Text MusicEntryLine(std::string_view name, std::string_view path);

// The list file's content with every copy of entryLine removed from its text
// (exact bytes, anywhere). The text ends at the first zero byte; everything
// from that byte on is kept as it is, so a damaged file loses nothing more.
ByteBlock ListFileWithoutEntry(const ByteBlock& content, std::string_view entryLine);

}  // namespace soundboard
