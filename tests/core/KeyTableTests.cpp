#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "KeyTable.h"

TEST(KeyTable, EveryRowHasNonZeroCodesAndAShortName)
{
    for (const KeyEntry& row : KeyTable) {
        EXPECT_NE(row.keyCode, 0) << row.name;
        EXPECT_NE(row.virtualKey, 0) << row.name;
        EXPECT_LT(std::strlen(row.name), sizeof row.name);
    }
    EXPECT_STREQ(KeyTable[0].name, "Backspace");
    EXPECT_STREQ(KeyTable[84].name, "Scroll Lock");
    EXPECT_STREQ(KeyTable[91].name, "`");
    EXPECT_STREQ(KeyTable[93].name, "\\");
    EXPECT_STREQ(KeyTable[95].name, "'");
}

TEST(KeyTable, OnlyTheKeypadSlashAndMinusShareACode)
{
    std::set<uint8_t> seen, shared;
    for (const KeyEntry& row : KeyTable)
        if (!seen.insert(row.keyCode).second) shared.insert(row.keyCode);
    EXPECT_EQ(shared, (std::set<uint8_t>{0x4A, 0x4E}));
}

TEST(KeyTable, NamesTurnIntoCodesExactly)
{
    EXPECT_EQ(KeyCodeFromName("Q"), 0x15);
    EXPECT_EQ(KeyCodeFromName("Scroll Lock"), 0x5F);
    EXPECT_EQ(KeyCodeFromName("Num -"), 0x4E);
    EXPECT_EQ(KeyCodeFromName("-"), 0x4E);
    EXPECT_EQ(KeyCodeFromName("shift"), 0) << "names compare case-sensitively";
    EXPECT_EQ(KeyCodeFromName("Shift "), 0) << "the whole string must match";
    EXPECT_EQ(KeyCodeFromName("Shif"), 0);
    EXPECT_EQ(KeyCodeFromName(""), 0);
}

TEST(KeyTable, CodesNameTheFirstMatchingRow)
{
    EXPECT_STREQ(KeyNameFromCode(0x15), "Q");
    EXPECT_STREQ(KeyNameFromCode(0x4E), "Num -");
    EXPECT_STREQ(KeyNameFromCode(0x4A), "Num /");
    EXPECT_EQ(KeyNameFromCode(0), nullptr);
    EXPECT_EQ(KeyNameFromCode(0x01), nullptr) << "a code no row holds";
}

TEST(KeyTable, VirtualKeysNameTheirRow)
{
    EXPECT_STREQ(KeyNameFromVirtualKey(0x51), "Q");
    EXPECT_STREQ(KeyNameFromVirtualKey(0xBD), "-");
    EXPECT_STREQ(KeyNameFromVirtualKey(0x6D), "Num -");
    EXPECT_STREQ(KeyNameFromVirtualKey(0x0D), "Enter");
    EXPECT_EQ(KeyNameFromVirtualKey(0x5B), nullptr) << "the left Windows key";
    EXPECT_EQ(KeyNameFromVirtualKey(0), nullptr);
}

TEST(KeyTable, EveryNameSurvivesARoundTripExceptTheMainBlockTwins)
{
    for (const KeyEntry& row : KeyTable) {
        const std::string shownAgain = KeyNameFromCode(KeyCodeFromName(row.name));
        if (std::string(row.name) == "-") EXPECT_EQ(shownAgain, "Num -");
        else if (std::string(row.name) == "/") EXPECT_EQ(shownAgain, "Num /");
        else EXPECT_EQ(shownAgain, row.name);
    }
}
