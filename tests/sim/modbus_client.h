// libmodbus as the independent master in tests of the simulator process.
#pragma once

#include <gtest/gtest.h>
#include <modbus.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "eventually.h"

namespace qav::sim::test {

struct ModbusFree {
    void operator()(modbus_t* ctx) const {
        modbus_close(ctx);
        modbus_free(ctx);
    }
};
using Modbus = std::unique_ptr<modbus_t, ModbusFree>;

inline void SetTimeout(modbus_t* ctx, std::chrono::milliseconds timeout) {
    const auto ms = timeout.count();
    modbus_set_response_timeout(ctx, static_cast<uint32_t>(ms / 1000),
                                static_cast<uint32_t>(ms % 1000 * 1000));
}

inline Modbus TcpClient(uint16_t port, int unit = 1,
                        std::chrono::milliseconds timeout = std::chrono::seconds(2)) {
    Modbus ctx(modbus_new_tcp("127.0.0.1", port));
    if (!ctx || modbus_set_slave(ctx.get(), unit) != 0 || modbus_connect(ctx.get()) != 0) {
        ADD_FAILURE() << "cannot connect to 127.0.0.1:" << port << ": " << modbus_strerror(errno);
        return nullptr;
    }
    SetTimeout(ctx.get(), timeout);
    return ctx;
}

inline Modbus RtuClient(const std::string& path, int unit = 1,
                        std::chrono::milliseconds timeout = std::chrono::seconds(2)) {
    Modbus ctx(modbus_new_rtu(path.c_str(), 19200, 'N', 8, 1));
    if (!ctx || modbus_set_slave(ctx.get(), unit) != 0 || modbus_connect(ctx.get()) != 0) {
        ADD_FAILURE() << "cannot open " << path << ": " << modbus_strerror(errno);
        return nullptr;
    }
    modbus_flush(ctx.get());
    SetTimeout(ctx.get(), timeout);
    return ctx;
}

// The registers, or an empty vector and errno set.
inline std::vector<uint16_t> Read(modbus_t* ctx, int first, int count) {
    std::vector<uint16_t> words(static_cast<std::size_t>(count));
    if (modbus_read_registers(ctx, first, count, words.data()) != count) {
        return {};
    }
    return words;
}

// Polls `done` until it holds or the time is up.
using qav::test::Eventually;

}  // namespace qav::sim::test
