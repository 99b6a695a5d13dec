// Any bytes as a log file, fed to the viewer in two pieces split at a point the bytes choose (as
// a follow read may end anywhere): every line is shown at every level filter without a fault,
// and the pieces give the same lines as the whole.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "log/log_codes.h"
#include "tools/logview/log_view.h"

namespace {

std::vector<std::string> Lines(const char* bytes, size_t size, size_t split) {
    LogLineSplitter splitter;
    std::vector<std::string> lines;
    std::string line;
    splitter.Append(bytes, split);
    while (splitter.NextLine(&line)) lines.push_back(line);
    splitter.Append(bytes + split, size - split);
    while (splitter.NextLine(&line)) lines.push_back(line);
    if (splitter.TakeRest(&line)) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;
    std::vector<std::string> lines = Lines(bytes, length, data[0] % (length + 1));
    if (lines != Lines(bytes, length, length)) abort();
    for (const std::string& line : lines) {
        for (int32_t level : {kInfo, kWarning, kError}) ViewLine(line, level);
    }
    return 0;
}
