// The policy file's text: reading its bytes into the table, the bytes a save writes, and the
// boolean reading of a value. Keys and values are plain bytes; the file has no fixed encoding.
#pragma once

#include <cstddef>
#include <string>

#include "policy/policy_table.h"
#include "sasm/string.h"

// Reads a whole file's bytes into the table. Fewer than four bytes, or a UTF-16 byte-order mark
// (FF FE or FE FF), yield nothing; a UTF-8 mark (EF BB BF) is skipped. A line ends at LF, at CR
// (a CR LF pair ends one line) or at the end of the bytes.
void LoadPolicyText(const char* bytes, size_t size, PolicyTable* table);

// Adds the key/value pair of one line (its text ends at the first NUL): the first "=" splits it,
// blank bytes (0x00 to 0x20) are stripped from both ends of each part, and a line without "=" or
// with an empty part is ignored. A key already present gets the new value in its old place.
void ParsePolicyLine(const char* line, PolicyTable* table);

// The bytes of a saved file: one "key=value" line ending in CR LF per entry, in the table's
// order, with no byte-order mark. When the first line would begin with the bytes of one, an
// empty line comes first, so the file loads back as the same entries.
std::string FormatPolicyText(const PolicyTable& table);

// True for "true", "t", "yes" and "y" in any ASCII letter case, and for any value whose leading
// decimal integer is not 0 (a number beyond the 32-bit range counts as its end of the range).
bool ParseBool(const SASM::String& value);
