// The relay's answers to request PDUs: data, echoes and exception codes.
#include <gtest/gtest.h>

#include <vector>

#include "modbus_pdu.h"

namespace qav::sim {
namespace {

std::vector<uint8_t> Answer(Relay& relay, std::vector<uint8_t> request) {
    Pdu reply;
    AnswerRequest(relay, request, reply);
    return {reply.bytes.begin(), reply.bytes.begin() + static_cast<long>(reply.size)};
}

TEST(ModbusPdu, ReadReplyCarriesRegistersHighByteFirst) {
    Relay relay{RelaySettings{}};
    EXPECT_EQ(Answer(relay, {0x03, 0x00, 0x00, 0x00, 0x02}),
              (std::vector<uint8_t>{0x03, 0x04, 0x00, 0x1A, 0x00, 0x0F}));
    const auto journal = Answer(relay, {0x03, 0x03, 0xE8, 0x00, 0x7D});  // 125 registers from 1000
    ASSERT_EQ(journal.size(), 2u + 250u);
    EXPECT_EQ(journal[1], 250);
    EXPECT_EQ(journal[2], 0xFF);
}

TEST(ModbusPdu, WriteIsEchoedAndTakesEffect) {
    Relay relay{RelaySettings{}};
    const std::vector<uint8_t> request = {0x06, 0x00, 0x97, 0x00, 0x32};  // 151 = 50
    EXPECT_EQ(Answer(relay, request), request);
    EXPECT_EQ(relay.Value(151), 50);
}

TEST(ModbusPdu, ExceptionsForFunctionsAddressesAndValues) {
    struct Case {
        const char* what;
        std::vector<uint8_t> request;
        std::vector<uint8_t> reply;
    };
    const Case cases[] = {
        {"function 04", {0x04, 0x00, 0x00, 0x00, 0x01}, {0x84, 0x01}},
        {"function 16", {0x10, 0x00, 0x97, 0x00, 0x01, 0x02, 0x00, 0x32}, {0x90, 0x01}},
        {"function 01", {0x01}, {0x81, 0x01}},
        {"read of 0", {0x03, 0x00, 0x00, 0x00, 0x00}, {0x83, 0x03}},
        {"read of 126", {0x03, 0x03, 0xE8, 0x00, 0x7E}, {0x83, 0x03}},
        {"read of 65535", {0x03, 0x00, 0x00, 0xFF, 0xFF}, {0x83, 0x03}},
        {"read of a missing register", {0x03, 0x00, 0x02, 0x00, 0x01}, {0x83, 0x02}},
        {"read past the end", {0x03, 0xFF, 0xFF, 0x00, 0x02}, {0x83, 0x02}},
        {"short read", {0x03, 0x00, 0x00, 0x00}, {0x83, 0x03}},
        {"long write", {0x06, 0x00, 0x97, 0x00, 0x32, 0x00}, {0x86, 0x03}},
        {"write of a read-only register", {0x06, 0x00, 0x1E, 0x00, 0x01}, {0x86, 0x02}},
        {"write beyond a limit", {0x06, 0x00, 0x97, 0x02, 0x77}, {0x86, 0x03}},  // 151 = 631
        {"unknown command", {0x06, 0x03, 0x87, 0x00, 0x07}, {0x86, 0x03}},
    };
    for (const Case& c : cases) {
        Relay relay{RelaySettings{}};
        EXPECT_EQ(Answer(relay, c.request), c.reply) << c.what;
    }
}

TEST(ModbusPdu, EmptyRequestGetsNoReply) {
    Relay relay{RelaySettings{}};
    EXPECT_TRUE(Answer(relay, {}).empty());
}

}  // namespace
}  // namespace qav::sim
