// The serial transport against independent Modbus slaves on one of two pseudo-terminals joined by socat,
// the link library opening the other: libmodbus in RTU, pymodbus 3.0 in ASCII (libmodbus has no ASCII).
#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "QAV508DLL.h"
#include "linked_ptys.h"
#include "serial_child.h"

namespace {

using namespace std::chrono_literals;
using qav::test::serial::LinkedPtys;
using qav::test::serial::RunChild;
using qav::test::serial::StartChild;
using qav::test::serial::StopChild;

// Both slaves: unit 1, holding registers 0 .. 99 (beyond them exception 2), 19200 8N1.
constexpr int kRegisters = 100;
constexpr int kSlave = 1;

uint16_t InitialValue(int reg) {
    return static_cast<uint16_t>(0x1000 + reg * 17);
}

class Slave {
public:
    virtual ~Slave() = default;
    // The register as the slave holds it, where the test can look inside the slave.
    virtual std::optional<uint16_t> Register(int reg) const = 0;
};

// libmodbus as an RTU slave.
class LibmodbusRtuSlave : public Slave {
public:
    explicit LibmodbusRtuSlave(const std::string& path) {
        context_ = modbus_new_rtu(path.c_str(), 19200, 'N', 8, 1);
        mapping_ = modbus_mapping_new(0, 0, kRegisters, 0);
        if (context_ == nullptr || mapping_ == nullptr) {
            Free();
            throw std::runtime_error("libmodbus: cannot make the slave");
        }
        for (int reg = 0; reg < kRegisters; ++reg) {
            mapping_->tab_registers[reg] = InitialValue(reg);
        }
        modbus_set_slave(context_, kSlave);
        // A pseudo-terminal has no RS-485 mode; libmodbus only complains about it.
        if (modbus_connect(context_) != 0) {
            const std::string error = modbus_strerror(errno);
            Free();
            throw std::runtime_error("libmodbus: cannot open " + path + ": " + error);
        }
        modbus_flush(context_);
        // modbus_receive returns now and then, so that the slave notices it is being stopped.
        modbus_set_indication_timeout(context_, 0, 50000);
        thread_ = std::thread([this] { Run(); });
    }

    ~LibmodbusRtuSlave() override {
        stopping_ = true;
        thread_.join();
        modbus_close(context_);
        Free();
    }

    std::optional<uint16_t> Register(int reg) const override {
        std::lock_guard lock(mutex_);
        return mapping_->tab_registers[reg];
    }

private:
    void Run() {
        uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
        while (!stopping_) {
            const int size = modbus_receive(context_, query);
            if (size > 0) {
                std::lock_guard lock(mutex_);
                modbus_reply(context_, query, size, mapping_);
            } else if (size < 0 && errno != ETIMEDOUT) {
                modbus_flush(context_);  // a broken frame: start afresh
            }
        }
    }

    void Free() {
        if (context_ != nullptr) {
            modbus_free(context_);
            context_ = nullptr;
        }
        if (mapping_ != nullptr) {
            modbus_mapping_free(mapping_);
            mapping_ = nullptr;
        }
    }

    modbus_t* context_ = nullptr;
    modbus_mapping_t* mapping_ = nullptr;
    mutable std::mutex mutex_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

constexpr const char* kPython = "/usr/bin/python3";  // Debian's, with python3-pymodbus

// pymodbus_ascii_slave.py in a process of its own.
class PymodbusAsciiSlave : public Slave {
public:
    explicit PymodbusAsciiSlave(const std::string& path) {
        pid_ = StartChild({kPython, QAV_PYMODBUS_ASCII_SLAVE, path});
        if (pid_ < 0) {
            throw std::runtime_error("cannot start the pymodbus slave");
        }
    }

    ~PymodbusAsciiSlave() override { StopChild(pid_); }

    std::optional<uint16_t> Register(int) const override { return std::nullopt; }

    // True when Debian's Python has pymodbus and the serial support it needs.
    static bool Available() {
        return RunChild({kPython, "-c", "import pymodbus, serial, serial_asyncio"}) == 0;
    }

private:
    pid_t pid_ = -1;
};

enum class Peer { LibmodbusRtu, PymodbusAscii };

std::string PeerName(const ::testing::TestParamInfo<Peer>& param) {
    return param.param == Peer::LibmodbusRtu ? "LibmodbusRtu" : "PymodbusAscii";
}

void PrintTo(Peer peer, std::ostream* out) {
    *out << (peer == Peer::LibmodbusRtu ? "LibmodbusRtu" : "PymodbusAscii");
}

class SerialPeer : public ::testing::TestWithParam<Peer> {
protected:
    void SetUp() override {
        const bool ascii = GetParam() == Peer::PymodbusAscii;
        if (ascii) {
            if (!PymodbusAsciiSlave::Available()) {
                GTEST_SKIP() << kPython << " has no pymodbus with serial support";
            }
            slave_ = std::make_unique<PymodbusAsciiSlave>(ptys_.First());
        } else {
            slave_ = std::make_unique<LibmodbusRtuSlave>(ptys_.First());
        }
        DLL_SetIOProtocol(ascii ? 1 : 0);
        DLL_SetIOTimeout(1000);
        const std::string path = ptys_.Second();
        ASSERT_EQ(COM_Open(std::u16string(path.begin(), path.end()).c_str()), 0);
        ASSERT_EQ(COM_Setup(1, 1, 0, 0), 0);
        // The slave serves once it has opened its side (Python takes a moment to start).
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        int32_t result = 0;
        while (ReadRegisters(0, 1, &result).empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(50ms);
        }
        ASSERT_EQ(result, 2) << "the slave does not answer";
    }

    void TearDown() override {
        COM_Close();
        slave_.reset();
        DLL_SetIOProtocol(0);
        DLL_SetIOTimeout(100);
    }

    // Reads `count` registers from `first` as 16-bit values.
    static std::vector<uint16_t> ReadRegisters(int first, int count, int32_t* result = nullptr) {
        std::vector<uint8_t> buffer(2 * static_cast<std::size_t>(count) + 1);
        const int32_t r =
            MODBUS_Read03(kSlave, first, count, buffer.data(), static_cast<int32_t>(buffer.size()), 0);
        if (result != nullptr) {
            *result = r;
        }
        std::vector<uint16_t> values;
        for (int i = 0; 2 * i + 1 < r; ++i) {
            values.push_back(static_cast<uint16_t>(buffer[2 * i] << 8 | buffer[2 * i + 1]));
        }
        return values;
    }

    static std::vector<uint16_t> Initial(int first, int count) {
        std::vector<uint16_t> values;
        for (int reg = first; reg < first + count; ++reg) {
            values.push_back(InitialValue(reg));
        }
        return values;
    }

    LinkedPtys ptys_;
    std::unique_ptr<Slave> slave_;
};

TEST_P(SerialPeer, ReadsTheServedRegisters) {
    struct Block {
        int first, count;
    };
    for (const Block block : {Block{0, 1}, Block{0, 10}, Block{30, 6}, Block{99, 1}, Block{0, 100}}) {
        int32_t result = 0;
        EXPECT_EQ(ReadRegisters(block.first, block.count, &result), Initial(block.first, block.count))
            << block.first << " +" << block.count;
        EXPECT_EQ(result, 2 * block.count);
    }
}

TEST_P(SerialPeer, WriteRoundTrips) {
    struct Write {
        int reg;
        int32_t value;
        uint16_t stored;
    };
    for (const Write write :
         {Write{5, 0xBEEF, 0xBEEF}, Write{0, 0, 0}, Write{99, -1, 0xFFFF}, Write{42, 0x12345, 0x2345}}) {
        EXPECT_EQ(MODBUS_Write06(kSlave, write.reg, &write.value, 0), 1) << write.reg;
        if (const auto stored = slave_->Register(write.reg)) {
            EXPECT_EQ(*stored, write.stored);
        }
        EXPECT_EQ(ReadRegisters(write.reg, 1), std::vector<uint16_t>{write.stored});
    }
}

TEST_P(SerialPeer, ExceptionsCarryTheDeviceError) {
    struct Case {
        const char* what;
        bool write;
        int reg;
        int count;
        uint32_t deviceError;
    };
    const Case cases[] = {
        {"read beyond the registers", false, 200, 2, 2},
        {"read across the end", false, 98, 4, 2},
        {"write beyond the registers", true, 500, 1, 2},
        {"read of 126 registers", false, 0, 126, 3},
    };
    for (const Case& c : cases) {
        uint8_t buffer[512];
        const int32_t value = 7;
        const int32_t result = c.write ? MODBUS_Write06(kSlave, c.reg, &value, 0)
                                       : MODBUS_Read03(kSlave, c.reg, c.count, buffer, sizeof buffer, 0);
        EXPECT_EQ(result, MB_ERR_EXCEPTION) << c.what;
        // Read right after the call, before another transaction starts.
        EXPECT_EQ(MODBUS_GetDeviceError(), c.deviceError) << c.what;
    }
    // The next good transaction clears it.
    EXPECT_EQ(ReadRegisters(0, 2), Initial(0, 2));
    EXPECT_EQ(MODBUS_GetDeviceError(), 0u);
}

TEST_P(SerialPeer, SeveralThreadsReadTheirOwnBlocks) {
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 7; ++t) {
        threads.emplace_back([&, t] {
            const int first = 12 * t;
            const int count = 2 + t;
            for (int i = 0; i < 15; ++i) {
                if (ReadRegisters(first, count) != Initial(first, count)) {
                    ++wrong;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(Peers, SerialPeer, ::testing::Values(Peer::LibmodbusRtu, Peer::PymodbusAscii),
                         PeerName);

}  // namespace
