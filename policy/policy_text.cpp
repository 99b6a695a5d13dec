#include "policy/policy_text.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

bool IsBlank(char byte) { return static_cast<unsigned char>(byte) <= 0x20; }

// [begin, end) without its leading and trailing blank bytes.
SASM::String Stripped(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return SASM::String(begin, static_cast<size_t>(end - begin));
}

bool StartsWith(const char* bytes, size_t size, const char* mark, size_t markSize) {
    return size >= markSize && std::memcmp(bytes, mark, markSize) == 0;
}

// Where reading starts, or size when the file yields nothing.
size_t TextStart(const char* bytes, size_t size) {
    if (size < 4) return size;
    if (StartsWith(bytes, size, "\xEF\xBB\xBF", 3)) return 3;
    if (StartsWith(bytes, size, "\xFF\xFE", 2) || StartsWith(bytes, size, "\xFE\xFF", 2))
        return size;
    return 0;
}

bool IsStrtolSpace(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
           byte == '\r';
}

// The leading decimal integer of the text, as the C library reads it into a 32-bit integer:
// white space, an optional sign, digits; no digits give 0, and a value past the range saturates.
int32_t LeadingInteger(const char* text) {
    while (IsStrtolSpace(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

void ParsePolicyLine(const char* line, PolicyTable* table) {
    const char* equals = std::strchr(line, '=');
    if (equals == nullptr) return;
    SASM::String key = Stripped(line, equals);
    SASM::String value = Stripped(equals + 1, equals + 1 + std::strlen(equals + 1));
    if (key.IsEmpty() || value.IsEmpty()) return;
    table->Set(key.CStr(), value.CStr());
}

void LoadPolicyText(const char* bytes, size_t size, PolicyTable* table) {
    std::string line;
    size_t position = TextStart(bytes, size);
    while (position < size) {
        size_t end = position;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        line.assign(bytes + position, end - position);
        ParsePolicyLine(line.c_str(), table);  // the line's text ends at its first NUL
        position = end + 1;
        // After a carriage return only a following line feed belongs to the same line end.
        if (end < size && bytes[end] == '\r' && position < size && bytes[position] == '\n')
            ++position;
    }
}

std::string FormatPolicyText(const PolicyTable& table) {
    std::string text;
    table.ForEach([&text](const PolicyEntry& entry) {
        text.append(entry.key.CStr()).append("=").append(entry.value.CStr()).append("\r\n");
    });
    // A first key that begins with the bytes of a byte-order mark would be read back without
    // them, or would make the load take the file for UTF-16 and drop every entry. The load
    // ignores an empty line, so one in front keeps the file's start plain.
    if (TextStart(text.data(), text.size()) != 0) text.insert(0, "\r\n");
    return text;
}

bool ParseBool(const SASM::String& value) {
    std::string lower(value.CStr());
    for (char& byte : lower) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    }
    if (lower == "true" || lower == "t" || lower == "yes" || lower == "y") return true;
    return LeadingInteger(lower.c_str()) != 0;
}
