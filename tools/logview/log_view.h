// Reading the updater's diagnostic log for people: the file's UTF-16LE bytes split into lines,
// a line read back into its fields, and the readable form of an entry (ISO time, level, code,
// the code's meaning, the appended value explained). No Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "log/log_line.h"

// UTF-16LE code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& units);

// Collects the file's bytes as they arrive (a read may end inside a code unit or a line) and
// hands out whole lines, each without its CR LF.
class LogLineSplitter {
public:
    void Append(const char* bytes, size_t size);
    // The next whole line, as UTF-8; false when no line end has arrived yet.
    bool NextLine(std::string* line);
    // What is left after the last line end (a line still being written), as UTF-8; false when
    // nothing is left. Clears it.
    bool TakeRest(std::string* line);

private:
    std::u16string units_;
    size_t start_ = 0;    // where the next line begins in units_
    size_t scanned_ = 0;  // units_ between start_ and this index hold no line end
    bool oddByte_ = false;
    unsigned char pendingByte_ = 0;
};

// The fields of a line as the log writer builds it; level is -1 when the brackets hold no known
// word.
struct LogEntry {
    LogTime time{};
    int32_t level = -1;
    std::string message;
};

// False when the line does not have the writer's form.
bool ParseLogLine(const std::string& line, LogEntry* entry);

// "2012-03-05T07:04:09.008Z".
std::string IsoTime(const LogTime& time);

// The appended value of a code explained: "5 (ERROR_ACCESS_DENIED)", "0x80070002
// (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))", "1 (SERVICE_CONTROL_STOP)" for a control code.
// Numbers without a known name stay bare (negative ones in hexadecimal); text stays as it is.
std::string ExplainValue(int32_t code, const std::string& value);

// The readable form of an entry: time, level word, then the code with its meaning and value.
// A message that does not start with a code is shown as it is.
std::string DescribeEntry(const LogEntry& entry);

struct LogViewOptions {
    int32_t minimumLevel = kInfo;
    bool follow = false;
    std::string path;  // empty: the updater's own log
};

// The command line without the program name. False with a reason for a wrong one.
bool ParseLogViewArguments(const std::vector<std::string>& args, LogViewOptions* options,
                           std::string* error);

// The output line of one log line (with its "\n"), or empty when the level filter drops it. A
// line that cannot be read, or has no known level, is shown only when every level is. Control
// characters are shown as \xNN.
std::string ViewLine(const std::string& line, int32_t minimumLevel);
