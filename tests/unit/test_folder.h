// A fresh, empty folder under the temporary folder, removed with everything in it at the end.
#pragma once

#include <string>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::string Utf8Path() const;
    std::wstring Join(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Writes a file of the given bytes; returns its full path.
    std::wstring WriteFile(const std::wstring& name, const std::string& bytes) const;

private:
    std::wstring path_;
};

// Makes the folder the current directory for the scope, restoring the old one after.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& path);
    ~CurrentDirectory();

private:
    std::wstring previous_;
};

std::string ReadFileBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);
