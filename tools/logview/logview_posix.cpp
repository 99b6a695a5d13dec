// The viewer on a POSIX system, for logs copied from a Windows machine: a file must be named.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "tools/logview/log_file.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool ReadFileFrom(const std::string& path, uint64_t offset, size_t maxBytes, std::string* bytes,
                  uint64_t* size) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    long end = std::ftell(file.get());
    if (end < 0) return false;
    *size = static_cast<uint64_t>(end);
    bytes->clear();
    if (*size <= offset) return true;
    if (std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
    bytes->resize(static_cast<size_t>(std::min<uint64_t>(*size - offset, maxBytes)));
    bytes->resize(std::fread(&(*bytes)[0], 1, bytes->size(), file.get()));
    return true;
}

std::string DefaultLogPath() { return std::string(); }

int main(int argc, char** argv) {
    return RunLogView(std::vector<std::string>(argv + 1, argv + argc));
}
