// vantorctl driven in-process against an emulated adapter on a virtual clock.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "ConsoleEnd.h"
#include "ConsoleText.h"
#endif

#include "AtomicFile.h"
#include "Commands.h"
#include "EmulatedAdapter.h"
#include "ImageCheck.h"
#include "KeyTable.h"
#include "NameText.h"
#include "ProfileJson.h"
#include "ScratchFolder.h"
#include "SwitchedLock.h"

namespace {

// Counts the 32-byte data halves written, the only transfers that change the adapter, and
// the calls made without holding the lock.
class WriteCountingPort : public AdapterPort {
public:
    WriteCountingPort(AdapterPort& port, const SwitchedLock& lock) : m_port(port), m_lock(lock) {}
    int halvesWritten = 0;
    int callsUnlocked = 0;

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
    {
        CountUnlocked();
        return m_port.OpenInterface(guid, index);
    }
    void Close(AdapterHandle handle) override { m_port.Close(handle); }
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        CountUnlocked();
        if (size == 32) ++halvesWritten;
        return m_port.Write(handle, data, size, done);
    }
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
    {
        CountUnlocked();
        return m_port.Read(handle, data, size, done);
    }
    void Pause10ms() override { m_port.Pause10ms(); }

private:
    void CountUnlocked() { callsUnlocked += m_lock.held ? 0 : 1; }

    AdapterPort& m_port;
    const SwitchedLock& m_lock;
};

class VantorctlTest : public ::testing::Test {
protected:
    VantorctlTest()
    {
        AddProfile(0, "Shooter", "Q");
        AddProfile(4, "Racing", "Up");
        Header().activeProfile = 4;
    }
    // Every command holds the lock for as long as it talks to the adapter.
    ~VantorctlTest() override { EXPECT_EQ(counting.callsUnlocked, 0); }

    ImageHeader& Header() { return HeaderOfImage(adapter.Memory()); }
    ProfileRecord& Record(int slot) { return *RecordOfSlot(adapter.Memory(), slot); }
    std::vector<uint8_t> Memory() { return {adapter.Memory(), adapter.Memory() + kImageSize}; }

    ProfileRecord& AddProfile(int slot, const char* name, const char* keyA)
    {
        ProfileRecord& record = Record(slot);
        std::strncpy(record.name, name, kNameBytes - 1);
        record.keySlots[PlainMap[3]] = KeyCodeFromName(keyA);
        record.speed = 50;
        record.mouseButtons[kMouseLeft] = kPadA;
        record.comboButtons = 1;
        Header().used[slot] = kSlotUsed;
        return record;
    }

    std::string TempPath(const std::string& name) { return scratch.Path(name); }
    std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = TempPath(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    std::string WriteText(const std::string& name, const std::string& text)
    {
        return WriteFile(name, {text.begin(), text.end()});
    }
    Json ReadJson(const std::string& path)
    {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(ReadFileStart(SystemPathFromNarrow(path), 1 << 20, bytes)) << path;
        return Json::parse(bytes.begin(), bytes.end());
    }

    int Run(std::vector<std::string> args, bool showProgress = false)
    {
        out.str("");
        err.str("");
        const DriverAccess driver = {counting, lock};
        return RunVantorctl(args, {out, err, showProgress}, &driver);
    }

    EmulatedAdapter adapter;
    SwitchedLock lock;
    WriteCountingPort counting{adapter, lock};
    std::ostringstream out;
    std::ostringstream err;
    ScratchFolder scratch;
};

TEST_F(VantorctlTest, BackupThenRestoreGivesTheSameMemoryByteForByte)
{
    Record(0).keptTail[5] = 0x5A;  // bytes the window never writes travel too
    const std::vector<uint8_t> original = Memory();
    const std::string backup = TempPath("round.bin");
    ASSERT_EQ(Run({"backup", backup}), kCtlOk) << err.str();
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileStart(SystemPathFromNarrow(backup), kImageSize + 1, file));
    EXPECT_EQ(file, original);
    EXPECT_EQ(counting.halvesWritten, 0);

    std::memset(adapter.Memory(), 0xEE, kImageSize);
    EXPECT_EQ(Run({"restore", backup}), kCtlOk) << err.str();
    EXPECT_EQ(Memory(), original);
    EXPECT_EQ(out.str(), "restored " + backup + " and verified all 64 blocks\n");
}

// Transfers are numbered over the whole command: the load takes 4 for each block (packet,
// half, packet, half), and so does each block written or read back.
constexpr unsigned kBlockTransfers = 4;
constexpr unsigned kAllBlocksTransfers = kBlockCount * kBlockTransfers;

// The restore writes block 1 and the header that differ; a transfer of block 1 fails there
// and again in the whole write that follows (the k-th of the block's four in each).
class RestoreWriteFailureTest : public VantorctlTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RestoreWriteFailureTest, NamesTheBlockWhoseWriteFailedAndFails)
{
    std::vector<uint8_t> wanted = Memory();
    RecordOfSlot(wanted.data(), 1)->speed = 77;
    const std::string file = WriteFile("wanted.bin", wanted);
    Header().used[7] = kSlotUsed;  // differs from the file in the header
    const unsigned k = GetParam();
    adapter.FailTransfer(kAllBlocksTransfers + k);
    adapter.FailTransfer(kAllBlocksTransfers + k + kBlockTransfers + k);
    EXPECT_EQ(Run({"restore", file}), kCtlNotRestored);
    const std::string report = err.str();
    EXPECT_NE(report.find("writing block 1 failed"), std::string::npos) << report;
    EXPECT_NE(report.find("block 63 (header) differs"), std::string::npos) << report;
    EXPECT_EQ(report.find("block 0 "), std::string::npos) << report;  // block 0 was written
    EXPECT_NE(report.find("2 of 64 blocks failed or differ"), std::string::npos) << report;
    EXPECT_EQ(Header().used[7], kSlotUsed);  // the header is never written after a failure
    EXPECT_TRUE(out.str().empty());
}

INSTANTIATE_TEST_SUITE_P(EachTransferOfABlock, RestoreWriteFailureTest, ::testing::Values(1u, 2u, 3u, 4u));

TEST_F(VantorctlTest, RestoreOnATerminalShowsHowManyBlocksAreWritten)
{
    const std::string file = WriteFile("wanted.bin", Memory());
    std::memset(adapter.Memory(), 0xEE, kImageSize);
    EXPECT_EQ(Run({"restore", file}, true), kCtlOk);
    const std::string progress = err.str();
    EXPECT_EQ(progress.rfind("\rblocks written: 1", 0), 0u) << progress;
    EXPECT_NE(progress.find("\rblocks written: 64\n"), std::string::npos) << progress;
    EXPECT_EQ(progress.find("written: 65"), std::string::npos) << progress;
    EXPECT_EQ(out.str().find("written:"), std::string::npos) << "progress stays off the output";
}

// The changed block 0 and the header are written; the read-back of block 0 fails, and so
// it does after the whole write that follows.
TEST_F(VantorctlTest, RestoreWhoseReadBackFailsSaysTheAdapterDoesNotHoldTheFile)
{
    std::vector<uint8_t> wanted = Memory();
    RecordOfSlot(wanted.data(), 0)->speed = 77;
    const std::string file = WriteFile("wanted.bin", wanted);
    const unsigned firstReadBack = kAllBlocksTransfers + 2 * kBlockTransfers;
    adapter.FailTransfer(firstReadBack + 4);
    adapter.FailTransfer(firstReadBack + 2 * kAllBlocksTransfers + 4);
    EXPECT_EQ(Run({"restore", file}), kCtlNotRestored);
    EXPECT_NE(err.str().find("block 0 cannot be read back"), std::string::npos) << err.str();
    EXPECT_EQ(adapter.TransferCount(), firstReadBack + 3 * kAllBlocksTransfers) << "no third write";
}

// A backup mends an adapter that cannot be read whole: every block is written, in the
// order of a save, and read back.
TEST_F(VantorctlTest, RestoreOverAnAdapterThatCannotBeReadWritesEveryBlock)
{
    const std::vector<uint8_t> wanted = Memory();
    const std::string file = WriteFile("wanted.bin", wanted);
    std::memset(adapter.Memory(), 0xEE, kImageSize);
    adapter.FailTransfer(kBlockTransfers + 2);  // the load's read of block 0
    EXPECT_EQ(Run({"restore", file}), kCtlOk) << err.str();
    EXPECT_EQ(Memory(), wanted);
    EXPECT_EQ(counting.halvesWritten, 2 * kBlockCount);
    EXPECT_NE(err.str().find("writing every block of " + file), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "restored " + file + " and verified all 64 blocks\n");
}

TEST_F(VantorctlTest, RefusedFilesWriteNothing)
{
    std::vector<uint8_t> usedFlagTwo = Memory();
    HeaderOfImage(usedFlagTwo.data()).used[3] = 2;
    std::vector<uint8_t> activeFree = Memory();
    HeaderOfImage(activeFree.data()).activeProfile = 9;
    const std::vector<std::string> files = {
        WriteFile("short.bin", std::vector<uint8_t>(kImageSize - 1)),
        WriteFile("long.bin", std::vector<uint8_t>(kImageSize + 1)),
        WriteFile("flag.bin", usedFlagTwo),
        WriteFile("active.bin", activeFree),
        TempPath("missing.bin"),
    };
    for (const std::string& file : files) {
        EXPECT_EQ(Run({"restore", file}), kCtlFileError) << file;
        EXPECT_FALSE(err.str().empty());
    }
    EXPECT_EQ(adapter.TransferCount(), 0u);
}

TEST_F(VantorctlTest, EmptyImageWithActiveByteZeroIsRestored)
{
    std::vector<uint8_t> empty(kImageSize);
    EXPECT_EQ(Run({"restore", WriteFile("empty.bin", empty)}), kCtlOk) << err.str();
    EXPECT_EQ(Memory(), empty);
}

TEST_F(VantorctlTest, FailedBackupLeavesAnExistingFileAsItWas)
{
    const std::vector<uint8_t> old(kImageSize, 0x11);
    const std::string backup = WriteFile("old.bin", old);
    adapter.FailTransfer(30);
    EXPECT_EQ(Run({"backup", backup}), kCtlTransferFailed);
    EXPECT_NE(err.str().find("transfer"), std::string::npos);
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileStart(SystemPathFromNarrow(backup), kImageSize + 1, file));
    EXPECT_EQ(file, old);
    EXPECT_FALSE(std::ifstream(backup + ".partial").good());
}

TEST_F(VantorctlTest, BackupIntoAMissingFolderSaysWhy)
{
    const std::string backup = TempPath("no-such-folder/backup.bin");
    EXPECT_EQ(Run({"backup", backup}), kCtlFileError);
    EXPECT_EQ(err.str().rfind("vantorctl: cannot write " + backup + ": ", 0), 0u) << err.str();
    EXPECT_TRUE(out.str().empty());
}

// A path that starts with a slash is a file name on every system, never an option.
TEST_F(VantorctlTest, APathFromTheRootIsAFileNameNotAnOption)
{
    EXPECT_EQ(Run({"backup", "/no-such-folder/backup.bin"}), kCtlFileError) << err.str();
}

TEST_F(VantorctlTest, BackupReplacesAnExistingFileWhole)
{
    const std::string backup = WriteFile("replaced.bin", std::vector<uint8_t>(2 * kImageSize, 0x11));
    ASSERT_EQ(Run({"backup", backup}), kCtlOk) << err.str();
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileStart(SystemPathFromNarrow(backup), 2 * kImageSize, file));
    EXPECT_EQ(file, Memory());
}

// The names of the entries of `folder`, each file's with its bytes.
std::map<std::string, std::string> FolderContents(const std::string& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file;
        if (entry.is_regular_file()) file.open(entry.path(), std::ios::binary);
        contents[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(file), {});
    }
    return contents;
}

// Read-only for the system's file functions; `readOnly` false makes it writable again, as
// the scratch folder's removal needs on Windows.
void MakeReadOnly(const std::string& path, bool readOnly = true)
{
    using std::filesystem::perms;
    const perms writable = perms::owner_write | perms::group_write | perms::others_write;
    std::filesystem::permissions(path, writable, readOnly ? std::filesystem::perm_options::remove
                                                          : std::filesystem::perm_options::add);
}

// Files of the user's whose names a write might take for its own temporary files stay as
// they were, a read-only one too, whether the write makes its file or replaces it.
TEST_F(VantorctlTest, FilesBesideTheTargetKeepTheirBytesAfterABackupAndAnExport)
{
    for (const char* name : {"copy.bin", "racing.json"}) {
        WriteText(std::string(name) + ".partial", std::string("the user's own ") + name);
        WriteText(std::string(name) + ".replaced", std::string("kept ") + name);
    }
    MakeReadOnly(TempPath("copy.bin.partial"));
    MakeReadOnly(TempPath("racing.json.replaced"));
    const std::map<std::string, std::string> before = FolderContents(TempPath(""));
    for (int round = 0; round < 2; ++round) {  // a new file, then the same one replaced
        ASSERT_EQ(Run({"backup", TempPath("copy.bin")}), kCtlOk) << err.str();
        ASSERT_EQ(Run({"export", TempPath("racing.json"), "--name", "Racing"}), kCtlOk) << err.str();
    }
    std::map<std::string, std::string> after = FolderContents(TempPath(""));
    const std::vector<uint8_t> memory = Memory();
    EXPECT_EQ(after["copy.bin"], std::string(memory.begin(), memory.end()));
    EXPECT_NE(after["racing.json"].find("\"Racing\""), std::string::npos);
    after.erase("copy.bin");
    after.erase("racing.json");
    EXPECT_EQ(after, before);
    MakeReadOnly(TempPath("copy.bin.partial"), false);
    MakeReadOnly(TempPath("racing.json.replaced"), false);
}

// A write that fails after its temporary file was made removes that file and nothing else.
TEST(AtomicFileTest, AFailedWriteRemovesOnlyItsOwnTemporaryFile)
{
    const ScratchFolder folder;
    std::ofstream(folder.Path("target.partial")) << "the user's";
    std::ofstream(folder.Path("target.replaced")) << "the user's too";
#ifdef _WIN32
    std::ofstream(folder.Path("target")) << "read-only";  // Windows replaces no read-only file
    MakeReadOnly(folder.Path("target"));
#else
    std::filesystem::create_directory(folder.Path("target"));  // no file takes the place of a folder
#endif
    const std::map<std::string, std::string> before = FolderContents(folder.Path(""));
    EXPECT_FALSE(WriteFileAtomically(SystemPathFromNarrow(folder.Path("target")), std::vector<uint8_t>(10, 'x')));
    EXPECT_EQ(FolderContents(folder.Path("")), before);
    MakeReadOnly(folder.Path("target"), false);
}

#ifdef _WIN32
// A read-only file and one that another program holds open without sharing: the backup
// over each is refused in the system's words, and the file stays as it was.
TEST_F(VantorctlTest, BackupOverAFileThatCannotBeReplacedSaysTheSystemsReasonAndKeepsIt)
{
    const std::vector<uint8_t> old(kImageSize, 0x11);
    const std::string readOnly = WriteFile("read-only.bin", old);
    const std::string heldOpen = WriteFile("held-open.bin", old);
    const HANDLE held = CreateFileA(heldOpen.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::string& backup : {readOnly, heldOpen}) {
        EXPECT_EQ(Run({"backup", backup}), kCtlFileError) << backup;
        const std::string told = "vantorctl: cannot write " + backup + ": ";
        EXPECT_EQ(err.str().rfind(told, 0), 0u) << err.str();
        EXPECT_GT(err.str().size(), told.size() + 1) << "no reason: " << err.str();
        EXPECT_FALSE(std::ifstream(backup + ".partial").good()) << backup;
    }
    CloseHandle(held);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string& backup : {readOnly, heldOpen}) {
        std::vector<uint8_t> file;
        EXPECT_TRUE(ReadFileStart(SystemPathFromNarrow(backup), 2 * kImageSize, file)) << backup;
        EXPECT_EQ(file, old) << backup;
    }
}

TEST_F(VantorctlTest, BackupOverAHiddenFileKeepsItHidden)
{
    const std::string backup = WriteFile("hidden.bin", std::vector<uint8_t>(kImageSize, 0x11));
    SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(Run({"backup", backup}), kCtlOk) << err.str();
    EXPECT_NE(GetFileAttributesA(backup.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileStart(SystemPathFromNarrow(backup), 2 * kImageSize, file));
    EXPECT_EQ(file, Memory());
}

// Folders nested in `base` until a file in them has a path longer than MAX_PATH, made and
// removed through the \\?\ form, which has no such limit (the scratch folder's removal has).
class LongPathFolder {
public:
    explicit LongPathFolder(std::string base) : m_path(std::move(base))
    {
        for (char letter = 'a'; m_path.size() < MAX_PATH; ++letter) {
            m_path += std::string(100, letter) + "\\";
            m_made.push_back(Prefixed(m_path));
            EXPECT_TRUE(CreateDirectoryW(m_made.back().c_str(), nullptr)) << GetLastError();
        }
    }
    ~LongPathFolder()
    {
        DeleteFileW(Prefixed(File()).c_str());
        for (auto folder = m_made.rbegin(); folder != m_made.rend(); ++folder) RemoveDirectoryW(folder->c_str());
    }
    std::string File() const { return m_path + "backup.bin"; }

private:
    static std::wstring Prefixed(const std::string& path) { return L"\\\\?\\" + SystemPathFromNarrow(path); }

    std::string m_path;
    std::vector<std::wstring> m_made;
};

TEST_F(VantorctlTest, BackupAndRestoreTakeAPathLongerThanMaxPath)
{
    const LongPathFolder folder(TempPath(""));
    const std::vector<uint8_t> original = Memory();
    ASSERT_EQ(Run({"backup", folder.File()}), kCtlOk) << err.str();
    std::memset(adapter.Memory(), 0xEE, kImageSize);
    EXPECT_EQ(Run({"restore", folder.File()}), kCtlOk) << err.str();
    EXPECT_EQ(Memory(), original);
}

// Wine has no MAX_PATH limit, Windows has: a path takes the \\?\ form (\\?\UNC\ for a
// share) exactly when a temporary name beside it, ".12345678.replaced" the longest, would
// pass the limit.
TEST(LongPathFormTest, OnlyAPathThatANameBesideItWouldTakePastMaxPathIsMarked)
{
    const std::wstring folder = L"C:\\" + std::wstring(231, L'f') + L"\\";  // 235 characters
    EXPECT_EQ(LongPathForm(folder + L"ab.bin"), folder + L"ab.bin");
    EXPECT_EQ(LongPathForm(folder + L"abc.bin"), L"\\\\?\\" + folder + L"abc.bin");
    const std::wstring share = L"\\\\server\\share\\" + std::wstring(250, L'f');
    EXPECT_EQ(LongPathForm(share), L"\\\\?\\UNC" + share.substr(1));
}
#endif

TEST_F(VantorctlTest, CheckFindsEachKindOfProblem)
{
    ProfileRecord& bad = AddProfile(2, "Broken", "Q");
    bad.keySlots[PlainMap[4]] = KeyCodeFromName("Q");  // Q on A and B
    bad.comboKey = KeyCodeFromName("Q");               // and the combination key
    bad.keySlots[20] = 0xFF;                           // names no key
    bad.speed = 0;
    bad.axisMode = 3;
    bad.mouseButtons[kMouseMiddle] = 8;
    std::memset(bad.name, 'N', kNameBytes);
    Header().used[9] = 5;
    Header().activeProfile = 6;
    EXPECT_EQ(Run({"check"}), kCtlProblemsFound);
    const std::string report = out.str();
    for (const char* expected : {"header: active profile is slot 6, which is free",
                                 "header: used flag of slot 9 is 5",
                                 "slot 2: key Q is used 3 times: A, B, combination key",
                                 "slot 2: key slot 20 holds 0xFF, which names no key",
                                 "slot 2: speed 0 is outside 2-120",
                                 "slot 2: axis mode byte 3",
                                 "slot 2: middle mouse button byte 8",
                                 "slot 2: name has no terminating NUL"})
        EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n" << report;
    EXPECT_EQ(report.find("slot 0:"), std::string::npos) << report;
    EXPECT_EQ(counting.halvesWritten, 0);
}

TEST_F(VantorctlTest, CleanImageHasNoProblemsAndNoneIsASoundActiveByte)
{
    EXPECT_EQ(Run({"check"}), kCtlOk);
    EXPECT_EQ(out.str(), "no problems found\n");
    Header().activeProfile = kNoActiveProfile;
    EXPECT_EQ(Run({"check"}), kCtlOk) << out.str();
}

TEST(ImageCheckTest, ActiveByteZeroIsSoundOnlyWhileNoSlotIsUsed)
{
    std::vector<uint8_t> image(kImageSize);
    EXPECT_TRUE(FindImageProblems(image.data()).empty());
    EXPECT_EQ(RestoreRefusal(image.data()), "");
    image[kRecordBufferSize + 1 + 5] = kSlotUsed;  // slot 5 used, active still 0
    RecordOfSlot(image.data(), 5)->speed = kMinSpeed;
    const std::vector<ImageProblem> problems = FindImageProblems(image.data());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].text, "active profile is slot 0, which is free");
    EXPECT_EQ(RestoreRefusal(image.data()), problems[0].text);
}

TEST(ImageCheckTest, RepeatedKeysCountOnlyTheSlotsOfTheAxisMode)
{
    std::vector<uint8_t> image(kImageSize);
    image[kRecordBufferSize + 1] = kSlotUsed;
    ProfileRecord& record = *RecordOfSlot(image.data(), 0);
    record.speed = kMaxSpeed;
    record.keySlots[10] = KeyCodeFromName("W");  // stick left with axis mode on
    record.keySlots[19] = KeyCodeFromName("W");  // stick left with axis mode off
    record.axisMode = 1;
    EXPECT_TRUE(FindImageProblems(image.data()).empty());
    record.keySlots[PlainMap[3]] = KeyCodeFromName("W");
    record.axisMode = 0;
    const std::vector<ImageProblem> problems = FindImageProblems(image.data());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].text, "key W is used 2 times: A, stick left");
}

TEST_F(VantorctlTest, DumpShowsTheProfilesOfAKnownImage)
{
    EXPECT_EQ(Run({"dump"}), kCtlOk);
    const std::string text = out.str();
    for (const char* expected : {"active profile: slot 4", "used slots (2): 0 4", "slot 0: \"Shooter\"",
                                 "slot 4: \"Racing\"", "A              Up", "mouse left -> A", "combination    (none) + L1"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(Run({"dump", "--json"}), kCtlOk);
    const Json json = Json::parse(out.str());
    EXPECT_EQ(json["activeProfile"], 4);
    EXPECT_EQ(json["usedSlots"], Json({0, 4}));
    const Json& racing = json["profiles"][1];
    EXPECT_EQ(racing["name"], "Racing");
    EXPECT_EQ(racing["active"], true);
    EXPECT_EQ(racing["keys"]["A"], "Up");
    EXPECT_TRUE(racing["keys"]["B"].is_null());
    EXPECT_EQ(racing["mouse"]["left"], "A");
    EXPECT_EQ(racing["combination"]["buttons"], Json({"L1"}));
    EXPECT_EQ(counting.halvesWritten, 0);
}

TEST_F(VantorctlTest, DumpShowsTheStickKeysOfTheRecordsAxisModeAndUnknownCodes)
{
    ProfileRecord& record = Record(4);
    record.keySlots[10] = KeyCodeFromName("Left");   // stick left with axis mode on
    record.keySlots[19] = KeyCodeFromName("Right");  // stick left with axis mode off
    record.keySlots[23] = 0xFF;
    record.mouseButtons[kMouseRight] = 9;
    record.axisMode = 1;
    ASSERT_EQ(Run({"dump"}), kCtlOk);
    EXPECT_NE(out.str().find("stick left     Left\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("ringed round   unknown (0xFF)\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("mouse right -> invalid (9)\n"), std::string::npos) << out.str();
    record.axisMode = 2;  // anything but 1 shows the keys through the plain map
    ASSERT_EQ(Run({"dump", "--json"}), kCtlOk);
    const Json racing = Json::parse(out.str())["profiles"][1];
    EXPECT_EQ(racing["keys"]["stick left"], "Right");
    EXPECT_EQ(racing["keys"]["ringed round"], "unknown (0xFF)");
    EXPECT_EQ(racing["mouse"]["right"], "invalid (9)");
    EXPECT_EQ(racing["axisMode"], 2);
}

// Any header byte is input: every command that reads the image indexes only the slots it
// has checked (a native AddressSanitizer build sees any byte read past the image), and a
// header that the adapter must not be given is never written.
TEST_F(VantorctlTest, NoCommandReadsPastTheImageOrWritesAnUnsoundHeaderForAnyHeaderByte)
{
    AddProfile(1, "Flight", "W");
    const std::string exported = TempPath("any.json");
    const std::vector<std::vector<std::string>> calls = {
        {"list"}, {"dump"}, {"dump", "--json"}, {"check"}, {"export", exported}, {"use", "1"},
        {"rename", "1", "Air"}, {"delete", "1"}, {"copy", "1", "Air"}};
    for (const bool oddUsedFlags : {false, true}) {
        for (int active = 0; active < 256; ++active) {
            for (const std::vector<std::string>& call : calls) {
                Header().activeProfile = static_cast<uint8_t>(active);
                Header().used[5] = oddUsedFlags ? 2 : 0;
                Header().used[62] = oddUsedFlags ? 0xFF : 0;
                const std::vector<uint8_t> before = Memory();
                const int status = Run(call);
                const std::string context = call[0] + " with active byte " + std::to_string(active);
                ASSERT_TRUE(status == kCtlOk || status == kCtlProblemsFound || status == kCtlFileError) << context;
                if (status == kCtlFileError) {
                    EXPECT_NE(err.str().find("the adapter's header is not sound"), std::string::npos) << context;
                    EXPECT_EQ(Memory(), before) << context;
                }
                if (Memory() != before) {
                    EXPECT_EQ(RestoreRefusal(adapter.Memory()), "") << context;
                }
                std::memcpy(adapter.Memory(), before.data(), kImageSize);
            }
        }
    }
}

TEST_F(VantorctlTest, WrongCallsGetTheUsageLineAndNoAdapterIsSaidSo)
{
    for (const std::vector<std::string>& call :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"backup"},
                                               {"check", "--json"},
                                               {"dump", "--bogus"},
                                               {"import", "a.json", "--json"},
                                               {"dump", "--replace"},
                                               {"export", "a.json", "--slot", "63"},
                                               {"export", "a.json", "--slot", "1", "--name", "Racing"},
                                               {"export", "a.json", "--name"},
                                               {"copy", "Racing"},
                                               {"use", "--slot", "0", "Racing"},
                                               {"rename", "--name", "Racing"},
                                               {"delete", "--slot", "63"}}) {
        EXPECT_EQ(Run(call), kCtlUsage);
        EXPECT_EQ(err.str().rfind("usage: vantorctl", 0), 0u) << err.str();
    }
    EXPECT_EQ(Run({"--help"}), kCtlOk);
    EXPECT_NE(out.str().find("exit status"), std::string::npos);
    adapter.SetPresent(false);
    EXPECT_EQ(Run({"dump"}), kCtlNoAdapter);
    EXPECT_EQ(err.str(), "vantorctl: no adapter found\n");
    EXPECT_EQ(Run({"restore", WriteFile("any.bin", std::vector<uint8_t>(kImageSize))}), kCtlNoAdapter);
}

TEST_F(VantorctlTest, ABusyAdapterIsSaidSoInOneLineAndNothingIsReadOrWritten)
{
    lock.busy = true;
    const std::string image = WriteFile("image.bin", Memory());
    for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{{"dump"}, {"restore", image}}) {
        EXPECT_EQ(Run(call), kCtlBusy);
        const std::string said = err.str();
        EXPECT_EQ(said.find("vantorctl: the adapter is busy"), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_EQ(adapter.TransferCount(), 0u);
}

TEST_F(VantorctlTest, EmulatedMemoryFileMustExist)
{
    EXPECT_EQ(Run({"--emulated", TempPath("absent.bin"), "dump"}), kCtlFileError);
    EXPECT_FALSE(std::ifstream(TempPath("absent.bin")).good());
    EXPECT_NE(err.str().find("cannot read"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"--emulated", WriteFile("odd.bin", std::vector<uint8_t>(100)), "dump"}), kCtlFileError);
    EXPECT_NE(err.str().find("not a 4096-byte image"), std::string::npos) << err.str();
    const std::string memory = WriteFile("memory.bin", Memory());
    EXPECT_EQ(Run({"--emulated", memory, "dump"}), kCtlOk);
    EXPECT_NE(out.str().find("Racing"), std::string::npos);
}

// A name of 14 bytes of code page 936, as the window writes it on a Chinese Windows, and
// its text in a file: on Windows the code page's text, elsewhere each byte as the
// character of the same number.
const char kWideNameBytes[] = "\xD6\xD0\xCE\xC4" "Caf\xA8\xA6 name";
#ifdef _WIN32
const std::string kWideNameText = "\u4E2D\u6587Caf\u00E9 name";
#else
const std::string kWideNameText = "\u00D6\u00D0\u00CE\u00C4" "Caf\u00A8\u00A6 name";
#endif

// The profiles of the fixture made to use every part of the form, with bytes 42 and 47-63
// that a new record does not take over.
class ProfileFileTest : public VantorctlTest {
protected:
    ProfileFileTest()
    {
        ProfileRecord& racing = Record(4);
        racing.axisMode = 1;
        racing.keySlots[AxisMap[10]] = KeyCodeFromName("Left");  // stick left
        racing.keySlots[AxisMap[19]] = KeyCodeFromName("-");     // the code of "Num -"
        racing.comboKey = KeyCodeFromName("Scroll Lock");
        racing.comboButtons = 0xA5;
        racing.mouseButtons[kMouseMiddle] = kPadR1;
        racing.speed = kMaxSpeed;
        racing.keptByte42 = 0x42;
        racing.keptTail[16] = 0x63;
        ProfileRecord& wide = AddProfile(9, "", "Q");
        std::memcpy(wide.name, kWideNameBytes, 14);
        wide.keySlots[PlainMap[13]] = KeyCodeFromName("S");             // stick down
        wide.speed = kMinSpeed;
    }

    static ProfileRecord WithoutUnwrittenBytes(ProfileRecord record)
    {
        record.keptByte42 = 0;
        std::memset(record.keptTail, 0, sizeof record.keptTail);
        return record;
    }
    // What a new record made from `record` under `name` holds.
    static ProfileRecord NewRecordLike(const ProfileRecord& record, const char* name)
    {
        ProfileRecord renamed = WithoutUnwrittenBytes(record);
        std::memset(renamed.name, 0, kNameBytes);
        std::strcpy(renamed.name, name);
        return renamed;
    }
    static bool SameBytes(const ProfileRecord& a, const ProfileRecord& b) { return std::memcmp(&a, &b, kBlockSize) == 0; }
};

TEST_F(ProfileFileTest, ExportThenImportIntoAnEmptyAdapterGivesEqualRecords)
{
    const std::string file = WriteFile("profiles.json", std::vector<uint8_t>(100000, 'x'));  // replaced whole
    ASSERT_EQ(Run({"export", file}), kCtlOk) << err.str();
    EXPECT_EQ(out.str(), "exported 3 profiles to " + file + "\n");
    const Json exported = ReadJson(file);
    EXPECT_EQ(exported["profiles"][1]["active"], true);
    EXPECT_EQ(exported["profiles"][2]["name"], kWideNameText);
    EXPECT_EQ(err.str(), "");
    const std::vector<ProfileRecord> expected = {WithoutUnwrittenBytes(Record(0)), WithoutUnwrittenBytes(Record(4)),
                                                 WithoutUnwrittenBytes(Record(9))};
    std::memset(adapter.Memory(), 0, kImageSize);
    ASSERT_EQ(Run({"import", file}), kCtlOk) << err.str();
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_TRUE(SameBytes(Record(slot), expected[slot])) << "slot " << slot;
        EXPECT_EQ(Header().used[slot], kSlotUsed);
    }
    EXPECT_EQ(Header().used[3], 0);
    EXPECT_NE(out.str().find("verified all 64 blocks\nslot 0: profile 1 \"Shooter\" (new)\nslot 1: profile 2 \"Racing\" (new)"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(RestoreRefusal(adapter.Memory()), "");
}

TEST_F(ProfileFileTest, ImportReplaceGoesOverTheNamesakeAndKeepsItsUnwrittenBytes)
{
    std::memset(&Record(1), 0x5A, kBlockSize);  // a deleted profile's bytes in a free slot
    const std::string exported = TempPath("racing.json");
    ASSERT_EQ(Run({"export", exported, "--name", "Racing"}), kCtlOk) << err.str();
    Json document = ReadJson(exported);
    Json& racing = document["profiles"][0];
    racing["speed"] = 99;
    racing["keys"]["B"] = "Up";  // also on A: allowed, as in the window
    Json other = racing;
    other["name"] = "Racing 2";
    document["profiles"].push_back(other);
    const std::string file = WriteText("edited.json", document.dump());

    ASSERT_EQ(Run({"import", file, "--replace"}), kCtlOk) << err.str();
    EXPECT_EQ(Record(4).speed, 99);
    EXPECT_EQ(Record(4).keptByte42, 0x42);
    EXPECT_EQ(Record(4).keptTail[16], 0x63);
    EXPECT_TRUE(SameBytes(Record(1), NewRecordLike(Record(4), "Racing 2")));  // none of the deleted profile's bytes
    EXPECT_EQ(Header().activeProfile, 4);
    EXPECT_NE(out.str().find("slot 4: profile 1 \"Racing\" (replaced)\nslot 1: profile 2 \"Racing 2\" (new)\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("vantorctl: warning: slot 4: key Up is used 2 times: A, B\n"), std::string::npos) << err.str();

    ASSERT_EQ(Run({"import", file}), kCtlOk) << err.str();  // without --replace both are added
    EXPECT_NE(out.str().find("slot 2: profile 1 \"Racing\" (new)\nslot 3: profile 2 \"Racing 2\" (new)\n"),
              std::string::npos)
        << out.str();
}

TEST_F(ProfileFileTest, ImportRefusesAFileWithAnyWrongFieldAndWritesNothing)
{
    ASSERT_EQ(Run({"export", TempPath("good.json")}), kCtlOk) << err.str();
    const Json good = ReadJson(TempPath("good.json"));
    const auto edited = [&good](void (*edit)(Json& racing)) {
        Json document = good;
        edit(document["profiles"][1]);
        return document.dump();
    };
    Record(9).keySlots[23] = 0xFF;  // a code that names no key cannot be carried
    ASSERT_EQ(Run({"export", TempPath("unknown.json"), "--slot", "9"}), kCtlOk) << err.str();
    const std::vector<uint8_t> before = Memory();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{\"profiles\": [", "is refused: not JSON: parse error at line 1"},
        {"[]", "is refused: has no \"profiles\" list"},
        {edited([](Json& p) { p["keys"]["stick up"] = "Upp"; }), ": profile 2 \"Racing\": keys.stick up: unknown key name \"Upp\""},
        {edited([](Json& p) { p["mouse"]["middle"] = "C"; }), ": profile 2 \"Racing\": mouse.middle: unknown pad button name \"C\""},
        {edited([](Json& p) { p["combination"]["buttons"].push_back("R2"); }), "combination.buttons: unknown pad button name \"R2\""},
        {edited([](Json& p) { p["speed"] = 1; }), "\"Racing\": speed: 1 is outside 2-120"},
        {edited([](Json& p) { p["speed"] = 121; }), "\"Racing\": speed: 121 is outside 2-120"},
        {edited([](Json& p) { p["name"] = "Fifteen bytes!!"; }), "profile 2 \"Fifteen bytes!!\": name: 15 bytes, at most 14"},
        {edited([](Json& p) { p["name"] = "Smile \U0001F600"; }), "name: the character \"\U0001F600\" is not in "},
        {edited([](Json& p) { p.erase("axisMode"); }), "\"Racing\": axisMode: missing"},
    };
    for (const auto& [text, problem] : cases) {
        EXPECT_EQ(Run({"import", WriteText("wrong.json", text)}), kCtlFileError) << problem;
        EXPECT_NE(err.str().find(problem), std::string::npos) << err.str();
    }
    EXPECT_EQ(Run({"import", TempPath("unknown.json")}), kCtlFileError);
    EXPECT_NE(err.str().find("keys.ringed round: unknown key name \"unknown (0xFF)\"\nvantorctl: nothing written\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(counting.halvesWritten, 0);
}

TEST_F(ProfileFileTest, ImportAndCopyThatDoNotFitWriteNothing)
{
    const std::string file = TempPath("all.json");
    ASSERT_EQ(Run({"export", file}), kCtlOk) << err.str();
    Json twice = ReadJson(file);
    twice["profiles"][0]["name"] = "Racing";
    EXPECT_EQ(Run({"import", "--replace", WriteText("twice.json", twice.dump())}), kCtlFileError);
    EXPECT_NE(err.str().find("profile 2 \"Racing\": name: the same as profile 1 \"Racing\"'s"), std::string::npos) << err.str();

    for (int slot = 0; slot < kSlotCount; ++slot)
        if (slot != 7 && slot != 8) Header().used[slot] = kSlotUsed;  // two free slots for three profiles
    EXPECT_EQ(Run({"import", file}), kCtlFileError);
    EXPECT_NE(err.str().find("vantorctl: profile 3 \"" + kWideNameText + "\": no free slot is left"),
              std::string::npos)
        << err.str();
    Header().used[8] = 0x22;  // free, but restore refuses a header with such a flag
    EXPECT_EQ(Run({"copy", "0", "Shooter 2"}), kCtlFileError);
    EXPECT_NE(err.str().find("the adapter's header is not sound (used flag of slot 8 is 34"), std::string::npos) << err.str();
    EXPECT_EQ(counting.halvesWritten, 0);
}

TEST_F(ProfileFileTest, CopyGoesUnderTheNewNameIntoTheLowestFreeSlot)
{
    ASSERT_EQ(Run({"copy", "Racing", "Racing wet"}), kCtlOk) << err.str();
    EXPECT_TRUE(SameBytes(Record(1), NewRecordLike(Record(4), "Racing wet")));
    EXPECT_EQ(Header().used[1], kSlotUsed);
    EXPECT_NE(out.str().find("wrote the changed configuration and verified all 64 blocks\nslot 1: copy of slot 4 as \"Racing wet\" (new)\n"), std::string::npos)
        << out.str();
    ASSERT_EQ(Run({"copy", "9", "Wide 2"}), kCtlOk) << err.str();
    EXPECT_EQ(Record(2).speed, kMinSpeed);
    EXPECT_EQ(Run({"copy", "Missing", "X"}), kCtlUsage);
    EXPECT_EQ(err.str(), "vantorctl: no used profile is named \"Missing\"\n");
    EXPECT_EQ(Run({"copy", "5", "X"}), kCtlUsage);
    EXPECT_EQ(err.str(), "vantorctl: slot 5 is free\n");
    EXPECT_EQ(Run({"copy", "0", "Fifteen bytes!!"}), kCtlFileError);
    EXPECT_NE(err.str().find("name: 15 bytes, at most 14"), std::string::npos) << err.str();
}

// The list commands, each a read-change-write of the whole configuration.
class ListCommandTest : public VantorctlTest {
protected:
    static std::string Wrote(const std::string& told)
    {
        return "wrote the changed configuration and verified all 64 blocks\n" + told;
    }
};

TEST_F(ListCommandTest, ListGivesSlotMarkAndNameOfEachUsedProfileWithControlBytesEscaped)
{
    std::memcpy(Record(0).name, "Caf\xE9\tA\n", 8);
    ASSERT_EQ(Run({"list"}), kCtlOk) << err.str();
    EXPECT_EQ(out.str(), "0\t-\tCaf\xE9\\x09A\\x0A\n4\t*\tRacing\n");
    EXPECT_EQ(counting.halvesWritten, 0);
}

TEST_F(ListCommandTest, UseMakesAUsedProfileActiveAndWritesNothingWhenItAlreadyIs)
{
    ASSERT_EQ(Run({"use", "Shooter"}), kCtlOk) << err.str();
    EXPECT_EQ(out.str(), Wrote("active profile: slot 0 \"Shooter\"\n"));
    EXPECT_EQ(Header().activeProfile, 0);
    EXPECT_EQ(counting.halvesWritten, 2) << "the header's halves only";
    const int halves = counting.halvesWritten;
    EXPECT_EQ(Run({"use", "0"}), kCtlOk);
    EXPECT_EQ(out.str(), "nothing to change; nothing written\n");
    EXPECT_EQ(Run({"use", "5"}), kCtlUsage);
    EXPECT_EQ(err.str(), "vantorctl: slot 5 is free\n");
    EXPECT_EQ(counting.halvesWritten, halves);
}

TEST_F(ListCommandTest, DeleteKeepsTheRecordsBytesAndSettlesTheActiveProfileAsTheWindowsOk)
{
    AddProfile(7, "Flight", "W");
    const ProfileRecord racing = Record(4);
    ASSERT_EQ(Run({"delete", "Racing"}), kCtlOk) << err.str();  // the active one: the lowest used slot follows
    EXPECT_EQ(out.str(), Wrote("deleted slot 4 \"Racing\"\nactive profile: slot 0 \"Shooter\"\n"));
    EXPECT_EQ(Header().used[4], 0);
    EXPECT_EQ(std::memcmp(&Record(4), &racing, kBlockSize), 0);
    Header().activeProfile = kNoActiveProfile;
    ASSERT_EQ(Run({"delete", "7"}), kCtlOk) << err.str();  // a single profile left is the active one
    EXPECT_EQ(Header().activeProfile, 0);
    ASSERT_EQ(Run({"delete", "0"}), kCtlOk) << err.str();  // none left
    EXPECT_EQ(out.str(), Wrote("deleted slot 0 \"Shooter\"\nactive profile: none\n"));
    EXPECT_EQ(Header().activeProfile, kNoActiveProfile);
    EXPECT_EQ(RestoreRefusal(adapter.Memory()), "");
}

TEST_F(ListCommandTest, RenameWritesTheNameWithZerosAfterItAndRefusesALongOne)
{
    std::memcpy(Record(0).name, "Shooter\0old tail", kNameBytes);
    Record(0).keptTail[3] = 0x33;
    ProfileRecord expected = Record(0);
    std::memset(expected.name, 0, kNameBytes);
    std::strcpy(expected.name, "Arena");
    ASSERT_EQ(Run({"rename", "Shooter", "Arena"}), kCtlOk) << err.str();
    EXPECT_EQ(counting.halvesWritten, 4) << "the record's halves and the header's";
    EXPECT_EQ(out.str(), Wrote("slot 0 \"Shooter\" renamed \"Arena\"\n"));
    EXPECT_EQ(std::memcmp(&Record(0), &expected, kBlockSize), 0);
    const std::vector<uint8_t> before = Memory();
    EXPECT_EQ(Run({"rename", "0", "Fifteen bytes!!"}), kCtlFileError);
    EXPECT_EQ(err.str(), "vantorctl: rename of slot 0 as \"Fifteen bytes!!\": name: 15 bytes, at most 14\n"
                         "vantorctl: nothing written\n");
    EXPECT_EQ(Memory(), before);
}

TEST_F(ListCommandTest, ANameThatSeveralUsedProfilesShareIsRefusedWithTheirSlots)
{
    AddProfile(7, "Racing", "W");
    AddProfile(9, "Racing", "E");
    const std::vector<uint8_t> before = Memory();
    for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
             {"use", "Racing"}, {"delete", "Racing"}, {"rename", "Racing", "X"}, {"copy", "Racing", "X"},
             {"export", TempPath("racing.json"), "--name", "Racing"}}) {
        EXPECT_EQ(Run(call), kCtlUsage) << call[0];
        EXPECT_EQ(err.str(), "vantorctl: the name \"Racing\" is ambiguous: the profiles of slots 4, 7 and 9 have it; "
                             "give a slot number\n");
    }
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(counting.halvesWritten, 0);
    EXPECT_EQ(Run({"use", "9"}), kCtlOk) << err.str();
}

TEST_F(ListCommandTest, ANumberThatIsBothAUsedSlotAndAnotherProfilesNameIsRefusedSayingHowToGiveEach)
{
    AddProfile(7, "Halo", "W");
    std::strcpy(Record(0).name, "7");
    const std::vector<uint8_t> before = Memory();
    for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
             {"delete", "7"}, {"use", "7"}, {"rename", "7", "X"}, {"copy", "7", "X"}}) {
        EXPECT_EQ(Run(call), kCtlUsage) << call[0];
        EXPECT_EQ(err.str(), "vantorctl: \"7\" is ambiguous: it is slot 7 \"Halo\" and the name of the profile of "
                             "slot 0; give --slot 7 or --name 7\n");
    }
    EXPECT_EQ(Memory(), before);
    ASSERT_EQ(Run({"use", "--slot", "7"}), kCtlOk) << err.str();
    EXPECT_EQ(Header().activeProfile, 7);
    ASSERT_EQ(Run({"rename", "--name", "7", "Seven"}), kCtlOk) << err.str();
    EXPECT_EQ(out.str(), Wrote("slot 0 \"7\" renamed \"Seven\"\n"));
    EXPECT_EQ(Run({"delete", "7"}), kCtlOk) << "no longer a name";
    EXPECT_EQ(Header().used[7], 0);
    std::strcpy(Record(0).name, "7");
    ASSERT_EQ(Run({"rename", "7", "Seven"}), kCtlOk) << "slot 7 is free: the name is meant; " << err.str();
    EXPECT_EQ(out.str(), Wrote("slot 0 \"7\" renamed \"Seven\"\n"));
    EXPECT_EQ(Run({"use", "7"}), kCtlUsage);
    EXPECT_EQ(err.str(), "vantorctl: slot 7 is free\n");
}

#ifdef _WIN32
// Names are text of the system's ANSI code page; the test session's is 936.
TEST_F(ProfileFileTest, NamesAreTextOfTheAnsiCodePageAndOtherBytesTravelByteForByte)
{
    ASSERT_EQ(GetACP(), 936u) << "runs in a Chinese session (scripts/wine-session.sh)";
    std::memcpy(Record(0).name, "Caf\xE9", 5);  // ends in a lead byte: not text of code page 936
    const std::string file = TempPath("names.json");
    ASSERT_EQ(Run({"export", file}), kCtlOk) << err.str();
    EXPECT_EQ(err.str(), "vantorctl: warning: slot 0: name: not text of code page 936; written byte for byte, "
                         "each byte as the character of the same number (ISO 8859-1)\n");
    Json document = ReadJson(file);
    EXPECT_EQ(document["profiles"][0]["name"], "Caf\u00E9");

    // Seven Chinese characters take 14 bytes in the code page (21 in UTF-8); eight take 16.
    document["profiles"] = Json::array({document["profiles"][1], document["profiles"][1]});
    document["profiles"][0]["name"] = "\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u4E2D";
    document["profiles"][1]["name"] = "\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587";
    const std::vector<uint8_t> before = Memory();
    EXPECT_EQ(Run({"import", WriteText("long.json", document.dump())}), kCtlFileError);
    EXPECT_NE(err.str().find("\": name: 16 bytes, at most 14\n"), std::string::npos) << err.str();
    EXPECT_EQ(Memory(), before);
    document["profiles"].erase(1);
    ASSERT_EQ(Run({"import", WriteText("seven.json", document.dump())}), kCtlOk) << err.str();
    EXPECT_EQ(NameBytes(Record(1)), "\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0");

    // A name on the command line is bytes of the code page too: any other bytes are refused.
    for (const char* command : {"rename", "copy"}) {
        EXPECT_EQ(Run({command, "4", "Caf\xE9"}), kCtlFileError) << command;
        EXPECT_NE(err.str().find("\"Caf\xE9\": name: not text of code page 936\n"), std::string::npos) << err.str();
    }
    EXPECT_EQ(Run({"rename", "4", "\xD6\xD0\xCE\xC4 2"}), kCtlOk) << err.str();
    EXPECT_EQ(NameBytes(Record(4)), "\xD6\xD0\xCE\xC4 2");
}

// The system's ANSI code page differs between machines, and may be UTF-8 (65001, where
// Windows uses UTF-8 for the programs that are not Unicode): in each, names travel as its
// text both ways, and a command line or name with a character it has no bytes of its own
// for is refused.
struct CodePageNames {
    unsigned codePage;
    std::string bytes;     // a name of the code page
    std::string text;      // its text
    std::wstring wide;     // the same as a command line gives it
    std::wstring lacking;  // a character without bytes of its own (a look-alike at best)
    std::string notText;   // bytes that are not text of the code page; empty where all are
};

void PrintTo(const CodePageNames& page, std::ostream* out) { *out << "code page " << page.codePage; }

// The conversion into a code page as Windows documents it, where Wine is lenient: into
// UTF-8 it fails when asked for any check but invalid characters' (look-alikes, the
// default character or its use).
int WINAPI DocumentedWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideSize, LPSTR bytes, int size,
                                         LPCCH defaultChar, LPBOOL usedDefault)
{
    if (codePage == CP_UTF8 && ((flags & ~WC_ERR_INVALID_CHARS) != 0 || defaultChar || usedDefault)) return 0;
    return WideCharToMultiByte(codePage, flags, wide, wideSize, bytes, size, defaultChar, usedDefault);
}

class NameCodePageTest : public ::testing::TestWithParam<CodePageNames> {};

TEST_P(NameCodePageTest, NamesAreItsTextBothWaysAndOthersAreRefused)
{
    const CodePageNames& page = GetParam();
    const CodePage codePage = {page.codePage, DocumentedWideCharToMultiByte};
    const NameText name = TextOfNameBytes(page.bytes, codePage);
    EXPECT_TRUE(name.inCodePage);
    EXPECT_EQ(name.text, page.text);
    std::string bytes, problem;
    EXPECT_TRUE(NameBytesFromText(page.text, bytes, problem, codePage)) << problem;
    EXPECT_EQ(bytes, page.bytes);
    EXPECT_TRUE(IsTextOfNameCodePage(page.wide, codePage));
    EXPECT_FALSE(IsTextOfNameCodePage(page.lacking, codePage));
    if (!page.notText.empty()) {
        EXPECT_FALSE(TextOfNameBytes(page.notText, codePage).inCodePage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SystemCodePages, NameCodePageTest,
    ::testing::Values(CodePageNames{65001, "\xE4\xB8\xAD\xE6\x96\x87" "Caf\xC3\xA9", "\u4E2D\u6587Caf\u00E9",
                                    L"\u4E2D\u6587Caf\u00E9", L"\xD800", "Caf\xE9"},
                      CodePageNames{1252, "Caf\xE9 na\xEFve", "Caf\u00E9 na\u00EFve", L"Caf\u00E9 na\u00EFve", L"\u0101", ""},
                      CodePageNames{936, kWideNameBytes, kWideNameText, L"\u4E2D\u6587Caf\u00E9 name", L"\u0E01", "Caf\xE9"}),
    [](const ::testing::TestParamInfo<CodePageNames>& info) { return "CodePage" + std::to_string(info.param.codePage); });

// A desktop shortcut's console window closes with the program: a failure waits for a key
// there, and only there. From a prompt the console stays; redirected, a script reads the
// output and nobody could press a key; in a console nobody sees (a scheduled task's)
// nobody would press one; after Ctrl+C or a closed window the user asked it to end.
TEST(ConsoleEndTest, OnlyAFailureInAVisibleConsoleOfItsOwnWaitsForAKey)
{
    const ConsoleOfRun shortcut{1, false, true}, prompt{2, false, true}, redirected{1, true, true}, none{0, true, false},
        hidden{1, false, false};
    for (int failure : {kCtlProblemsFound, kCtlNoAdapter, kCtlBusy}) {
        EXPECT_TRUE(WaitsForKeyAtEnd(failure, shortcut)) << failure;
        for (const ConsoleOfRun& other : {prompt, redirected, none, hidden}) {
            EXPECT_FALSE(WaitsForKeyAtEnd(failure, other))
                << failure << " " << other.processes << " " << other.redirected << " " << other.visible;
        }
    }
    EXPECT_FALSE(WaitsForKeyAtEnd(kCtlOk, shortcut));
    EXPECT_FALSE(WaitsForKeyAtEnd(kCtlInterrupted, shortcut));
}

// A console's input on a clock of its own: events come at the given times (a key press at
// `keyAt`, other input at each of `otherAt`), and waiting moves the clock on.
class ScriptedConsoleInput {
public:
    ScriptedConsoleInput(unsigned long long keyAt, std::vector<unsigned long long> otherAt)
        : m_keyAt(keyAt), m_otherAt(std::move(otherAt))
    {
    }
    KeyWaitInput Input()
    {
        return {[this] { discarded = true; },
                [this](unsigned ms) {
                    const unsigned long long next = NextEvent();
                    now = std::min<unsigned long long>(now + ms, next);
                    return now == next;
                },
                [this] {
                    const bool key = now == m_keyAt;
                    if (!key) m_otherAt.erase(m_otherAt.begin());
                    return key ? KeyWaitInput::Event::kKeyPressed : KeyWaitInput::Event::kOther;
                },
                [this] { return now; }};
    }
    unsigned long long now = 1000;
    bool discarded = false;

private:
    unsigned long long NextEvent() const { return m_otherAt.empty() ? m_keyAt : std::min(m_keyAt, m_otherAt.front()); }

    unsigned long long m_keyAt;
    std::vector<unsigned long long> m_otherAt;
};

TEST(ConsoleEndTest, TheWaitEndsAtAKeyOrAfterAMinuteWhateverElseComes)
{
    std::ostringstream err;
    ScriptedConsoleInput pressed(6000, {2000, 3000});
    WaitForKeyAfterFailure(kCtlNoAdapter, err, pressed.Input());
    EXPECT_TRUE(pressed.discarded);
    EXPECT_EQ(pressed.now, 6000u);
    EXPECT_NE(err.str().find("exit status 3"), std::string::npos) << err.str();

    ScriptedConsoleInput mouseOnly(~0ull, {11000, 21000, 61000, 70000});  // the mouse moves, no key comes
    WaitForKeyAfterFailure(kCtlNoAdapter, err, mouseOnly.Input());
    EXPECT_EQ(mouseOnly.now, 1000u + kKeyWaitMs);
}

// A request to end the program: a console event, or the messages of signing out or
// shutting down to the program's hidden window.
struct EndRequest {
    const char* name;
    DWORD consoleEvent;
    bool endSession;
};

void PrintTo(const EndRequest& request, std::ostream* out) { *out << request.name; }

class EndRequestedTest : public VantorctlTest, public ::testing::WithParamInterface<EndRequest> {
protected:
    // Calls `onWrite` with the number of each data half before it goes to the adapter.
    class HalfCountingPort : public AdapterPort {
    public:
        HalfCountingPort(AdapterPort& port, std::function<void(int halves)> onWrite) : m_port(port), m_onWrite(onWrite) {}
        AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
        {
            return m_port.OpenInterface(guid, index);
        }
        void Close(AdapterHandle handle) override { m_port.Close(handle); }
        bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
        {
            if (size == 32) m_onWrite(++halves);
            return m_port.Write(handle, data, size, done);
        }
        bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
        {
            return m_port.Read(handle, data, size, done);
        }
        void Pause10ms() override { m_port.Pause10ms(); }
        int halves = 0;

    private:
        AdapterPort& m_port;
        std::function<void(int halves)> m_onWrite;
    };

    // Delivers the request as the system does; returns once the system would go on.
    static void Deliver(const EndRequest& request, HWND endSessionWindow)
    {
        if (!request.endSession) {
            ConsoleEndRequested(request.consoleEvent);
            return;
        }
        EXPECT_TRUE(::SendMessageW(endSessionWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        ::SendMessageW(endSessionWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    }
};

// The request arrives in the middle of a restore: the restore goes on to its end (every
// block the new one, the header last, every block read back) and the run ends saying it
// was interrupted; the system's call returns only after the write.
TEST_P(EndRequestedTest, InTheMiddleOfASaveTheWriteIsFinishedThenTheRunEndsInterrupted)
{
    std::vector<uint8_t> file = Memory();
    for (int slot : {0, 4}) RecordOfSlot(file.data(), slot)->speed = 99;
    HeaderOfImage(file.data()).activeProfile = 0;
    const std::string path = WriteFile("new.bin", file);
    std::memset(adapter.Memory() + kBlockSize, 0xEE, kBlockSize);  // one more block to write back

    Interruption interruption;
    InterruptOnConsoleEnd(interruption);
    const EndSessionWindow endSession(interruption);
    std::thread system;
    std::atomic<bool> answered{false}, answeredDuringWrite{false};
    HalfCountingPort port(counting, [&](int halves) {
        answeredDuringWrite = answeredDuringWrite || answered;
        if (halves != 3) return;
        system = std::thread([&] {
            Deliver(GetParam(), endSession.Handle());
            answered = true;
        });
        while (!interruption.Requested()) std::this_thread::yield();  // the request is in before the next packet
    });
    const DriverAccess driver = {port, lock, &interruption};
    const int status = RunVantorctl({"restore", path}, {out, err, false}, &driver);
    interruption.RunEnded();
    system.join();
    EXPECT_EQ(status, kCtlInterrupted) << err.str();
    EXPECT_NE(err.str().find("interrupted after the write in progress was finished"), std::string::npos) << err.str();
    EXPECT_EQ(Memory(), file);
    EXPECT_GT(port.halves, 3);
    EXPECT_FALSE(answeredDuringWrite);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, EndRequestedTest,
    ::testing::Values(EndRequest{"CtrlC", CTRL_C_EVENT, false}, EndRequest{"CtrlBreak", CTRL_BREAK_EVENT, false},
                      EndRequest{"ConsoleClosed", CTRL_CLOSE_EVENT, false},
                      EndRequest{"ConsoleSignOut", CTRL_LOGOFF_EVENT, false},
                      EndRequest{"ConsoleShutdown", CTRL_SHUTDOWN_EVENT, false},
                      EndRequest{"SessionEnds", 0, true}),
    [](const ::testing::TestParamInfo<EndRequest>& info) { return std::string(info.param.name); });

// Asked to end before it writes, a command writes nothing.
TEST_F(VantorctlTest, ARequestToEndBeforeTheWriteLeavesTheAdapterUntouched)
{
    Interruption interruption;
    InterruptOnConsoleEnd(interruption);
    EXPECT_TRUE(ConsoleEndRequested(CTRL_C_EVENT));  // handled: the run ends itself
    const std::vector<uint8_t> before = Memory();
    const DriverAccess driver = {counting, lock, &interruption};
    EXPECT_EQ(RunVantorctl({"rename", "4", "Other"}, {out, err, false}, &driver), kCtlInterrupted);
    EXPECT_EQ(err.str(), "vantorctl: interrupted; nothing was written\n");
    EXPECT_EQ(Memory(), before);
    EXPECT_EQ(counting.halvesWritten, 0);
    interruption.RunEnded();  // a Ctrl+C during the wait for a key ends the program as usual
    EXPECT_FALSE(ConsoleEndRequested(CTRL_C_EVENT));
    EXPECT_TRUE(ConsoleEndRequested(CTRL_CLOSE_EVENT));
}

// A console shows its own code page: names (ANSI code page) and JSON (UTF-8) reach it as
// their characters, line by line and at each flush.
TEST(ConsoleTextTest, NamesAndJsonReachAConsoleAsTheirCharacters)
{
    std::vector<std::wstring> shown;
    const ConsoleTextBuffer::Sink console = [&shown](const std::wstring& text) { shown.push_back(text); };
    {
        ConsoleTextBuffer names(CP_ACP, console), json(CP_UTF8, console);
        std::ostream out(&names), jsonOut(&json);
        out << "0\t*\t" << kWideNameBytes << "\n1\t-\tB";
        jsonOut << "\"name\": \"" << kWideNameText << "\"" << std::flush;
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"0\t*\t\u4E2D\u6587Caf\u00E9 name\n", L"\"name\": \"\u4E2D\u6587Caf\u00E9 name\"",
                                                L"1\t-\tB"}));
}

bool HoldsHangul(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0xAC00 && c <= 0xD7A3; });
}

// The system's reason in a language whose characters no code page of the tests' sessions
// has (Korean): on a console it reads as the system gives it; redirected, it is narrowed
// to the ANSI code page like the rest of the output.
TEST_F(VantorctlTest, ASystemReasonReachesAConsoleInItsOwnCharacters)
{
    SetReasonLanguage(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    const std::string backup = TempPath("no-such-folder/backup.bin");
    const std::string missing = TempPath("missing.json");
    std::vector<uint8_t> none;
    const SystemText cannotWrite = WriteFileAtomically(SystemPathFromNarrow(backup), {1}).reason;
    const SystemText cannotRead = ReadFileStart(SystemPathFromNarrow(missing), 1, none).reason;
    std::wstring shown;
    ConsoleTextBuffer console(CP_ACP, [&shown](const std::wstring& text) { shown += text; });
    std::ostream consoleErr(&console);
    const DriverAccess driver = {counting, lock};
    EXPECT_EQ(RunVantorctl({"backup", backup}, {out, consoleErr, false}, &driver), kCtlFileError);
    EXPECT_EQ(RunVantorctl({"import", missing}, {out, consoleErr, false}, &driver), kCtlFileError);
    EXPECT_EQ(Run({"backup", backup}), kCtlFileError);
    SetReasonLanguage(0);
    ASSERT_TRUE(HoldsHangul(cannotWrite) && HoldsHangul(cannotRead)) << "the system has no Korean reasons";
    EXPECT_EQ(shown, L"vantorctl: cannot write " + SystemPathFromNarrow(backup) + cannotWrite + L"\n" +
                         L"vantorctl: cannot read " + SystemPathFromNarrow(missing) + cannotRead + L"\n");
    EXPECT_EQ(err.str(), "vantorctl: cannot write " + backup + NarrowText(cannotWrite) + "\n");
}
#endif

}  // namespace
