// The management options, matched exactly (case-sensitive, whole argument) in table order.
#pragma once

enum class Command {
    Install,
    Uninstall,
    DeleteTask,
    CreateDefaultTask,
    SetSilentAutoUpdate,
    SetNotifyAutoUpdate,
    SetDisableAutoUpdate,
    IsSAUEnabled,
    Unknown,
};

Command ParseCommand(const wchar_t* argument);

// Exit code of -isSAUEnabled when silent auto-update is on; callers such as the installer read it.
constexpr int kSilentAutoUpdateEnabledExitCode = 1001;
