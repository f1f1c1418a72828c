#include <gtest/gtest.h>
#include <string>
#include "SPlatform.h"
#include "SRegistry.h"

namespace
{
class SRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        key = "Software\\SonavelTests\\Registry" + std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    }
    void TearDown() override
    {
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()));
    }
    std::string Read(const char* name) const
    {
        const SString s = registry.GetString(HKEY_CURRENT_USER, key.c_str(), name);
        return s.GetText() ? s.GetText() : "(null)";
    }

    SRegistry registry;
    std::string key;
};
}

TEST_F(SRegistryTest, IntegersRoundTripAndMissingOnesReadZero)
{
    EXPECT_EQ(0, registry.GetInt(HKEY_CURRENT_USER, key.c_str(), "Volume"));
    EXPECT_TRUE(registry.SetInt(HKEY_CURRENT_USER, key.c_str(), "Volume", 75));
    EXPECT_EQ(75, registry.GetInt(HKEY_CURRENT_USER, key.c_str(), "Volume"));
    EXPECT_TRUE(registry.SetInt(HKEY_CURRENT_USER, key.c_str(), "Volume", 0xFFFFFFFF));
    EXPECT_EQ(-1, registry.GetInt(HKEY_CURRENT_USER, key.c_str(), "Volume"));
    EXPECT_EQ(0, registry.GetInt(HKEY_CURRENT_USER, key.c_str(), "Other"));
    EXPECT_EQ(0, registry.GetInt(HKEY_CURRENT_USER, (key + "\\Missing").c_str(), "Volume"));
}

TEST_F(SRegistryTest, WritesNeedASubkey)
{
    EXPECT_FALSE(registry.SetInt(HKEY_CURRENT_USER, "", "Volume", 1));
    EXPECT_FALSE(registry.SetInt(HKEY_CURRENT_USER, nullptr, "Volume", 1));
    EXPECT_FALSE(registry.SetString(HKEY_CURRENT_USER, "", "Folder", "x"));
    // Keep TearDown's deletion meaningful.
    EXPECT_TRUE(registry.SetInt(HKEY_CURRENT_USER, key.c_str(), "Volume", 1));
}

TEST_F(SRegistryTest, StringsRoundTripWithTheirNul)
{
    EXPECT_TRUE(registry.SetString(HKEY_CURRENT_USER, key.c_str(), "Folder", "C:\\Music\\"));
    EXPECT_EQ("C:\\Music\\", Read("Folder"));
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Folder", RRF_RT_ANY, &type, nullptr,
                                          &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(10u, size);
    EXPECT_TRUE(registry.SetString(HKEY_CURRENT_USER, key.c_str(), "Empty", ""));
    EXPECT_EQ("", Read("Empty"));
    EXPECT_EQ("", Read("Missing"));
}

TEST_F(SRegistryTest, LongStringsAreReadWhole)
{
    const std::string longText(300, 'a');
    EXPECT_TRUE(registry.SetString(HKEY_CURRENT_USER, key.c_str(), "Long", longText.c_str()));
    EXPECT_EQ(longText, Read("Long"));
    const std::string huge(70000, 'z');
    EXPECT_TRUE(registry.SetString(HKEY_CURRENT_USER, key.c_str(), "Huge", huge.c_str()));
    EXPECT_EQ(huge, Read("Huge"));
}

TEST_F(SRegistryTest, ValuesStoredWithoutNulAreTerminated)
{
    EXPECT_TRUE(registry.SetInt(HKEY_CURRENT_USER, key.c_str(), "Volume", 1));
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, &k));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(k, "Raw", 0, REG_BINARY, reinterpret_cast<const BYTE*>("abc"), 3));
    RegCloseKey(k);
    EXPECT_EQ("abc", Read("Raw"));
}

TEST_F(SRegistryTest, UnrelatedKeysAreNotCreatedByReads)
{
    EXPECT_EQ("", Read("Folder"));
    HKEY k;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k));
    EXPECT_TRUE(registry.SetString(HKEY_CURRENT_USER, key.c_str(), "Folder", "x"));
}
