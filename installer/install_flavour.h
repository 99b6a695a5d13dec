// The install step of the update cycle: the out-of-date flavour's installer downloaded,
// verified and written out, then started detached. Nothing waits for the installer.
#pragma once

#include "discovery/player_version.h"

// True exactly when the installer file was written and the installer process was created. Only
// the record's flavour is used. Every failure is logged; nothing is thrown.
bool InstallFlavour(const PlayerVersion& version);

// Starts the installer file that the download wrote (its full path, so no same-named program
// elsewhere is started instead) with `commandLine`, which CreateProcessW may modify: default
// error mode, no console, the updater's environment and current directory. Logs 1602 or 1218.
bool LaunchInstaller(wchar_t* commandLine);
