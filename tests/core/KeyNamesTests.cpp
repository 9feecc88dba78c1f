#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FakeLayouts.h"
#include "KeyNames.h"

namespace {

struct PressedKey {
    uint16_t position;
    const char* shown;
    uint8_t stored;
};

void ExpectKeys(const KeyboardLayout& layout, std::initializer_list<PressedKey> keys)
{
    const KeyNames names(layout);
    for (const PressedKey& key : keys) {
        EXPECT_EQ(names.NameAtPosition(key.position), key.shown) << std::hex << key.position;
        EXPECT_EQ(names.CodeOfName(key.shown), key.stored) << key.shown;
        EXPECT_EQ(names.NameOfCode(key.stored), key.shown) << "a profile read from the adapter";
    }
}

}  // namespace

TEST(KeyPositions, EveryRowHasAPositionOfItsOwn)
{
    std::set<uint16_t> positions;
    for (const KeyEntry& row : KeyTable) {
        EXPECT_TRUE(positions.insert(row.position).second) << row.name;
        EXPECT_EQ(KeyRowAtPosition(row.position), &row) << row.name;
    }
}

TEST(KeyPositions, ExtendedKeysAndTwinsFindTheirRows)
{
    const std::pair<uint16_t, const char*> keys[] = {
        {0x45, "Pause"},  {0xE045, "Num Lock"}, {0x35, "/"},      {0xE035, "Num /"},
        {0x47, "Num 7"},  {0xE047, "Home"},     {0x53, "Num Del"}, {0xE053, "Delete"},
        {0x1C, "Enter"},  {0xE01C, "Enter"},    {0x1D, "Ctrl"},   {0xE01D, "Ctrl"},
        {0x38, "Alt"},    {0xE038, "Alt"},      {0x2A, "Shift"},  {0x36, "Shift"},
    };
    for (const auto& [position, name] : keys) {
        ASSERT_NE(KeyRowAtPosition(position), nullptr) << std::hex << position;
        EXPECT_STREQ(KeyRowAtPosition(position)->name, name) << std::hex << position;
    }
    EXPECT_EQ(KeyRowAtPosition(0x56), nullptr) << "the key beside the left Shift of 102-key keyboards";
    EXPECT_EQ(KeyRowAtPosition(0xE05B), nullptr) << "the left Windows key";
}

TEST(KeyNames, UnderTheUsLayoutEveryNameAndCodeIsTheTables)
{
    const KeyNames names{FakeLayout()};
    for (const KeyEntry& row : KeyTable) {
        EXPECT_EQ(names.NameAtPosition(row.position), row.name);
        EXPECT_EQ(names.CodeOfName(row.name), KeyCodeFromName(row.name)) << row.name;
        EXPECT_EQ(names.NameOfCode(row.keyCode), KeyNameFromCode(row.keyCode)) << row.name;
    }
    EXPECT_EQ(names.CodeOfName(""), 0);
    EXPECT_EQ(names.CodeOfName("shift"), 0);
    EXPECT_EQ(names.NameOfCode(0x01), "");
}

TEST(KeyNames, AFrenchKeyShowsItsLabelAndStoresItsPosition)
{
    ExpectKeys(FrenchLayout(), {
                                   {kPositionQ, "A", KeyCodeFromName("Q")},
                                   {kPositionA, "Q", KeyCodeFromName("A")},
                                   {kPositionSemicolon, "M", KeyCodeFromName(";")},
                                   {kPositionM, ",", KeyCodeFromName("M")},
                                   {0x34, ":", KeyCodeFromName(".")},
                                   {0x28, "`", KeyCodeFromName("'")},  // ù: the US name of its virtual key
                               });
}

TEST(KeyNames, AGermanKeyShowsItsLabelAndStoresItsPosition)
{
    ExpectKeys(GermanLayout(), {
                                   {kPositionY, "Z", KeyCodeFromName("Y")},
                                   {kPositionZ, "Y", KeyCodeFromName("Z")},
                                   {0x1B, "+", KeyCodeFromName("]")},
                                   {kPositionSemicolon, "`", KeyCodeFromName(";")},  // Ö
                                   {0x2B, "#", KeyCodeFromName("\\")},
                               });
}

TEST(KeyNames, EveryKeyNameBringsBackItsCodeUnderEveryLayout)
{
    for (const FakeLayout& layout : {FakeLayout(), FrenchLayout(), GermanLayout()}) {
        const KeyNames names(layout);
        for (const KeyEntry& row : KeyTable) {
            const std::string shown = names.NameAtPosition(row.position);
            EXPECT_EQ(names.CodeOfName(shown), row.keyCode) << row.name << " shown as " << shown;
        }
    }
}

TEST(KeyNames, APositionTheLayoutHasNoKeyForKeepsTheTablesName)
{
    const FakeLayout withoutBackslash({{0x2B, 0}}, {});
    ExpectKeys(withoutBackslash, {{0x2B, "\\", KeyCodeFromName("\\")}});
}
