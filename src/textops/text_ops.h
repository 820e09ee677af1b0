#pragma once
// Texts are byte strings in the ANSI code page (GBK): lengths and positions
// count bytes, positions are 1-based and -1 means "not found". Searches walk
// by characters: a byte of 0x80 or above starts a two-byte character, and a
// match is never tried at its second byte (which may be 0x5C, "\").

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace soundboard {

using Text = std::string;
using ByteBlock = std::vector<uint8_t>;

int32_t TextLength(std::string_view text);
Text JoinTexts(std::initializer_list<std::string_view> texts);
Text TextLeft(std::string_view text, int32_t n);
Text TextRight(std::string_view text, int32_t n);
int32_t FindLast(std::string_view text, std::string_view target);
Text ReplaceText(std::string_view text, std::string_view find, std::string_view replacement);
std::vector<Text> SplitText(std::string_view text, std::string_view delimiter);
Text BytesToText(const ByteBlock& block);
ByteBlock TextToBytes(std::string_view text);

}  // namespace soundboard
