// What the viewer needs from the operating system: where the updater's log is, and the new
// bytes of a file, read without keeping it open (the updater goes on appending to it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Up to maxBytes of the file from offset on, and the file's size (smaller than offset when the
// file was replaced). False when the file cannot be opened or read.
bool ReadFileFrom(const std::string& path, uint64_t offset, size_t maxBytes, std::string* bytes,
                  uint64_t* size);

// The service's log on this machine, or empty where there is none to default to.
std::string DefaultLogPath();

// The program: arguments (without the program name) in UTF-8, output in UTF-8 on stdout.
int RunLogView(const std::vector<std::string>& args);
