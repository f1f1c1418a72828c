// The settings' lists and clamps.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PSettings.h"

using namespace apptest;

TEST(PSettingsTest, SplitTokensKeepsTheTokenAfterTheLastSeparator)
{
    const struct
    {
        const char* text;
        const char* joined;
        int count;
    } cases[] = {{"", "[]", 1},          {"a|", "[a][]", 2},         {"b|A|", "[b][A][]", 3},
                 {"b|A", "[b][A]", 2},   {"|", "[][]", 2},           {"\"x|y\"|", "[\"x][y\"][]", 3}};
    for (const auto& c : cases)
    {
        SArrayString tokens;
        EXPECT_EQ(c.count, PSettings::SplitTokens(c.text, '|', &tokens)) << c.text;
        std::string joined;
        for (int i = 0; i < tokens.GetCount(); ++i)
            joined += std::string("[") + tokens.GetAt(i).GetText() + "]";
        EXPECT_EQ(c.joined, joined) << c.text;
    }
}

TEST(PSettingsTest, ImageNamesDropBlanksAndEmptyEntries)
{
    const struct
    {
        const char* text;
        const char* joined;
    } cases[] = {{"", ""}, {"Covers", "[Covers]"}, {" A ; B;;  C D  ;", "[A][B][C D]"}, {"\"q\";", "[\"q\"]"}};
    for (const auto& c : cases)
    {
        SArrayString names;
        PSettings::SplitNames(c.text, &names);
        std::string joined;
        for (int i = 0; i < names.GetCount(); ++i)
            joined += std::string("[") + names.GetAt(i).GetText() + "]";
        EXPECT_EQ(c.joined, joined) << c.text;
    }
}

TEST(PSettingsTest, ServerValuesAreClamped)
{
    const struct
    {
        DWORD maxUsers, port;
        int expectedUsers, expectedPort;
    } cases[] = {{0, 0, 1, 12465}, {static_cast<DWORD>(-3), static_cast<DWORD>(-1), 1, 12465}, {7, 8080, 7, 8080}};
    for (const auto& c : cases)
    {
        SettingsKey key;
        key.SetNumber("ServerMaxUser", c.maxUsers);
        key.SetNumber("ServerPort", c.port);
        const PSettings::_SServer server = PSettings().GetServer();
        EXPECT_EQ(c.expectedUsers, server.maxUsers);
        EXPECT_EQ(c.expectedPort, server.port);
    }
}

TEST(PSettingsTest, HundredsOfServersStayInStep)
{
    SettingsKey key;
    std::string names;
    for (int i = 0; i < 400; ++i)
        names += "Server number " + std::to_string(i) + "|";
    key.SetText("ServersNames", names);
    SArrayString tokens;
    EXPECT_EQ(401, PSettings::SplitTokens(PSettings().GetText("ServersNames").GetText(), '|', &tokens));
    EXPECT_STREQ("Server number 399", tokens.GetAt(399).GetText());
}
