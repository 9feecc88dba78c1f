#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "AdapterLink.h"
#include "EmulatedAdapter.h"
#include "KnownAdapterImages.h"
#include "RecordingPort.h"

namespace {

// A memory whose every byte tells where it stands, with a few slots in use.
void FillPattern(uint8_t* memory)
{
    for (size_t i = 0; i < kImageSize; ++i) memory[i] = static_cast<uint8_t>(i * 7 + 3);
    uint8_t* header = memory + kRecordBufferSize;
    std::memset(header, 0, kBlockSize);
    header[0] = 2;
    header[1 + 0] = header[1 + 2] = header[1 + 62] = kSlotUsed;
}

std::string Repeat(const std::string& part, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i) all += part;
    return all;
}

class AdapterLinkTest : public ::testing::Test {
protected:
    AdapterLinkTest() { FillPattern(adapter.Memory()); }

    EmulatedAdapter adapter;
    RecordingPort port{adapter};
    uint8_t* records = nullptr;
};

std::vector<int> Halves(int firstBlock, int lastBlock)
{
    std::vector<int> halves;
    for (int block = firstBlock; block <= lastBlock; ++block) {
        halves.push_back(2 * block);
        halves.push_back(2 * block + 1);
    }
    return halves;
}

}  // namespace

TEST_F(AdapterLinkTest, LoadReadsTheHeaderFirstThenEveryRecordInHalves)
{
    CAdapterLink link(port);
    ASSERT_TRUE(link.LoadConfig(&records));
    EXPECT_EQ(records, link.Records());
    EXPECT_EQ(port.Shape(), "O" + Repeat("WRWR", 64));

    std::vector<int> expected = {126, 127};
    const std::vector<int> recordHalves = Halves(0, 62);
    expected.insert(expected.end(), recordHalves.begin(), recordHalves.end());
    EXPECT_EQ(port.PacketHalves(), expected);

    const std::vector<uint8_t> firstPacket = {0x05, 0x06, 126, 0, 0, 0, 0, 0};
    EXPECT_EQ(port.events[1].bytes, firstPacket);
    EXPECT_EQ(std::memcmp(link.Records(), adapter.Memory(), kRecordBufferSize), 0);
    EXPECT_EQ(std::memcmp(link.Header(), adapter.Memory() + kRecordBufferSize, kBlockSize), 0);
}

TEST_F(AdapterLinkTest, SaveWritesEveryBlockWithAPauseAfterEachPacketHeaderLast)
{
    CAdapterLink link(port);
    ASSERT_TRUE(link.LoadConfig(&records));
    port.events.clear();
    ASSERT_TRUE(link.SaveConfig());

    EXPECT_EQ(port.Shape(), "CO" + Repeat("WPDWPD", 64)) << "the load's handle is closed first";
    EXPECT_EQ(port.PacketHalves(), Halves(0, 63));
    EXPECT_EQ(link.SentHalves(), Halves(0, 63));
    const std::vector<uint8_t> lastPacket = {0x05, 0x08, 127, 0, 0, 0, 0, 0};
    EXPECT_EQ(port.events[port.events.size() - 3].bytes, lastPacket);
    EXPECT_EQ(adapter.OpenHandleCount(), 1u);
}

TEST_F(AdapterLinkTest, RoundTripKeepsWhatTheToolDoesNotWrite)
{
    std::vector<uint8_t> before(adapter.Memory(), adapter.Memory() + kImageSize);
    {
        CAdapterLink link(port);
        ASSERT_TRUE(link.LoadConfig(&records));
        ProfileRecord* record = RecordOfSlot(records, 2);
        std::memcpy(record->name, "Halo\0\0\0\0\0\0\0\0\0\0", kNameBytes);
        record->keySlots[3] = 0x15;
        record->speed = 40;
        link.HeaderFields().activeProfile = 0;
        ASSERT_TRUE(link.SaveConfig());
    }
    EXPECT_EQ(adapter.OpenHandleCount(), 0u) << "the link closes its handle when destroyed";

    const uint8_t* after = adapter.Memory();
    const ProfileRecord* saved = reinterpret_cast<const ProfileRecord*>(after + 2 * kBlockSize);
    EXPECT_STREQ(saved->name, "Halo");
    EXPECT_EQ(saved->keySlots[3], 0x15);
    EXPECT_EQ(saved->speed, 40);
    EXPECT_EQ(after[kRecordBufferSize], 0);
    const size_t slot2 = 2 * kBlockSize;
    EXPECT_EQ(after[slot2 + 42], before[slot2 + 42]);
    EXPECT_TRUE(std::equal(after + slot2 + 47, after + slot2 + 64, before.begin() + slot2 + 47));
    EXPECT_TRUE(std::equal(after + 3 * kBlockSize, after + kRecordBufferSize, before.begin() + 3 * kBlockSize))
        << "unused records go back as they were read";
}

TEST_F(AdapterLinkTest, NoAdapterLoadsNothingAndSavesNothing)
{
    adapter.SetPresent(false);
    CAdapterLink link(port);
    EXPECT_FALSE(link.LoadConfig(&records));
    EXPECT_EQ(records, link.Records());
    EXPECT_EQ(link.Handle(), kInvalidAdapterHandle);
    EXPECT_EQ(std::vector<uint8_t>(link.Header(), link.Header() + kBlockSize), std::vector<uint8_t>(kBlockSize, 0));

    adapter.SetPresent(true);
    port.events.clear();
    EXPECT_FALSE(link.SaveConfig());
    EXPECT_TRUE(port.events.empty()) << "a link that found no adapter never tries again";
}

// Transfers of a load: 1-2 the header's first half, 3-4 its second, 5-8 record 0, ...
class FailedLoadTest : public AdapterLinkTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FailedLoadTest, AnyFailedOrShortTransferFailsTheLoadAndForbidsTheSave)
{
    for (bool shortRead : {false, true}) {
        EmulatedAdapter fresh;
        FillPattern(fresh.Memory());
        const unsigned transfer = GetParam() + (shortRead && GetParam() % 2 == 1 ? 1 : 0);
        if (shortRead) fresh.ShortReadAt(transfer);
        else fresh.FailTransfer(transfer);
        RecordingPort recorder(fresh);
        CAdapterLink link(recorder);
        const std::vector<uint8_t> memoryBefore(fresh.Memory(), fresh.Memory() + kImageSize);

        EXPECT_FALSE(link.LoadConfig(&records)) << "transfer " << transfer << (shortRead ? " short" : " failed");
        EXPECT_EQ(fresh.TransferCount(), transfer) << "the load stops at the first failure";
        EXPECT_NE(link.Handle(), kInvalidAdapterHandle) << "the adapter is there, only its data is not";
        recorder.events.clear();
        EXPECT_FALSE(link.SaveConfig());
        EXPECT_TRUE(recorder.events.empty()) << "bytes that were never read are never written";
        EXPECT_EQ(std::vector<uint8_t>(fresh.Memory(), fresh.Memory() + kImageSize), memoryBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(HeaderAndRecords, FailedLoadTest, ::testing::Values(1u, 2u, 3u, 4u, 6u, 8u, 130u, 256u));

TEST_F(AdapterLinkTest, AHeaderThatFailsHalfwayLeavesTheHeaderUntouched)
{
    adapter.FailTransfer(4);
    CAdapterLink link(port);
    EXPECT_FALSE(link.LoadConfig(&records));
    EXPECT_EQ(std::vector<uint8_t>(link.Header(), link.Header() + kBlockSize), std::vector<uint8_t>(kBlockSize, 0));
}

// An adapter that counts one chosen transfer, a write, a byte short: its bytes went out,
// but not all of them were reported.
class ShortWritingAdapter : public EmulatedAdapter {
public:
    unsigned shortWrite = 0;

    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        const bool ok = EmulatedAdapter::Write(handle, data, size, done);
        if (ok && TransferCount() == shortWrite) --*done;
        return ok;
    }
};

// Transfers of a save: 4 per block, block n's first packet is transfer 4n + 1.
class FailedSaveTest : public AdapterLinkTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FailedSaveTest, AFailedOrShortWriteFailsTheSaveAndTheHeaderIsNotWrittenAfterIt)
{
    for (bool shortWrite : {false, true}) {
        ShortWritingAdapter fresh;
        FillPattern(fresh.Memory());
        CAdapterLink link(fresh);
        ASSERT_TRUE(link.LoadConfig(&records));
        link.HeaderFields().activeProfile = 0;
        const unsigned transfer = fresh.TransferCount() + GetParam();
        if (shortWrite) fresh.shortWrite = transfer;
        else fresh.FailTransfer(transfer);
        EXPECT_FALSE(link.SaveConfig()) << "transfer " << transfer << (shortWrite ? " short" : " failed");
        EXPECT_EQ(fresh.TransferCount(), transfer) << "the save stops at the failure";
        // Half n's packet is the save's transfer 2n + 1: the halves whose packet went out.
        std::vector<int> started = Halves(0, 63);
        started.resize(GetParam() / 2);
        EXPECT_EQ(link.SentHalves(), started);
        // A short write's bytes did arrive, the header's own included.
        if (!shortWrite) {
            EXPECT_EQ(fresh.Memory()[kRecordBufferSize], 2) << "the header still holds what the adapter had";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PacketsAndData, FailedSaveTest, ::testing::Values(1u, 2u, 3u, 4u, 101u, 252u, 253u, 254u));

TEST_F(AdapterLinkTest, WriteBlockReportsItsResult)
{
    CAdapterLink link(port);
    ASSERT_TRUE(link.LoadConfig(&records));
    uint8_t block[kBlockSize] = {1, 2, 3};
    EXPECT_TRUE(link.WriteBlock(5, block));
    EXPECT_EQ(adapter.Memory()[5 * kBlockSize + 2], 3);
    adapter.FailTransfer(adapter.TransferCount() + 3);
    EXPECT_FALSE(link.WriteBlock(6, block));
}

TEST_F(AdapterLinkTest, AReplacedImageIsSavedWithoutALoad)
{
    std::vector<uint8_t> image(kImageSize, 0x11);
    image[kRecordBufferSize] = kNoActiveProfile;
    CAdapterLink link(port);
    link.ReplaceImage(image.data());
    ASSERT_TRUE(link.SaveConfig());
    EXPECT_EQ(port.Shape(), "O" + Repeat("WPDWPD", 64));
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), image);
}

// A save after the adapter was just read: the records that differ by slot, then the header,
// which goes whenever anything does; then every block is read back.
TEST_F(AdapterLinkTest, SaveChangesWritesTheRecordsThatDifferBySlotThenTheHeaderAndReadsAllBack)
{
    CAdapterLink link(port);
    ASSERT_TRUE(link.LoadConfig(&records));
    const std::vector<uint8_t> stored = link.Image();
    const auto halvesWritten = [&](const std::vector<int>& changedBlocks) {
        link.ReplaceImage(stored.data());
        for (int block : changedBlocks) ++(block == kHeaderBlock ? link.Header() : link.Records() + kBlockSize * block)[47];
        port.events.clear();
        EXPECT_TRUE(link.SaveChanges(stored));
        EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), link.Image());
        std::memcpy(adapter.Memory(), stored.data(), kImageSize);
        const std::string shape = port.Shape();
        const size_t written = shape.size() - 4 * kBlockCount;
        EXPECT_EQ(shape, Repeat("WPDWPD", int(written / 6)) + Repeat("WRWR", kBlockCount));
        std::vector<int> halves = port.PacketHalves();
        halves.resize(written / 3);
        EXPECT_EQ(link.SentHalves(), halves);
        return halves;
    };
    EXPECT_EQ(halvesWritten({40, 5, kHeaderBlock}), (std::vector<int>{10, 11, 80, 81, 126, 127}));
    EXPECT_EQ(halvesWritten({62}), (std::vector<int>{124, 125, 126, 127})) << "the header too, though the same";
    EXPECT_EQ(halvesWritten({kHeaderBlock}), (std::vector<int>{126, 127}));
    link.ReplaceImage(stored.data());
    port.events.clear();
    EXPECT_TRUE(link.SaveChanges(stored));
    EXPECT_TRUE(port.events.empty()) << "nothing differs: nothing is written or read";
}

// Firmware that handles a block written on its own badly: it acknowledges the next data
// halves written but keeps none of them.
class ForgetfulAdapter : public EmulatedAdapter {
public:
    int halvesToDrop = 0;

    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        if (size != kBlockSize / 2 || halvesToDrop == 0) return EmulatedAdapter::Write(handle, data, size, done);
        --halvesToDrop;
        const std::vector<uint8_t> kept(Memory(), Memory() + kImageSize);
        const bool ok = EmulatedAdapter::Write(handle, data, size, done);
        std::memcpy(Memory(), kept.data(), kImageSize);
        return ok;
    }
};

// When the adapter does not hold what the changes wrote, or a write fails, the whole image
// is written in the order of a full save and read back, and the save ends there.
TEST(SaveChangesFallbackTest, AWriteThatDidNotHoldOrFailedIsFollowedByOneFullWrite)
{
    for (const bool failTransfer : {false, true}) {
        ForgetfulAdapter adapter;
        FillPattern(adapter.Memory());
        RecordingPort port(adapter);
        CAdapterLink link(port);
        uint8_t* records = nullptr;
        ASSERT_TRUE(link.LoadConfig(&records));
        const std::vector<uint8_t> stored = link.Image();
        RecordOfSlot(records, 5)->speed = 99;
        if (failTransfer) adapter.FailTransfer(adapter.TransferCount() + 2);  // block 5's first half
        else adapter.halvesToDrop = 2;  // block 5
        port.events.clear();
        EXPECT_TRUE(link.SaveChanges(stored)) << (failTransfer ? "failed" : "dropped");
        const std::string partial = failTransfer ? "WPD" : Repeat("WPDWPD", 2) + Repeat("WRWR", kBlockCount);
        EXPECT_EQ(port.Shape(), partial + "CO" + Repeat("WPDWPD", kBlockCount) + Repeat("WRWR", kBlockCount));
        std::vector<int> sent = failTransfer ? std::vector<int>{10} : std::vector<int>{10, 11, 126, 127};
        const std::vector<int> whole = Halves(0, kHeaderBlock);
        sent.insert(sent.end(), whole.begin(), whole.end());
        EXPECT_EQ(link.SentHalves(), sent) << "the halves of both writes may have landed";
        EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), link.Image());
    }
}

TEST(SaveChangesFallbackTest, AFullWriteThatDoesNotHoldEitherFailsNamingTheBlock)
{
    ForgetfulAdapter adapter;
    FillPattern(adapter.Memory());
    CAdapterLink link(adapter);
    uint8_t* records = nullptr;
    ASSERT_TRUE(link.LoadConfig(&records));
    const std::vector<uint8_t> stored = link.Image();
    RecordOfSlot(records, 5)->speed = 99;
    adapter.halvesToDrop = 1000;
    EXPECT_FALSE(link.SaveChanges(stored));
    ASSERT_EQ(link.Faults().size(), 1u);
    EXPECT_EQ(link.Faults()[0].block, 5);
    EXPECT_FALSE(link.Faults()[0].unreadable);
    EXPECT_EQ(link.SavedBlockCount(), kBlockCount) << "the full write went through";
}

// Before OK writes, the adapter read again must show only halves this program read, tried
// to write (a half whose transfer a failed save started may or may not have arrived) or is
// about to write.
TEST(KnownAdapterImages, ExplainsWholeHalvesThisProgramReadOrStartedToWriteOnly)
{
    const std::vector<uint8_t> read(kImageSize, 0x11), firstTry(kImageSize, 0x22), pending(kImageSize, 0x33);
    KnownAdapterImages known;
    known.Read(read);
    std::vector<uint8_t> stored = read;
    EXPECT_TRUE(known.Explain(stored, pending));
    stored[40] = 0x22;
    EXPECT_FALSE(known.Explain(stored, pending)) << "a byte that no one of this program wrote";

    known.SaveTried(firstTry, {0, 1});
    std::fill(stored.begin() + 32, stored.begin() + 64, 0x22);
    std::fill(stored.end() - 32, stored.end(), 0x33);
    EXPECT_TRUE(known.Explain(stored, pending)) << "a started half of the failed save and one of the save to come";
    std::fill(stored.begin() + 64, stored.begin() + 96, 0x22);
    EXPECT_FALSE(known.Explain(stored, pending)) << "a half the failed save never started";

    known.Read(stored);  // what the user agreed to write over
    EXPECT_FALSE(known.Explain(firstTry, pending)) << "the earlier try is forgotten";
}
