// Which requests the relay answers, and how the faults change its answers.
#include <gtest/gtest.h>

#include <vector>

#include "slave.h"

namespace qav::sim {
namespace {

using namespace std::chrono_literals;

const std::vector<uint8_t> kReadIdentity = {0x03, 0x00, 0x00, 0x00, 0x02};
const std::vector<uint8_t> kWriteRated = {0x06, 0x00, 0x97, 0x00, 0x32};  // 151 = 50

struct Rig {
    explicit Rig(FaultSettings faults = {}, RelaySettings relaySettings = {})
        : relay(relaySettings), injector(faults, 1), slave(relay, injector, false) {}

    Answer Send(Transport transport, uint8_t unit, const std::vector<uint8_t>& request) {
        Answer answer;
        slave.Handle(transport, unit, request, answer);
        return answer;
    }
    uint16_t Value(uint16_t reg) {
        return relay.With([reg](Relay& r) { return r.Value(reg); });
    }

    SharedRelay relay;
    FaultInjector injector;
    Slave slave;
};

TEST(Slave, AnswersItsAddressOnTheLineAndAlsoUnit255OverTcp) {
    struct Case {
        Transport transport;
        uint8_t unit;
        bool answered;
    };
    const Case cases[] = {
        {Transport::kSerial, 1, true},  {Transport::kSerial, 2, false}, {Transport::kSerial, 255, false},
        {Transport::kSerial, 0, false}, {Transport::kTcp, 1, true},     {Transport::kTcp, 255, true},
        {Transport::kTcp, 2, false},    {Transport::kTcp, 0, false},
    };
    for (const Case& c : cases) {
        Rig rig;
        const Answer answer = rig.Send(c.transport, c.unit, kReadIdentity);
        EXPECT_EQ(answer.kind == Answer::Kind::kReply, c.answered) << int(c.unit);
        EXPECT_FALSE(answer.corrupt);
    }
}

TEST(Slave, BroadcastWritesAreCarriedOutWithoutAReply) {
    Rig rig;
    EXPECT_EQ(rig.Send(Transport::kSerial, 0, kWriteRated).kind, Answer::Kind::kNone);
    EXPECT_EQ(rig.Value(151), 50);
    Rig tcp;
    tcp.Send(Transport::kTcp, 0, kWriteRated);
    EXPECT_EQ(tcp.Value(151), 0) << "unit 0 is no broadcast over TCP";
}

TEST(Slave, SilentWhileTheRelayRestarts) {
    Rig rig;
    rig.relay.With([](Relay& r) { r.Restart(); });
    EXPECT_EQ(rig.Send(Transport::kTcp, 1, kReadIdentity).kind, Answer::Kind::kNone);
    rig.relay.With([](Relay& r) { r.Advance(2s); });
    EXPECT_EQ(rig.Send(Transport::kTcp, 1, kReadIdentity).kind, Answer::Kind::kReply);
}

TEST(Slave, FaultsWithShareOne) {
    struct Case {
        const char* what;
        FaultSettings faults;
        Transport transport;
        Answer::Kind kind;
        bool corrupt;
        bool executed;
    };
    FaultSettings drop;
    drop.dropShare = 1;
    FaultSettings exception;
    exception.exceptionShare = 1;
    exception.exceptionCode = 6;
    FaultSettings close;
    close.closeShare = 1;
    FaultSettings corrupt;
    corrupt.corruptShare = 1;
    const Case cases[] = {
        {"drop", drop, Transport::kTcp, Answer::Kind::kNone, false, false},
        {"drop", drop, Transport::kSerial, Answer::Kind::kNone, false, false},
        {"exception", exception, Transport::kSerial, Answer::Kind::kReply, false, false},
        {"close", close, Transport::kTcp, Answer::Kind::kClose, false, false},
        {"close on a line", close, Transport::kSerial, Answer::Kind::kReply, false, true},
        {"corrupt", corrupt, Transport::kSerial, Answer::Kind::kReply, true, true},
        {"corrupt over TCP", corrupt, Transport::kTcp, Answer::Kind::kReply, false, true},
    };
    for (const Case& c : cases) {
        Rig rig(c.faults);
        const Answer answer = rig.Send(c.transport, 1, kWriteRated);
        EXPECT_EQ(answer.kind, c.kind) << c.what;
        EXPECT_EQ(answer.corrupt, c.corrupt) << c.what;
        EXPECT_EQ(rig.Value(151) == 50, c.executed) << c.what;
        if (c.kind == Answer::Kind::kReply && !c.executed) {
            EXPECT_EQ(answer.pdu.size, 2u);
            EXPECT_EQ(answer.pdu.bytes[0], 0x86);
            EXPECT_EQ(answer.pdu.bytes[1], 6);
        }
    }
}

TEST(Slave, SharesAreDrawnPerRequest) {
    FaultSettings faults;
    faults.dropShare = 0.3;
    Rig rig(faults);
    int answered = 0;
    for (int k = 0; k < 2000; ++k) {
        answered += rig.Send(Transport::kTcp, 1, kReadIdentity).kind == Answer::Kind::kReply ? 1 : 0;
    }
    EXPECT_GT(answered, 1250);
    EXPECT_LT(answered, 1550);
}

TEST(Slave, SilenceWindow) {
    Rig rig;
    const auto now = FaultInjector::Clock::now();
    rig.injector.Silence(now + 1h, 1s);
    EXPECT_EQ(rig.Send(Transport::kTcp, 1, kReadIdentity).kind, Answer::Kind::kReply) << "not yet";
    rig.injector.Silence(now - 1s, 1h);
    EXPECT_EQ(rig.Send(Transport::kTcp, 1, kReadIdentity).kind, Answer::Kind::kNone);
    rig.injector.Silence(now - 2h, 1h);
    EXPECT_EQ(rig.Send(Transport::kTcp, 1, kReadIdentity).kind, Answer::Kind::kReply) << "over";
}

}  // namespace
}  // namespace qav::sim
