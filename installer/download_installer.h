// The installer download: the signed package of one flavour fetched over HTTP from the
// secondary update host into a fresh temporary folder, read back, removed, verified under the
// built-in root, and its content written as "VorlixPlayerInstaller.exe" in the current directory.
#pragma once

#include <windows.h>

#include <memory>

#include "discovery/player_version.h"
#include "installer/path_buffer.h"

extern const wchar_t kActiveXPackagePath[];
extern const wchar_t kPluginPackagePath[];
extern const wchar_t kInstallerFileName[];

// The installer file's full path: the current directory and kInstallerFileName. The file the
// download writes and the program the launch starts are named by this one path. False when the
// current directory is unavailable or the path does not fit MAX_PATH; GetLastError tells.
bool InstallerPath(PathBuffer* path);

// True exactly when the installer file has been written completely. Every failure is logged
// (1200 to 1217, 1413 to 1426) and returns false; nothing is thrown.
bool DownloadInstaller(PlayerFlavour flavour);

// The whole file in a new buffer. False for a file that cannot be opened, is empty, or cannot
// be read whole.
bool ReadWholeFile(const wchar_t* path, std::unique_ptr<BYTE[]>* bytes, DWORD* length);
