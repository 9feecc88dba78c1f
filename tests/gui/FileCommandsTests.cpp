// Profiles to and from files through the list's menu, the whole configuration to and
// from a file through the system menu: a refused file leaves the window as it was, and
// nothing reaches the adapter before OK.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AtomicFile.h"
#include "Commands.h"
#include "ConfigDlgHarness.h"
#include "KeyTable.h"
#include "NameText.h"
#include "ProfileFiles.h"
#include "ScratchFolder.h"

namespace {

class FileCommandsTest : public ConfigDlgTest {
protected:
    FileCommandsTest()
    {
        UseSlot(0, "Alpha").keySlots[3] = KeyCodeFromName("J");
        UseSlot(2, "Gamma");
        Header().activeProfile = 0;
    }

    void Command(int id) { ::PostMessageA(dialog.m_hWnd, WM_COMMAND, id, 0); }
    void SystemCommand(int id) { ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, id, 0); }
    void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    // A profiles document of `records`, the last one's `field` set to `value` when given.
    std::string Document(const std::vector<ProfileRecord>& records, const char* field = nullptr, Json value = {})
    {
        Json profiles = Json::array();
        for (const ProfileRecord& record : records) profiles.push_back(ProfileJson(record));
        if (field) profiles.back()[field] = value;
        return Json{{"profiles", profiles}}.dump();
    }
    ProfileRecord Named(const char* name, const char* keyA)
    {
        ProfileRecord record = Record(0);
        std::memset(record.name, 0, sizeof record.name);
        std::strncpy(record.name, name, kNameBytes - 1);
        record.keySlots[3] = KeyCodeFromName(keyA);
        return record;
    }
    std::vector<std::string> ListTexts() const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < ListCount(); ++row) texts.push_back(ListText(row));
        return texts;
    }

    ScratchFolder folder;
};

struct RefusedImport {
    const char* what;
    int usedSlots;  // slots used before the import, from 0 up
    const wchar_t* told;           // part of what the message box says in English
    const wchar_t* toldInChinese;  // and where the window speaks Chinese
};

class RefusedImportTest : public FileCommandsTest, public ::testing::WithParamInterface<RefusedImport> {};

// The window before and after: list, selection, the shown profile's pending edit, the
// image in memory and the adapter are all as they were.
TEST_P(RefusedImportTest, LeavesTheWindowAsItWasAndSaysWhy)
{
    for (int slot = 3; slot < GetParam().usedSlots; ++slot) UseSlot(slot, "More");
    const std::string path = folder.Path("import.json");
    const std::string what = GetParam().what;
    if (what == "speed") WriteText(path, Document({Named("Fine", "K"), Named("Fast", "L")}, "speed", 500));
    if (what == "key") WriteText(path, Document({Named("Keys", "K")}, "keys", Json{{"A", "NoSuchKey"}}));
    if (what == "slots") WriteText(path, Document({Named("One", "K"), Named("Two", "K"), Named("Three", "K")}));
    if (what == "json") WriteText(path, "{\"profiles\": [");
    dialog.m_nextFileName = path;
    std::vector<std::string> rowsBefore;
    std::vector<uint8_t> imageBefore;
    std::wstring told;
    unsigned transfers = 0;
    script
        .Then([&] {
            SetKeyBox(IDC_KEY_B, "M");  // a pending edit of the shown profile
            rowsBefore = ListTexts();
            imageBefore = dialog.m_link.Image();
            transfers = adapter.TransferCount();
            Command(ID_MENU_IMPORT);
        })
        .Then([&] { told = AnswerMessageBox(IDOK); })
        .Then([&] {
            EXPECT_EQ(ListTexts(), rowsBefore);
            EXPECT_EQ(ListSelection(), 0);
            EXPECT_EQ(ItemText(IDC_KEY_B), "M");
            EXPECT_TRUE(dialog.m_bModified);
            EXPECT_EQ(dialog.m_link.Image(), imageBefore);
            EXPECT_EQ(adapter.TransferCount(), transfers);
            Close(IDCANCEL);
        });
    Run();
    const bool chinese = PRIMARYLANGID(AfxGetResourceLanguage()) == LANG_CHINESE;
    EXPECT_NE(told.find(chinese ? GetParam().toldInChinese : GetParam().told), std::wstring::npos) << told;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedImportTest,
    ::testing::Values(RefusedImport{"speed", 3, L": profile 2 \"Fast\": speed: 500 is outside 2-120",
                                    L": \u7B2C 2 \u4E2A\u6E38\u620F\u914D\u7F6E \"Fast\": speed: 500 \u8D85\u51FA 2-120 \u7684\u8303\u56F4"},
                      RefusedImport{"key", 3, L"profile 1 \"Keys\": keys.", L"\u7B2C 1 \u4E2A\u6E38\u620F\u914D\u7F6E \"Keys\": keys."},
                      RefusedImport{"slots", 62, L"profile 3 \"Three\": no free slot",
                                    L"\u7B2C 3 \u4E2A\u6E38\u620F\u914D\u7F6E \"Three\": \u5DF2\u6CA1\u6709\u7A7A\u95F2\u7684\u4F4D\u7F6E"},
                      RefusedImport{"json", 3, L" is refused: not JSON", L" \u88AB\u62D2\u7EDD\uFF1A\u4E0D\u662F JSON"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(FileCommandsTest, ImportFillsTheLowestFreeSlotsSelectsTheFirstAndWritesOnlyOnOk)
{
    const std::string path = folder.Path("import.json");
    ProfileRecord twice = Named("Twice", "K");
    twice.keySlots[4] = KeyCodeFromName("K");  // B too: allowed, with a warning
    WriteText(path, Document({Named("Beta", "L"), twice}));
    dialog.m_nextFileName = path;
    std::wstring warning;
    unsigned transfers = 0;
    script
        .Then([&] {
            transfers = adapter.TransferCount();
            Command(ID_MENU_IMPORT);
        })
        .Then([&] { warning = AnswerMessageBox(IDOK); })
        .Then([&] {
            EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Alpha", "Gamma", "Beta", "Twice"}));
            EXPECT_EQ(ListSelection(), 2);
            EXPECT_EQ(ItemText(IDC_KEY_A), "L");
            EXPECT_EQ(adapter.TransferCount(), transfers);
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_NE(warning.find(L"slot 3:"), std::wstring::npos) << warning;
    EXPECT_STREQ(Record(1).name, "Beta");
    EXPECT_STREQ(Record(3).name, "Twice");
    EXPECT_EQ(Record(3).keySlots[4], KeyCodeFromName("K"));
    EXPECT_EQ(Header().used[1], kSlotUsed);
    EXPECT_EQ(Header().used[3], kSlotUsed);
    EXPECT_EQ(Header().activeProfile, 0);
}

// The window's file goes through vantorctl's import into another adapter: the profile
// arrives there exactly as the window saves it, its unsaved edit included.
TEST_F(FileCommandsTest, ExportedProfileIsTakenBackIdenticallyByVantorctlImport)
{
    const std::string path = folder.Path("alpha.json");
    dialog.m_nextFileName = path;
    script
        .Then([&] {
            SetKeyBox(IDC_KEY_B, "M");
            SetKeyBox(IDC_KEY_STICK_UP, "Num 8");
            Command(ID_MENU_EXPORT);
        })
        .Then([&] { Close(IDOK); });
    EXPECT_EQ(Run(), IDOK);

    EmulatedAdapter other;
    const std::string memory = folder.Path("other.bin");
    ASSERT_TRUE(other.UseMemoryFile(memory));
    std::ostringstream out, err;
    ASSERT_EQ(RunVantorctl({"--emulated", memory, "import", path}, {out, err, false}, nullptr), kCtlOk) << err.str();
    EmulatedAdapter imported;
    ASSERT_TRUE(imported.UseMemoryFile(memory));
    EXPECT_EQ(std::memcmp(RecordOfSlot(imported.Memory(), 0), &Record(0), kBlockSize), 0);
    EXPECT_EQ(Record(0).keySlots[4], KeyCodeFromName("M"));
}

// A file name that the ANSI code page cannot write (Thai, in the Chinese session and in the
// English one): the export writes the file under exactly that name, the import takes it
// back, and a message names it as it is.
TEST_F(FileCommandsTest, ExportImportAndMessagesKeepAFileNameOutsideTheCodePage)
{
    const std::wstring name = L"\u0E01\u0E32\u0E23 profile.json";
    ASSERT_FALSE(IsTextOfNameCodePage(name));
    const std::filesystem::path path = std::filesystem::path(folder.Path("")) / name;
    dialog.m_nextFileName = path;
    std::wstring refused;
    script
        .Then([&] { Command(ID_MENU_EXPORT); })
        .Then([&] {
            EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
            Command(ID_MENU_IMPORT);
        })
        .Then([&] {
            EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Alpha", "Gamma", "Alpha"}));
            SystemCommand(IDM_OPEN_COPY);  // a profiles document is no image
        })
        .Then([&] { refused = AnswerMessageBox(IDOK); })
        .Then([&] { Close(IDCANCEL); });
    Run();
    EXPECT_NE(refused.find(name), std::wstring::npos) << refused;
}

// A file that cannot be read is refused with the system's reason as the system gives it,
// here in a language that the ANSI code page lacks (Korean), both by the import and by
// Open a copy.
TEST_F(FileCommandsTest, TheReasonThatAFileCannotBeReadReachesTheMessageWhole)
{
    const std::string missing = folder.Path("missing.json");
    SetReasonLanguage(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    std::vector<uint8_t> none;
    const std::wstring reason = ReadFileStart(SystemPathFromNarrow(missing), 1, none).reason;
    std::vector<std::wstring> told;
    dialog.m_nextFileName = missing;
    script.Then([&] { Command(ID_MENU_IMPORT); })
        .Then([&] { told.push_back(AnswerMessageBox(IDOK)); })
        .Then([&] { SystemCommand(IDM_OPEN_COPY); })
        .Then([&] { told.push_back(AnswerMessageBox(IDOK)); })
        .Then([&] { Close(IDCANCEL); });
    Run();
    SetReasonLanguage(0);
    ASSERT_TRUE(std::any_of(reason.begin(), reason.end(), [](wchar_t c) { return c >= 0xAC00 && c <= 0xD7A3; }))
        << "the system has no Korean reasons";
    ASSERT_EQ(told.size(), 2u);
    for (const std::wstring& message : told) {
        EXPECT_NE(message.find(SystemPathFromNarrow(missing)), std::wstring::npos) << message;
        EXPECT_NE(message.find(reason), std::wstring::npos) << message;
    }
}

// Files of the user's with the names that the writes once took for their temporary files
// (one read-only) keep their bytes through a Save a copy over an existing copy and an
// export, and no other file is left behind.
TEST_F(FileCommandsTest, SaveACopyAndExportLeaveTheFilesBesideTheTargetAsTheyWere)
{
    const std::vector<std::string> usersFiles = {"copy.bin.partial", "copy.bin.replaced", "alpha.json.partial",
                                                 "alpha.json.replaced"};
    for (const std::string& name : usersFiles) WriteText(folder.Path(name), "the user's " + name);
    WriteText(folder.Path("copy.bin"), "an older copy");
    const std::wstring readOnly = SystemPathFromNarrow(folder.Path("copy.bin.partial"));
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    script
        .Then([&] {
            dialog.m_nextFileName = folder.Path("copy.bin");
            SystemCommand(IDM_SAVE_COPY);
        })
        .Then([&] {
            dialog.m_nextFileName = folder.Path("alpha.json");
            Command(ID_MENU_EXPORT);
        })
        .Then([&] { Close(IDCANCEL); });
    Run();
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path(""))) {
        const std::string name = entry.path().filename().string();
        names.push_back(name);
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(file), {});
        if (name == "copy.bin") EXPECT_EQ(bytes.size(), kImageSize);
        else if (name == "alpha.json") EXPECT_NE(bytes.find("\"Alpha\""), std::string::npos) << bytes;
        else EXPECT_EQ(bytes, "the user's " + name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"alpha.json", "alpha.json.partial", "alpha.json.replaced", "copy.bin",
                                               "copy.bin.partial", "copy.bin.replaced"}));
}

// Save a copy, change the window, then open the copy: the window shows the copy again.
// A copy that restore would refuse changes nothing.
TEST_F(FileCommandsTest, OpenACopyRefusesAnUnsoundImageAndTakesTheSavedOneOnYes)
{
    const std::string copy = folder.Path("copy.bin");
    const std::string unsound = folder.Path("unsound.bin");
    std::vector<uint8_t> bad(adapter.Memory(), adapter.Memory() + kImageSize);
    HeaderOfImage(bad.data()).activeProfile = 5;  // a free slot
    WriteText(unsound, std::string(bad.begin(), bad.end()));
    std::wstring refused;
    std::vector<uint8_t> saved;
    script
        .Then([&] {
            SetKeyBox(IDC_KEY_B, "M");
            dialog.m_nextFileName = copy;
            SystemCommand(IDM_SAVE_COPY);
        })
        .Then([&] {
            SetKeyBox(IDC_KEY_B, "N");
            Command(ID_MENU_DELETE);
            dialog.m_nextFileName = unsound;
            SystemCommand(IDM_OPEN_COPY);
        })
        .Then([&] { refused = AnswerMessageBox(IDOK); })
        .Then([&] {
            EXPECT_EQ(ListTexts(), std::vector<std::string>{"Gamma"});
            dialog.m_nextFileName = copy;
            SystemCommand(IDM_OPEN_COPY);
        })
        .Then([&] { AnswerMessageBox(IDYES); })
        .Then([&] {
            EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Alpha", "Gamma"}));
            EXPECT_EQ(ListSelection(), 0);
            EXPECT_EQ(ItemText(IDC_KEY_B), "M");
            Close(IDCANCEL);
        });
    Run();
    EXPECT_NE(refused.find(L"active profile is slot 5, which is free"), std::wstring::npos) << refused;
    std::ifstream file(copy, std::ios::binary);
    saved.assign(std::istreambuf_iterator<char>(file), {});
    ASSERT_EQ(saved.size(), kImageSize);
    EXPECT_EQ(RecordOfSlot(saved.data(), 0)->keySlots[4], KeyCodeFromName("M"));
}

}  // namespace
