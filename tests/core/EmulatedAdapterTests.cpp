#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "EmulatedAdapter.h"
#include "ScratchFolder.h"

namespace {

class EmulatedAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle = adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 0);
        ASSERT_NE(handle, kInvalidAdapterHandle);
        for (int i = 0; i < 32; ++i) data[i] = static_cast<uint8_t>(0xA0 + i);
    }

    bool Send(std::vector<uint8_t> bytes, AdapterHandle on = nullptr)
    {
        size_t done = 0;
        return adapter.Write(on ? on : handle, bytes.data(), bytes.size(), &done) && done == bytes.size();
    }

    bool WriteData(AdapterHandle on = nullptr)
    {
        size_t done = 0;
        return adapter.Write(on ? on : handle, data, sizeof data, &done);
    }

    bool ReadData(uint8_t* into, size_t* done, AdapterHandle on = nullptr)
    {
        return adapter.Read(on ? on : handle, into, 32, done);
    }

    static std::vector<uint8_t> Packet(uint8_t op, uint8_t half) { return {0x05, op, half, 0, 0, 0, 0, 0}; }

    EmulatedAdapter adapter;
    AdapterHandle handle = kInvalidAdapterHandle;
    uint8_t data[32];
};

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST_F(EmulatedAdapterTest, AWritePacketThenDataStoresTheHalfAfterTenMilliseconds)
{
    ASSERT_TRUE(Send(Packet(0x08, 127)));
    EXPECT_FALSE(WriteData()) << "data before the flash had its 10 ms";
    EXPECT_EQ(adapter.Memory()[127 * 32], 0);

    ASSERT_TRUE(Send(Packet(0x08, 127)));
    adapter.Pause10ms();
    EXPECT_TRUE(WriteData());
    EXPECT_EQ(adapter.Memory()[127 * 32 + 31], 0xA0 + 31);
    EXPECT_FALSE(WriteData()) << "one packet announces one half";
}

TEST_F(EmulatedAdapterTest, AReadPacketThenAReadReturnsThatHalf)
{
    adapter.Memory()[3 * 32 + 5] = 0x77;
    uint8_t half[32] = {};
    size_t done = 0;
    ASSERT_TRUE(Send(Packet(0x06, 3)));
    ASSERT_TRUE(ReadData(half, &done));
    EXPECT_EQ(done, 32u);
    EXPECT_EQ(half[5], 0x77);
    EXPECT_FALSE(ReadData(half, &done)) << "a read needs its own packet";
}

TEST_F(EmulatedAdapterTest, MalformedTransfersFailAndLeaveTheMemoryUntouched)
{
    const std::vector<uint8_t> before(adapter.Memory(), adapter.Memory() + kImageSize);
    uint8_t half[32];
    size_t done = 0;
    EXPECT_FALSE(Send({0x04, 0x08, 0, 0, 0, 0, 0, 0})) << "wrong first byte";
    EXPECT_FALSE(Send(Packet(0x07, 0))) << "unknown operation";
    EXPECT_FALSE(Send(Packet(0x08, 128))) << "half above 127";
    EXPECT_FALSE(Send({0x05, 0x08, 0})) << "wrong length";
    adapter.Pause10ms();
    EXPECT_FALSE(WriteData()) << "data without a packet";
    ASSERT_TRUE(Send(Packet(0x08, 0)));
    EXPECT_FALSE(ReadData(half, &done)) << "a read after a write packet";
    ASSERT_TRUE(Send(Packet(0x06, 0)));
    adapter.Pause10ms();
    EXPECT_FALSE(WriteData()) << "data after a read packet";
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), before);
}

TEST_F(EmulatedAdapterTest, InjectedFaultsHitTheChosenTransfer)
{
    uint8_t half[32];
    size_t done = 0;
    adapter.FailTransfer(2);
    adapter.ShortReadAt(4);
    ASSERT_TRUE(Send(Packet(0x06, 0)));
    EXPECT_FALSE(ReadData(half, &done));
    ASSERT_TRUE(Send(Packet(0x06, 0)));
    EXPECT_TRUE(ReadData(half, &done));
    EXPECT_EQ(done, 16u) << "a short read still reports success, with fewer bytes";
    EXPECT_EQ(adapter.TransferCount(), 4u);
}

TEST_F(EmulatedAdapterTest, HandlesShareTheMemoryAndTheOneAnnouncedHalf)
{
    AdapterHandle second = adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 0);
    ASSERT_NE(second, handle);
    ASSERT_TRUE(Send(Packet(0x08, 10)));
    adapter.Pause10ms();
    EXPECT_FALSE(WriteData(second)) << "the packet was announced on the other handle";
    ASSERT_TRUE(Send(Packet(0x08, 10)));
    ASSERT_TRUE(Send(Packet(0x08, 11), second));
    adapter.Pause10ms();
    EXPECT_FALSE(WriteData()) << "another handle's packet came in between";
    EXPECT_EQ(adapter.Memory()[10 * 32], 0);
    ASSERT_TRUE(Send(Packet(0x08, 10)));
    adapter.Pause10ms();
    ASSERT_TRUE(WriteData());
    uint8_t half[32];
    size_t done = 0;
    ASSERT_TRUE(Send(Packet(0x06, 10), second));
    ASSERT_TRUE(ReadData(half, &done, second));
    EXPECT_EQ(half[0], 0xA0);
    adapter.Close(second);
    EXPECT_FALSE(Send(Packet(0x06, 10), second)) << "a closed handle carries nothing";
}

TEST(EmulatedAdapterPresence, AnAbsentAdapterOrAnotherClassOpensNothing)
{
    EmulatedAdapter adapter;
    InterfaceGuid other = GUID_DEVINTERFACE_ADAPTER;
    other.data1 ^= 1;
    EXPECT_EQ(adapter.OpenInterface(other, 0), kInvalidAdapterHandle);
    EXPECT_EQ(adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 1), kInvalidAdapterHandle);
    adapter.SetPresent(false);
    EXPECT_EQ(adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 0), kInvalidAdapterHandle);
}

TEST(EmulatedAdapterFile, TheMemoryFileIsReadAtStartAndWrittenThrough)
{
    const ScratchFolder scratch;
    const std::string path = scratch.Path("memory.bin");
    {
        EmulatedAdapter adapter;
        adapter.Memory()[100] = 0x42;
        ASSERT_TRUE(adapter.UseMemoryFile(path)) << "a missing file is created";
        EXPECT_EQ(ReadFile(path).size(), kImageSize);
        AdapterHandle handle = adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 0);
        const uint8_t packet[8] = {0x05, 0x08, 126};
        const uint8_t half[32] = {9, 8, 7};
        size_t done = 0;
        ASSERT_TRUE(adapter.Write(handle, packet, 8, &done));
        adapter.Pause10ms();
        ASSERT_TRUE(adapter.Write(handle, half, 32, &done));
        const std::vector<uint8_t> file = ReadFile(path);
        EXPECT_EQ(file[126 * 32 + 1], 8) << "an accepted half reaches the file at once";
    }
    EmulatedAdapter later;
    ASSERT_TRUE(later.UseMemoryFile(path));
    EXPECT_EQ(later.Memory()[100], 0x42);
    EXPECT_EQ(later.Memory()[kRecordBufferSize + 2], 7);
}

TEST(EmulatedAdapterFile, AFileOfAnotherSizeIsRefused)
{
    const ScratchFolder scratch;
    const std::string path = scratch.Path("short.bin");
    std::ofstream(path, std::ios::binary) << "too short";
    EmulatedAdapter adapter;
    EXPECT_FALSE(adapter.UseMemoryFile(path));
    EXPECT_EQ(ReadFile(path).size(), 9u) << "a refused file is left as it was";
}
