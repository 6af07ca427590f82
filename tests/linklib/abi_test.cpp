// The exported interface without a device: gate results, the simulator link, settings words, tables.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "QAV508DLL.h"

namespace {

TEST(Abi, NoLinkGivesIoError) {
    uint8_t buffer[16];
    const int32_t value = 1;
    EXPECT_EQ(MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 3), MB_ERR_IO);
    EXPECT_EQ(MODBUS_Write06(1, 903, &value, 3), MB_ERR_IO);
    DEBUG_Open();
    DEBUG_Close();
    EXPECT_EQ(MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 0), MB_ERR_IO);
}

TEST(Abi, SimulatorLink) {
    ASSERT_EQ(DEBUG_Open(), 0);
    uint8_t buffer[8] = {};
    EXPECT_EQ(MODBUS_Read03(1, 0, 3, buffer, 6, 0), MB_ERR_BUFFER);
    EXPECT_EQ(MODBUS_Read03(1, 0, 3, buffer, 7, 0), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_LE(buffer[i], 254);
    }
    const int32_t value = 55;
    EXPECT_EQ(MODBUS_Write06(1, 903, &value, 0), 1);
    EXPECT_EQ(MODBUS_Write06(1, 903, nullptr, 0), MB_ERR_IO);
    EXPECT_EQ(MODBUS_GetDeviceError(), 0u);
    DEBUG_Close();
}

TEST(Abi, UserFlagIsKept) {
    DLL_SetUserFlag(7);
    DEBUG_Open();
    uint8_t buffer[8];
    MODBUS_Read03(1, 0, 1, buffer, sizeof buffer, 0);
    DEBUG_Close();
    EXPECT_EQ(DLL_GetUserFlag(), 7u);
}

TEST(Abi, ManyThreadsOnTheSimulator) {
    ASSERT_EQ(DEBUG_Open(), 0);
    std::vector<std::thread> threads;
    std::atomic<int> ok{0};
    for (int t = 0; t < 12; ++t) {
        threads.emplace_back([&] {
            uint8_t buffer[64];
            for (int i = 0; i < 200; ++i) {
                if (MODBUS_Read03(1, 0, 9, buffer, sizeof buffer, 0) == 18) {
                    ++ok;
                }
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    DEBUG_Close();
    EXPECT_EQ(ok.load(), 12 * 200);
}

std::u16string Text(const char16_t* s) {
    return s;
}

TEST(Abi, ReferenceTables) {
    EXPECT_EQ(dll_nID, 26u);
    EXPECT_EQ(dll_nVerMinor, 5u);
    EXPECT_EQ(dll_nVerMajor, 15u);
    EXPECT_EQ(dll_nVerDll, 40u);
    EXPECT_EQ(dll_nVerDevAdr, 1u);
    EXPECT_EQ(Text(dll_nErrInfo[30].szShortName), u"\u0421IB alarm");  // Cyrillic Es
    EXPECT_EQ(Text(dll_nMeasureInfo[36].szUnit), u"\u00B0\u0421");
    EXPECT_EQ(dll_nErrInfo[2].nRegister, 304u);
    EXPECT_EQ(dll_nErrInfo[4].nRegister, 304u);
    EXPECT_EQ(Text(dll_nMeasureInfo[0].szDescription), u"Действующее значение фазного тока Ф1");
    EXPECT_EQ(Text(dll_nMeasureInfo[54].szUnit), u"");
    EXPECT_EQ(dll_nMeasureInfo[33].nDivisor, 1000u);
    EXPECT_EQ(Text(dll_nErrInfo[39].szDescription), u"Пуска не будет");
    EXPECT_EQ(Text(dll_nErrInfo[38].szShortName), u"Dev Conn");
}

}  // namespace
