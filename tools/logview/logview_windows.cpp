// The viewer on Windows: by default the service's log, beside the policy file in the system
// folder; the file is opened for each read with sharing that denies nothing.
#include <windows.h>

#include <algorithm>

#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "sasm/windows_file_manager.h"
#include "tools/logview/log_file.h"

bool ReadFileFrom(const std::string& path, uint64_t offset, size_t maxBytes, std::string* bytes,
                  uint64_t* size) {
    std::wstring widePath;
    if (!Utf8ToWide(path.c_str(), &widePath)) return false;
    UniqueFile file(CreateFileW(widePath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize;
    if (!file || !GetFileSizeEx(file.Get(), &fileSize)) return false;
    *size = static_cast<uint64_t>(fileSize.QuadPart);
    bytes->clear();
    if (*size <= offset) return true;
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return false;
    bytes->resize(static_cast<size_t>(std::min<uint64_t>(*size - offset, maxBytes)));
    DWORD read = 0;
    if (!ReadFile(file.Get(), &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr))
        return false;
    bytes->resize(read);
    return true;
}

std::string DefaultLogPath() {
    std::string path(SASM::WindowsFileManager::GetPolicyFilePath().CStr());
    size_t folderEnd = path.rfind('\\');
    if (folderEnd == std::string::npos) return std::string();
    return path.substr(0, folderEnd + 1) + "VorlixInstall.log";
}

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        SASM::String arg;
        if (!WideToUtf8(argv[i], &arg)) return 2;
        args.emplace_back(arg.CStr());
    }
    // A console shows the UTF-8 output as text; a pipe or file gets the bytes as they are.
    SetConsoleOutputCP(CP_UTF8);
    return RunLogView(args);
}
