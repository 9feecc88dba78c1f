#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FakeLayouts.h"
#include "KeyNames.h"

namespace {

std::wstring Wide(const char* name) { return std::wstring(name, name + std::strlen(name)); }

// The keys whose labels differ between layouts, row by row as a keyboard has them.
constexpr uint16_t kCharacterPositions[] = {
    0x29, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,  // ` 1 ... =
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B,        // Q ... ]
    0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2B,        // A ... backslash
    0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35,                    // Z ... /
};

// The labels that `labels` gives, one per character position in order, parted by spaces.
std::vector<std::wstring> LabelsOf(const std::wstring& labels)
{
    std::vector<std::wstring> parts;
    std::wistringstream stream(labels);
    for (std::wstring part; stream >> part;) parts.push_back(part);
    return parts;
}

struct NamedLayout {
    const char* name;
    FakeLayout layout;
    std::wstring labels;  // what each character position shows, in the order above
};

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

TEST(KeyNames, UnderTheUsLayoutEveryNameIsTheTables)
{
    const KeyNames names{FakeLayout()};
    for (const KeyEntry& row : KeyTable) {
        EXPECT_EQ(names.NameAtPosition(row.position), Wide(row.name));
        EXPECT_EQ(names.NameOfCode(row.keyCode), Wide(KeyNameFromCode(row.keyCode))) << row.name;
    }
    EXPECT_EQ(names.NameAtPosition(0x56), L"") << "a key the table does not hold";
}

TEST(KeyNames, NoKeyShowsNothingAndACodeTheTableLacksShowsItsNumber)
{
    const KeyNames names{FakeLayout()};
    EXPECT_EQ(names.NameOfCode(0), L"");
    EXPECT_EQ(names.NameOfCode(0x01), L"0x01");
    EXPECT_EQ(names.NameOfCode(0xFE), L"0xFE");
}

// Every key of the table under five layouts: the character keys show what the layout's key
// types (letters and digits by their names), dead keys their accent, whatever the ANSI code
// page can write; every other key keeps the table's name; no two keys share a name, so a
// name the user sees leads back to one position.
TEST(KeyNames, EveryPositionShowsItsLabelUnderFiveLayoutsAndNoNameIsShared)
{
    const NamedLayout layouts[] = {
        {"US", FakeLayout(),
         L"` 1 2 3 4 5 6 7 8 9 0 - = Q W E R T Y U I O P [ ] A S D F G H J K L ; ' \\ Z X C V B N M , . /"},
        {"French", FrenchLayout(),
         L"\u00B2 1 2 3 4 5 6 7 8 9 0 ) = A Z E R T Y U I O P ^ $ "
         L"Q S D F G H J K L M \u00D9 * W X C V B N , ; : !"},
        {"German", GermanLayout(),
         L"^ 1 2 3 4 5 6 7 8 9 0 \u00DF \u00B4 Q W E R T Z U I O P \u00DC + "
         L"A S D F G H J K L \u00D6 \u00C4 # Y X C V B N M , . -"},
        {"Spanish", SpanishLayout(),
         L"\u00BA 1 2 3 4 5 6 7 8 9 0 ' \u00A1 Q W E R T Y U I O P ` + "
         L"A S D F G H J K L \u00D1 \u00B4 \u00C7 Z X C V B N M , . -"},
        {"UK", UkLayout(),
         L"` 1 2 3 4 5 6 7 8 9 0 - = Q W E R T Y U I O P [ ] A S D F G H J K L ; ' # Z X C V B N M , . /"},
    };
    for (const NamedLayout& named : layouts) {
        const KeyNames names(named.layout);
        const std::vector<std::wstring> labels = LabelsOf(named.labels);
        ASSERT_EQ(labels.size(), std::size(kCharacterPositions)) << named.name;
        std::map<std::wstring, uint16_t> positionOfName;
        for (size_t index = 0; index < labels.size(); ++index) {
            EXPECT_EQ(names.NameAtPosition(kCharacterPositions[index]), labels[index])
                << named.name << " at " << std::hex << kCharacterPositions[index];
        }
        for (const KeyEntry& row : KeyTable) {
            const std::wstring shown = names.NameAtPosition(row.position);
            if (row.name[1] != '\0') {
                EXPECT_EQ(shown, Wide(row.name)) << named.name;
            }
            const auto [previous, unshared] = positionOfName.emplace(shown, row.position);
            EXPECT_TRUE(unshared) << named.name << ": " << row.name << " shows as the key at " << std::hex
                                  << previous->second;
        }
    }
}

TEST(KeyNames, APunctuationKeyThatTypesNothingKeepsTheUsNameOfItsVirtualKey)
{
    const FakeLayout silentQuote({}, {{0xDE, L""}});
    EXPECT_EQ(KeyNames(silentQuote).NameAtPosition(kPositionQuote), L"'");
}

TEST(KeyNames, APositionTheLayoutHasNoKeyForKeepsTheTablesName)
{
    const FakeLayout withoutBackslash({{0x2B, 0}}, {});
    EXPECT_EQ(KeyNames(withoutBackslash).NameAtPosition(0x2B), L"\\");
}

TEST(KeyPositions, AKeyWithoutItsScanCodeStandsWhereItsVirtualKeyIs)
{
    const FakeLayout french = FrenchLayout();
    EXPECT_EQ(PositionOfVirtualKey(french, 'A'), kPositionQ) << "a character key where the layout puts it";
    EXPECT_EQ(PositionOfVirtualKey(french, 0xDF), kPositionSlash) << "a virtual key the table lacks";
    EXPECT_EQ(PositionOfVirtualKey(french, 0x0D), 0x1C);
    EXPECT_EQ(PositionOfVirtualKey(french, 0x25), 0xE04B) << "Left, an extended key";
    const FakeLayout withoutKeypad({{0x52, 0}, {0x47, 0}}, {});
    EXPECT_EQ(PositionOfVirtualKey(withoutKeypad, 0x60), 0x52) << "Num 0 where the layout maps none";
    EXPECT_EQ(PositionOfVirtualKey(withoutKeypad, 0x67), 0x47) << "Num 7";
    EXPECT_EQ(PositionOfVirtualKey(FakeLayout(), 0x5B), 0) << "the left Windows key";
}
