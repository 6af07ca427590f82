#include "slave.h"

#include <cstdio>

#include "framing.h"

namespace qav::sim {

Slave::Slave(SharedRelay& relay, FaultInjector& faults, bool verbose)
    : relay_(relay), faults_(faults), verbose_(verbose) {}

void Slave::Handle(Transport transport, uint8_t unit, std::span<const uint8_t> request, Answer& answer) {
    answer.kind = Answer::Kind::kNone;
    answer.corrupt = false;
    const bool serial = transport == Transport::kSerial;
    bool answering = false;
    bool broadcast = false;
    relay_.With([&](Relay& relay) {
        if (!relay.Answering()) {
            return;
        }
        broadcast = serial && unit == 0;
        answering = unit == relay.Address() || (!serial && unit == kAnyUnit);
        if (broadcast && !request.empty() && request[0] == link::kWriteSingle) {
            AnswerRequest(relay, request, answer.pdu);
        }
    });
    if (!answering) {
        return;
    }
    const Fault fault = faults_.Decide(!serial);
    switch (fault) {
        case Fault::kSilent:
        case Fault::kDrop:
            break;
        case Fault::kClose:
            answer.kind = Answer::Kind::kClose;
            break;
        case Fault::kException:
            MakeException(request.empty() ? 0 : request[0],
                          static_cast<ExceptionCode>(faults_.Settings().exceptionCode), answer.pdu);
            answer.kind = Answer::Kind::kReply;
            break;
        case Fault::kCorrupt:
        case Fault::kNone:
            relay_.With([&](Relay& relay) { AnswerRequest(relay, request, answer.pdu); });
            answer.kind = answer.pdu.size > 0 ? Answer::Kind::kReply : Answer::Kind::kNone;
            answer.corrupt = fault == Fault::kCorrupt;
            break;
    }
    if (verbose_) {
        Log(transport, unit, request, answer, fault);
    }
}

void Slave::Log(Transport transport, uint8_t unit, std::span<const uint8_t> request, const Answer& answer,
                Fault fault) const {
    static constexpr const char* kFaultNames[] = {"",           " (silent)",    " (dropped)",
                                                  " (closing)", " (exception)", " (corrupted)"};
    const unsigned function = request.empty() ? 0 : request[0];
    const unsigned reg = request.size() >= 3 ? unsigned(request[1] << 8 | request[2]) : 0;
    const char* what = answer.kind != Answer::Kind::kReply           ? "no reply"
                       : (answer.pdu.bytes[0] & link::kExceptionBit) ? "exception"
                                                                     : "reply";
    std::fprintf(stderr, "%s unit %u function %02X register %u: %s%s\n",
                 transport == Transport::kTcp ? "tcp" : "serial", unsigned{unit}, function, reg, what,
                 kFaultNames[static_cast<int>(fault)]);
}

}  // namespace qav::sim
