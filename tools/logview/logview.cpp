// logview [--level=info|warning|error] [--follow] [FILE]
#include <chrono>
#include <cstdio>
#include <thread>

#include "tools/logview/log_file.h"
#include "tools/logview/log_view.h"

namespace {

// Often enough to watch an update cycle, rarely enough to cost nothing.
constexpr std::chrono::milliseconds kFollowInterval(500);
// A log is never rotated and may be large: it is read in pieces of this size.
constexpr size_t kReadSize = 1 << 20;

void Print(const std::string& text) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

int RunLogView(const std::vector<std::string>& args) {
    LogViewOptions options;
    std::string error;
    if (!ParseLogViewArguments(args, &options, &error)) {
        std::fprintf(stderr,
                     "logview: %s\nusage: logview [--level=info|warning|error] "
                     "[--follow] [FILE]\n",
                     error.c_str());
        return 2;
    }
    if (options.path.empty()) options.path = DefaultLogPath();
    if (options.path.empty()) {
        std::fprintf(stderr, "logview: no log file given\n");
        return 2;
    }
    LogLineSplitter splitter;
    uint64_t offset = 0;
    for (;;) {
        std::string bytes;
        uint64_t size = 0;
        if (ReadFileFrom(options.path, offset, kReadSize, &bytes, &size)) {
            if (size < offset) {
                // The file was replaced: read the new one from its start.
                splitter = LogLineSplitter();
                offset = 0;
                continue;
            }
            offset += bytes.size();
            splitter.Append(bytes.data(), bytes.size());
            std::string line;
            while (splitter.NextLine(&line)) Print(ViewLine(line, options.minimumLevel));
            if (!bytes.empty()) continue;
        } else if (!options.follow) {
            std::fprintf(stderr, "logview: cannot read %s\n", options.path.c_str());
            return 1;
        }
        if (!options.follow) break;
        std::fflush(stdout);
        std::this_thread::sleep_for(kFollowInterval);
    }
    std::string rest;
    if (splitter.TakeRest(&rest)) Print(ViewLine(rest, options.minimumLevel));
    return 0;
}
