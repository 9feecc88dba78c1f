// vantorctl driven in-process against an emulated adapter on a virtual clock.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AtomicFile.h"
#include "Commands.h"
#include "EmulatedAdapter.h"
#include "ImageCheck.h"
#include "KeyTable.h"
#include "ScratchFolder.h"

namespace {

// Counts the 32-byte data halves written, the only transfers that change the adapter.
class WriteCountingPort : public AdapterPort {
public:
    explicit WriteCountingPort(AdapterPort& port) : m_port(port) {}
    int halvesWritten = 0;

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
    {
        return m_port.OpenInterface(guid, index);
    }
    void Close(AdapterHandle handle) override { m_port.Close(handle); }
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        if (size == 32) ++halvesWritten;
        return m_port.Write(handle, data, size, done);
    }
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
    {
        return m_port.Read(handle, data, size, done);
    }
    void Pause10ms() override { m_port.Pause10ms(); }

private:
    AdapterPort& m_port;
};

class VantorctlTest : public ::testing::Test {
protected:
    VantorctlTest()
    {
        AddProfile(0, "Shooter", "Q");
        AddProfile(4, "Racing", "Up");
        Header().activeProfile = 4;
    }
    ImageHeader& Header() { return *reinterpret_cast<ImageHeader*>(adapter.Memory() + kRecordBufferSize); }
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

    int Run(std::vector<std::string> args, bool showProgress = false)
    {
        out.str("");
        err.str("");
        return RunVantorctl(args, {out, err, showProgress}, &counting);
    }

    EmulatedAdapter adapter;
    WriteCountingPort counting{adapter};
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
    ASSERT_TRUE(ReadFileStart(backup, kImageSize + 1, file));
    EXPECT_EQ(file, original);
    EXPECT_EQ(counting.halvesWritten, 0);

    std::memset(adapter.Memory(), 0xEE, kImageSize);
    EXPECT_EQ(Run({"restore", backup}), kCtlOk) << err.str();
    EXPECT_EQ(Memory(), original);
    EXPECT_NE(out.str().find("verified"), std::string::npos);
}

// Block 1's write transfers are numbered 5 to 8: packet, half, packet, half.
class RestoreWriteFailureTest : public VantorctlTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RestoreWriteFailureTest, NamesTheBlockWhoseWriteFailedAndFails)
{
    const std::vector<uint8_t> wanted = Memory();
    const std::string file = WriteFile("wanted.bin", wanted);
    Header().used[7] = kSlotUsed;  // differs from the file in the header
    adapter.FailTransfer(GetParam());
    EXPECT_EQ(Run({"restore", file}), kCtlNotRestored);
    const std::string report = err.str();
    EXPECT_NE(report.find("writing block 1 failed"), std::string::npos) << report;
    EXPECT_NE(report.find("block 63 (header) differs"), std::string::npos) << report;
    EXPECT_EQ(report.find("block 0 "), std::string::npos) << report;  // block 0 was written
    EXPECT_NE(report.find("2 of 64 blocks failed or differ"), std::string::npos) << report;
    EXPECT_EQ(Header().used[7], kSlotUsed);  // the header is never written after a failure
    EXPECT_TRUE(out.str().empty());
}

INSTANTIATE_TEST_SUITE_P(EachTransferOfABlock, RestoreWriteFailureTest, ::testing::Values(5u, 6u, 7u, 8u));

TEST_F(VantorctlTest, RestoreOnATerminalShowsEachBlockAsItIsWritten)
{
    const std::string file = WriteFile("wanted.bin", Memory());
    EXPECT_EQ(Run({"restore", file}, true), kCtlOk);
    const std::string progress = err.str();
    EXPECT_EQ(progress.rfind("\rwriting block 1 of 64", 0), 0u) << progress;
    EXPECT_NE(progress.find("\rwriting block 64 of 64\n"), std::string::npos) << progress;
    EXPECT_EQ(progress.find("block 65"), std::string::npos) << progress;
    EXPECT_EQ(out.str().find("writing"), std::string::npos) << "progress stays off the output";
}

TEST_F(VantorctlTest, RestoreWhoseReadBackFailsSaysTheAdapterDoesNotHoldTheFile)
{
    const std::string file = WriteFile("wanted.bin", Memory());
    adapter.FailTransfer(64 * 4 + 3);  // the second read of block 0's check
    EXPECT_EQ(Run({"restore", file}), kCtlNotRestored);
    EXPECT_NE(err.str().find("block 0 cannot be read back"), std::string::npos) << err.str();
}

TEST_F(VantorctlTest, RefusedFilesWriteNothing)
{
    std::vector<uint8_t> usedFlagTwo = Memory();
    reinterpret_cast<ImageHeader*>(usedFlagTwo.data() + kRecordBufferSize)->used[3] = 2;
    std::vector<uint8_t> activeFree = Memory();
    reinterpret_cast<ImageHeader*>(activeFree.data() + kRecordBufferSize)->activeProfile = 9;
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
    ASSERT_TRUE(ReadFileStart(backup, kImageSize + 1, file));
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

TEST_F(VantorctlTest, BackupReplacesAnExistingFileWhole)
{
    const std::string backup = WriteFile("replaced.bin", std::vector<uint8_t>(2 * kImageSize, 0x11));
    ASSERT_EQ(Run({"backup", backup}), kCtlOk) << err.str();
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileStart(backup, 2 * kImageSize, file));
    EXPECT_EQ(file, Memory());
}

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
    const std::string json = out.str();
    for (const char* expected : {"\"name\": \"Racing\"", "\"activeProfile\": 4", "\"usedSlots\": [0, 4]",
                                 "\"A\": {\"code\": 99, \"name\": \"Up\"}", "\"B\": {\"code\": 0, \"name\": null}"})
        EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
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
    EXPECT_NE(out.str().find("\"stick left\": {\"code\": 106, \"name\": \"Right\"}"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\"ringed round\": {\"code\": 255, \"name\": null}"), std::string::npos);
    EXPECT_NE(out.str().find("\"right\": {\"button\": 9, \"name\": null}"), std::string::npos);
}

TEST_F(VantorctlTest, WrongCallsGetTheUsageLineAndNoAdapterIsSaidSo)
{
    for (const std::vector<std::string>& call :
         std::vector<std::vector<std::string>>{{}, {"frobnicate"}, {"backup"}, {"check", "--json"}, {"dump", "--bogus"}}) {
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

}  // namespace
