#include "tools/logview/log_view.h"

#include <cstdio>
#include <limits>

#include "log/log_codes.h"
#include "tools/logview/error_names.h"

namespace {

void AppendUtf8(uint32_t codePoint, std::string* out) {
    if (codePoint < 0x80) {
        out->push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out->push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// The level of a word as the log writer spells it (the words are ASCII).
bool LevelOfWord(const std::string& word, int32_t* level) {
    for (int32_t candidate : {kInfo, kWarning, kError}) {
        std::string spelled;
        for (const wchar_t* c = LevelWord(candidate); *c != L'\0'; ++c)
            spelled.push_back(static_cast<char>(*c));
        if (word == spelled) {
            *level = candidate;
            return true;
        }
    }
    return false;
}

// Control characters in a logged text (a host name from the policy file, say) are shown as
// escapes, so they cannot break the output into lines or drive the terminal.
std::string Printable(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads digits at *text into a field of at most maximum; advances past them.
bool ReadNumber(const char** text, const char* end, uint32_t maximum, uint32_t* value) {
    const char* p = *text;
    uint64_t number = 0;
    while (p < end && IsDigit(*p)) {
        number = number * 10 + static_cast<uint32_t>(*p - '0');
        if (number > maximum) return false;
        ++p;
    }
    if (p == *text) return false;
    *value = static_cast<uint32_t>(number);
    *text = p;
    return true;
}

bool ReadField(const char** text, const char* end, char separator, uint16_t* field) {
    uint32_t value = 0;
    if (!ReadNumber(text, end, std::numeric_limits<uint16_t>::max(), &value)) return false;
    *field = static_cast<uint16_t>(value);
    if (separator == '\0') return true;
    if (*text == end || **text != separator) return false;
    ++*text;
    return true;
}

// The value of text when it is exactly a number as FormatNumber writes it.
bool ReadSigned32(const std::string& text, int32_t* value) {
    const char* p = text.c_str();
    const char* end = p + text.size();
    bool negative = p < end && *p == '-';
    if (negative) ++p;
    uint32_t magnitude = 0;
    const uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (!ReadNumber(&p, end, limit, &magnitude) || p != end) return false;
    *value = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
    return true;
}

std::string Hex(uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

const char* LevelName(int32_t level) {
    switch (level) {
        case kInfo: return "info   ";
        case kWarning: return "warning";
        case kError: return "error  ";
        default: return "?      ";
    }
}

}  // namespace

std::string Utf16ToUtf8(const std::u16string& units) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00), &out);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(0xFFFD, &out);
        } else {
            AppendUtf8(unit, &out);
        }
    }
    return out;
}

void LogLineSplitter::Append(const char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (!oddByte_) {
            pendingByte_ = byte;
            oddByte_ = true;
        } else {
            units_.push_back(static_cast<char16_t>(pendingByte_ | (byte << 8)));
            oddByte_ = false;
        }
    }
}

bool LogLineSplitter::NextLine(std::string* line) {
    size_t end = units_.find(u"\r\n", scanned_ > start_ ? scanned_ : start_);
    if (end == std::u16string::npos) {
        // The lines handed out are dropped once, not one by one.
        units_.erase(0, start_);
        start_ = 0;
        // A CR at the very end may be the first half of the next line end.
        scanned_ = units_.empty() ? 0 : units_.size() - 1;
        return false;
    }
    *line = Utf16ToUtf8(units_.substr(start_, end - start_));
    start_ = end + 2;
    return true;
}

bool LogLineSplitter::TakeRest(std::string* line) {
    if (oddByte_) {
        // A torn last code unit cannot be read: show it as an unknown character.
        units_.push_back(u'\xFFFD');
        oddByte_ = false;
    }
    std::u16string rest = units_.substr(start_);
    units_.clear();
    start_ = 0;
    scanned_ = 0;
    if (rest.empty()) return false;
    *line = Utf16ToUtf8(rest);
    return true;
}

bool ParseLogLine(const std::string& line, LogEntry* entry) {
    const char* p = line.c_str();
    const char* end = p + line.size();
    LogTime time{};
    if (!ReadField(&p, end, '-', &time.year) || !ReadField(&p, end, '-', &time.month) ||
        !ReadField(&p, end, '+', &time.day) || !ReadField(&p, end, '-', &time.hour) ||
        !ReadField(&p, end, '-', &time.minute) || !ReadField(&p, end, '.', &time.second) ||
        !ReadField(&p, end, '\0', &time.milliseconds))
        return false;
    std::string rest(p, end);
    if (rest.compare(0, 2, " [") != 0) return false;
    size_t close = rest.find("] ", 2);
    if (close == std::string::npos) return false;
    std::string word = rest.substr(2, close - 2);
    int32_t level = -1;
    if (!word.empty() && !LevelOfWord(word, &level)) return false;
    entry->time = time;
    entry->level = level;
    entry->message = rest.substr(close + 2);
    return true;
}

std::string IsoTime(const LogTime& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.milliseconds);
    return text;
}

std::string ExplainValue(int32_t code, const std::string& value) {
    int32_t number = 0;
    if (!ReadSigned32(value, &number)) return value;
    uint32_t pattern = static_cast<uint32_t>(number);
    std::string shown = number < 0 ? Hex(pattern) : value;
    const char* name =
        code == kControlReceived.number ? ServiceControlName(pattern) : ErrorName(pattern);
    if (name != nullptr) return shown + " (" + name + ")";
    // A Windows error carried in an HRESULT (facility Win32).
    if ((pattern & 0xFFFF0000u) == 0x80070000u && code != kControlReceived.number) {
        if (const char* win32 = ErrorName(pattern & 0xFFFFu))
            return shown + " (HRESULT_FROM_WIN32(" + win32 + "))";
    }
    return shown;
}

std::string DescribeEntry(const LogEntry& entry) {
    std::string text = IsoTime(entry.time) + " " + LevelName(entry.level) + " ";
    const std::string& message = entry.message;
    size_t digits = 0;
    while (digits < message.size() && IsDigit(message[digits])) ++digits;
    bool coded = digits == 4 && (digits == message.size() || message[digits] == ' ');
    if (!coded) return text + message;
    int32_t code = std::stoi(message.substr(0, 4));
    const LogCode* known = FindLogCode(code);
    text += message.substr(0, 4) + " " + (known != nullptr ? known->meaning : "(unknown code)");
    if (digits < message.size()) text += ": " + ExplainValue(code, message.substr(digits + 1));
    return text;
}

bool ParseLogViewArguments(const std::vector<std::string>& args, LogViewOptions* options,
                           std::string* error) {
    for (const std::string& arg : args) {
        if (arg == "--follow") {
            options->follow = true;
        } else if (arg.compare(0, 8, "--level=") == 0) {
            std::string word = arg.substr(8);
            if (!LevelOfWord(word, &options->minimumLevel)) {
                *error = "unknown level '" + word + "' (info, warning or error)";
                return false;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option '" + arg + "'";
            return false;
        } else if (options->path.empty()) {
            options->path = arg;
        } else {
            *error = "more than one log file given";
            return false;
        }
    }
    return true;
}

std::string ViewLine(const std::string& line, int32_t minimumLevel) {
    LogEntry entry;
    bool readable = ParseLogLine(line, &entry);
    bool shown = readable && entry.level >= 0 ? entry.level >= minimumLevel : minimumLevel <= kInfo;
    if (!shown) return std::string();
    return Printable(readable ? DescribeEntry(entry) : line) + "\n";
}
