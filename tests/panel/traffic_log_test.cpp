// The traffic log without a window: the lines, the bound, appends racing drains, the callback and the tap.
#include "traffic_log.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "QAV508DLL.h"
#include "sim_process.h"

namespace qav::panel {
namespace {

QByteArray Bytes(std::initializer_list<uint8_t> bytes) {
    QByteArray array;
    for (const uint8_t b : bytes) {
        array.append(static_cast<char>(b));
    }
    return array;
}

// 12:34:56.789 local time on a winter day, whatever the machine's zone.
qint64 Noon() {
    return QDateTime(QDate(2024, 1, 15), QTime(12, 34, 56, 789)).toMSecsSinceEpoch();
}

struct LineCase {
    const char* name;
    TrafficEntry entry;
    const char* line;
};

TEST(TrafficLine, Forms) {
    const LineCase cases[] = {
        {"request",
         {Noon(), false, Bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B}), 0, 0},
         "12:34:56.789 → 01 03 00 00 00 02 C4 0B"},
        {"read reply",
         {Noon(), true, Bytes({0x01, 0x03, 0x04, 0x00, 0x1A, 0x00, 0x0F, 0x5B, 0xF7}), 4, 0},
         "12:34:56.789 ← 01 03 04 00 1A 00 0F 5B F7 | 4 Успешно"},
        {"time-out",
         {Noon(), true, {}, MB_ERR_TIMEOUT, 0},
         "12:34:56.789 ← (нет данных) | -102 Ошибка таймаута. Нет ответа от устройства."},
        {"exception",
         {Noon(), true, Bytes({0x01, 0x86, 0x03, 0x02, 0x61}), MB_ERR_EXCEPTION, 3},
         "12:34:56.789 ← 01 86 03 02 61 | -103 Прибор вернул ошибку 'ILLEGAL DATA VALUE'"},
        {"checksum",
         {Noon(), true, Bytes({0x01, 0x86}), MB_ERR_CHECKSUM, 0},
         "12:34:56.789 ← 01 86 | -104 Ошибка контрольной суммы принятого пакета"},
        {"unknown code",
         {Noon(), true, {}, -5, 0},
         "12:34:56.789 ← (нет данных) | -5 Неизвестный код ошибки -5"},
        {"ASCII request",
         {Noon(), false, QByteArray(":010300000002FA\r\n"), 0, 0},
         "12:34:56.789 → 3A 30 31 30 33 30 30 30 30 30 30 30 32 46 41 0D 0A \":010300000002FA\\r\\n\""},
        {"ASCII reply cut short",
         {Noon(), true, QByteArray(":0103"), MB_ERR_TIMEOUT, 0},
         "12:34:56.789 ← 3A 30 31 30 33 \":0103\" | -102 Ошибка таймаута. Нет ответа от устройства."},
        {"RTU frame of address 58",
         {Noon(), false, Bytes({0x3A, 0x03, 0x00, 0x00, 0x00, 0x01, 0x80, 0xD5}), 0, 0},
         "12:34:56.789 → 3A 03 00 00 00 01 80 D5"},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(TrafficLine(c.entry).toStdString(), c.line) << c.name;
    }
}

TrafficEntry Numbered(int32_t n) {
    return {0, true, {}, n, 0};
}

TEST(TrafficLog, KeepsTheNewestWithinItsCapacityAndCountsTheRest) {
    TrafficLog log(3);
    for (int32_t n = 0; n < 5; ++n) {
        log.Append(Numbered(n));
    }
    TrafficLog::Batch batch = log.Drain();
    ASSERT_EQ(batch.entries.size(), 3u);
    EXPECT_EQ(batch.entries[0].result, 2);
    EXPECT_EQ(batch.entries[2].result, 4);
    EXPECT_EQ(batch.dropped, 2u);

    batch = log.Drain();
    EXPECT_TRUE(batch.entries.empty());
    EXPECT_EQ(batch.dropped, 0u);

    log.Append(Numbered(7));
    batch = log.Drain();
    ASSERT_EQ(batch.entries.size(), 1u);
    EXPECT_EQ(batch.entries[0].result, 7);
    EXPECT_EQ(batch.dropped, 0u);
}

// Producers append numbered entries while a consumer drains: every entry is either drained once or counted
// as dropped, and each producer's entries come out in the order they went in.
TEST(TrafficLog, AppendsFromManyThreadsWhileDraining) {
    constexpr int kProducers = 4;
    constexpr int32_t kEach = 20000;
    TrafficLog log(500);
    std::atomic<int> running{kProducers};
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&log, &running, p] {
            for (int32_t n = 0; n < kEach; ++n) {
                log.Append({0, false, {}, n, static_cast<uint32_t>(p)});
            }
            --running;
        });
    }
    std::vector<int32_t> last(kProducers, -1);
    std::size_t drained = 0;
    std::size_t dropped = 0;
    bool ordered = true;
    for (bool more = true; more;) {
        more = running > 0;  // one more drain after the last producer has finished
        TrafficLog::Batch batch = log.Drain();
        EXPECT_LE(batch.entries.size(), log.Capacity());
        dropped += batch.dropped;
        drained += batch.entries.size();
        for (const TrafficEntry& e : batch.entries) {
            ordered = ordered && e.result > last[e.deviceError];
            last[e.deviceError] = e.result;
        }
    }
    for (std::thread& t : producers) {
        t.join();
    }
    EXPECT_TRUE(ordered);
    EXPECT_EQ(drained + dropped, std::size_t{kProducers} * kEach);
    EXPECT_TRUE(log.Drain().entries.empty());
}

TEST(TrafficCallback, CopiesTheReportWithItsTime) {
    TrafficLog log;
    const uint8_t request[] = {0x01, 0x06, 0x00, 0x97, 0x00, 0x32, 0x39, 0xF2};
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    TrafficCallback(&log, QAV_TRACE_SENT, request, sizeof request, 0);
    TrafficCallback(&log, QAV_TRACE_RECEIVED, request, 0, MB_ERR_TIMEOUT);
    const qint64 after = QDateTime::currentMSecsSinceEpoch();

    const TrafficLog::Batch batch = log.Drain();
    ASSERT_EQ(batch.entries.size(), 2u);
    EXPECT_FALSE(batch.entries[0].received);
    EXPECT_EQ(batch.entries[0].bytes, QByteArray(reinterpret_cast<const char*>(request), sizeof request));
    EXPECT_TRUE(batch.entries[1].received);
    EXPECT_TRUE(batch.entries[1].bytes.isEmpty());
    EXPECT_EQ(batch.entries[1].result, MB_ERR_TIMEOUT);
    for (const TrafficEntry& e : batch.entries) {
        EXPECT_GE(e.msecsSinceEpoch, before);
        EXPECT_LE(e.msecsSinceEpoch, after);
    }
}

// Against the relay simulator: the tap feeds the log while it lives, the device error of an exception
// included, and nothing after.
TEST(TrafficTap, FeedsTheLogWhileItLives) {
    test::SimProcess sim;
    ASSERT_EQ(TCP_Open(u"127.0.0.1", sim.TcpPort()), 0);
    TrafficLog log;
    const int32_t tooHigh = 631;
    {
        const TrafficTap tap(log);
        EXPECT_EQ(MODBUS_Write06(1, 151, &tooHigh, 0), MB_ERR_EXCEPTION);
    }
    EXPECT_EQ(MODBUS_Write06(1, 151, &tooHigh, 0), MB_ERR_EXCEPTION);
    TCP_Close();

    const TrafficLog::Batch batch = log.Drain();
    ASSERT_EQ(batch.entries.size(), 2u);
    EXPECT_EQ(batch.entries[0].bytes.size(), 12);
    EXPECT_EQ(batch.entries[1].result, MB_ERR_EXCEPTION);
    EXPECT_EQ(batch.entries[1].deviceError, 3u);
}

}  // namespace
}  // namespace qav::panel
