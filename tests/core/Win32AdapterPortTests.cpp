#include <gtest/gtest.h>

#include "AdapterLink.h"
#include "Win32AdapterPort.h"

TEST(Win32AdapterPort, NoAdapterMeansTheInvalidHandle)
{
    Win32AdapterPort port;
    CAdapterLink link(port);
    EXPECT_EQ(link.OpenAdapter(GUID_DEVINTERFACE_ADAPTER, 0), kInvalidAdapterHandle);
    uint8_t* records = nullptr;
    EXPECT_FALSE(link.LoadConfig(&records));
    EXPECT_NE(records, nullptr);
    EXPECT_FALSE(link.SaveConfig());
}
