// A number, a time, a level and a message from the bytes: FormatNumber must give text that reads
// back as the same number, and the built line, written as the log file holds it, must read back
// through the log viewer as the same time, level and message.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "log/log_line.h"
#include "tools/logview/log_view.h"

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint16_t Unit() {
        uint16_t low = Byte(), high = Byte();
        return static_cast<uint16_t>(low | (high << 8));
    }
    uint32_t Word() { return Unit() | (static_cast<uint32_t>(Unit()) << 16); }
    bool Empty() const { return size_ == 0; }

private:
    uint8_t Byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    const uint8_t* data_;
    size_t size_;
};

void CheckNumber(int32_t value) {
    std::wstring text = FormatNumber(value);
    wchar_t* end = nullptr;
    long long read = std::wcstoll(text.c_str(), &end, 10);
    if (*end != L'\0' || read != value) abort();
    if (text.size() > 1 && (text[0] == L'0' || (text[0] == L'-' && text[1] == L'0'))) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    CheckNumber(static_cast<int32_t>(in.Word()));

    LogTime time{in.Unit(), in.Unit(), in.Unit(), in.Unit(), in.Unit(), in.Unit(), in.Unit()};
    int32_t level = static_cast<int32_t>(in.Word());
    std::u16string message;
    while (!in.Empty()) message.push_back(static_cast<char16_t>(in.Unit()));

    std::wstring line = BuildLogLine(time, level, std::wstring(message.begin(), message.end()));
    std::string file;
    for (wchar_t unit : line) {
        file.push_back(static_cast<char>(unit & 0xFF));
        file.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    // A message holding a line end of its own is more than one line in the file.
    if (message.find(u"\r\n") != std::u16string::npos) return 0;
    if (!message.empty() && message.back() == u'\r') return 0;

    LogLineSplitter splitter;
    splitter.Append(file.data(), file.size());
    std::string read;
    if (!splitter.NextLine(&read) || splitter.TakeRest(&read)) abort();
    LogEntry entry;
    if (!ParseLogLine(read, &entry)) abort();
    if (std::memcmp(&entry.time, &time, sizeof time) != 0) abort();
    const bool knownLevel = *LevelWord(level) != L'\0';
    if (entry.level != (knownLevel ? level : -1)) abort();
    if (entry.message != Utf16ToUtf8(message)) abort();
    DescribeEntry(entry);
    return 0;
}
