#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseCommand, MatchesEachOptionExactly) {
    const struct {
        const wchar_t* argument;
        Command command;
    } cases[] = {
        {L"-install", Command::Install},
        {L"-uninstall", Command::Uninstall},
        {L"-deleteTask", Command::DeleteTask},
        {L"-createDefaultTask", Command::CreateDefaultTask},
        {L"-setSilentAutoUpdate", Command::SetSilentAutoUpdate},
        {L"-setNotifyAutoUpdate", Command::SetNotifyAutoUpdate},
        {L"-setDisableAutoUpdate", Command::SetDisableAutoUpdate},
        {L"-isSAUEnabled", Command::IsSAUEnabled},
        {L"-Install", Command::Unknown},
        {L"install", Command::Unknown},
        {L"/install", Command::Unknown},
        {L"-install ", Command::Unknown},
        {L"-inst", Command::Unknown},
        {L"-isSAUenabled", Command::Unknown},
        {L"", Command::Unknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCommand(c.argument), c.command) << "argument: [" << c.argument << "]";
    }
}

}  // namespace
