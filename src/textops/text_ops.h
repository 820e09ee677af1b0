#pragma once
// The pure text operations of TextFileOps.
//
// Texts are byte strings in the ANSI code page (GBK): lengths and positions
// count bytes, positions are 1-based and -1 means "not found". Searches walk
// by characters: a byte of 0x80 or above starts a two-byte character, and a
// match is never tried at its second byte (which may be 0x5C, "\"). A lead
// byte as the very last byte of a text is one character of its own; no
// operation reads past the end of its text.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace soundboard {

using Text = std::string;
using ByteBlock = std::vector<uint8_t>;

// The number of bytes of text.
int32_t TextLength(std::string_view text);

// All texts one after another; empty ones add nothing.
Text JoinTexts(std::initializer_list<std::string_view> texts);

// The first n bytes of text (all of it when shorter); empty when n <= 0.
Text TextLeft(std::string_view text, int32_t n);

// The last n bytes of text (all of it when shorter); empty when n <= 0.
Text TextRight(std::string_view text, int32_t n);

// 1-based byte position of the last occurrence of target that starts at a
// character start, or -1. Overlapping occurrences all count. An empty target
// gives 1 for a non-empty text and -1 for an empty one.
int32_t FindLast(std::string_view text, std::string_view target);

// Every occurrence of find (at character starts, left to right, never
// overlapping, the replacement not searched again) replaced. An empty text or
// an empty find gives text unchanged.
Text ReplaceText(std::string_view text, std::string_view find, std::string_view replacement);

// The pieces between occurrences of delimiter at character starts. Empty
// pieces stay, except that an empty last piece is dropped. An empty text
// gives the empty list; an empty delimiter gives the list {text}.
std::vector<Text> SplitText(std::string_view text, std::string_view delimiter);

// The bytes of block up to, not including, its first zero byte.
Text BytesToText(const ByteBlock& block);

// The bytes of text, without a terminator.
ByteBlock TextToBytes(std::string_view text);

}  // namespace soundboard
