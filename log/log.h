// The diagnostic log: "Tolvan\Vorlix\VorlixInstall.log" under the current directory, UTF-16LE,
// one line per call. Errors are always written, info and warnings only with verbose logging.
#pragma once

#include <cstdint>
#include <string>

#include "log/log_codes.h"

// Set once by the settings load when the policy asks for verbose logging; never cleared.
extern bool VerboseLogging;

// Appends one line. Never throws and reports nothing: a line that cannot be built or written
// is dropped.
void Log(int32_t level, std::wstring message);

// The usual forms: the bare code, the code with a number (an error value read by the caller
// right after the failing call), the code with a text.
void Log(const LogCode& code);
void Log(const LogCode& code, int32_t number);
void Log(const LogCode& code, const std::wstring& text);
