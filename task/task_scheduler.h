// The two Task Scheduler interfaces the task is registered through, and what both share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

extern const wchar_t kTaskName[];
extern const wchar_t kTaskAuthor[];

// Creates the task for the program, or refreshes an existing one: the hourly repetition of its
// first trigger and its program are set again, its start minute and the rest are kept.
bool RegisterTaskV1(const std::wstring& imagePath);
bool RegisterTaskV2(const std::wstring& imagePath);

// True only when the Task Scheduler deleted the task.
bool DeleteTaskV1();
bool DeleteTaskV2();

// One 32-bit value from the system's cryptographic random generator; empty when it fails.
std::optional<uint32_t> DrawRandom();
