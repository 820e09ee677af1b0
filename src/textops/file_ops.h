#pragma once
// The file, folder and profile (INI) operations of TextFileOps. They rest on
// Windows services (file_ops_win.cpp); the rules they apply to their texts
// before and after those services are portable (file_ops.cpp).
//
// None of them reports an error: a failure gives an empty result or false.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "textops/text_ops.h"

namespace soundboard {

// The current user's roaming application-data folder with exactly one
// trailing "\", asked anew at each call; empty when the lookup fails.
Text AppDataDirectory();

// True when a directory search finds at least one entry for path: hidden and
// system files count, so does a folder, and "*" and "?" match as wildcards.
bool FileExists(const Text& path);

// Replaces the file's attributes with attributes masked to read-only (1),
// hidden (2), system (4) and archive (0x20); every other bit is dropped.
bool SetAttributes(const Text& path, uint32_t attributes);

// The whole content of an existing file. While it is open others may read it
// but not write it. Missing, unreadable or empty files give the empty block;
// a short read gives the bytes that arrived.
ByteBlock ReadWholeFile(const Text& path);

// Creates or truncates the file (no sharing while open; a new file gets
// normal attributes) and writes the blocks in order. False when the path is
// empty, the file cannot be opened (it is then unchanged), or a write or the
// close fails (it then keeps what was written before the failure).
bool WriteWholeFile(const Text& path, std::initializer_list<std::span<const uint8_t>> blocks);

// The value of key in section of an INI file, at most 10,239 bytes. The three
// texts lose their leading bytes 0x01..0x20 first; when one of them is then
// empty the result is empty and the file is not consulted.
Text ReadProfileValue(const Text& file, const Text& section, const Text& key);

// Writes key=value into section of an INI file, creating the file and the
// section when missing. The texts are handed over unchanged; an empty key or
// value is an empty text, never a missing one, so nothing is ever deleted.
bool WriteProfileValue(const Text& file, const Text& section, const Text& key, const Text& value);

// --- The portable rules of the operations above.

// The size of the buffer that ReadProfileValue reads into, terminator included.
inline constexpr uint32_t kProfileValueBuffer = 10240;

// The four attribute bits that SetAttributes keeps.
inline constexpr uint32_t kSettableAttributes = 0x1 | 0x2 | 0x4 | 0x20;

// text without its leading bytes 0x01..0x20 (spaces, tabs, control bytes).
Text TrimProfileArgument(std::string_view text);

// folder with one "\" appended unless it is empty or already ends with the
// character "\" (a second byte 0x5C of a double-byte character is no "\").
Text WithTrailingBackslash(std::string_view folder);

}  // namespace soundboard
