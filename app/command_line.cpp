#include "app/command_line.h"

#include <cwchar>

namespace {
struct Option {
    const wchar_t* text;
    Command command;
};

const Option kOptions[] = {
    {L"-install", Command::Install},
    {L"-uninstall", Command::Uninstall},
    {L"-deleteTask", Command::DeleteTask},
    {L"-createDefaultTask", Command::CreateDefaultTask},
    {L"-setSilentAutoUpdate", Command::SetSilentAutoUpdate},
    {L"-setNotifyAutoUpdate", Command::SetNotifyAutoUpdate},
    {L"-setDisableAutoUpdate", Command::SetDisableAutoUpdate},
    {L"-isSAUEnabled", Command::IsSAUEnabled},
};
}  // namespace

Command ParseCommand(const wchar_t* argument) {
    for (const Option& option : kOptions) {
        if (std::wcscmp(argument, option.text) == 0) return option.command;
    }
    return Command::Unknown;
}
