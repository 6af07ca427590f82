#include "modbus_tcp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "scripted_tcp_server.h"

namespace qav::test {

ModbusTcpPeer::ModbusTcpPeer(int registers) {
    context_ = modbus_new_tcp("127.0.0.1", 0);
    mapping_ = modbus_mapping_new(0, 0, registers, 0);
    if (context_ == nullptr || mapping_ == nullptr) {
        throw std::runtime_error("cannot create the libmodbus server");
    }
    for (int r = 0; r < registers; ++r) {
        mapping_->tab_registers[r] = RegisterValue(static_cast<uint16_t>(r));
    }
    listener_ = modbus_tcp_listen(context_, 1);
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (listener_ < 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot listen on the loopback interface");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

ModbusTcpPeer::~ModbusTcpPeer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        // Wakes the server thread out of accept() or out of waiting for a request.
        shutdown(listener_, SHUT_RDWR);
        if (connection_ >= 0) {
            shutdown(connection_, SHUT_RDWR);
        }
    }
    thread_.join();
    close(listener_);
    modbus_mapping_free(mapping_);
    modbus_free(context_);
}

uint16_t ModbusTcpPeer::Register(int index) const {
    std::lock_guard lock(mutex_);
    return mapping_->tab_registers[index];
}

void ModbusTcpPeer::Run() {
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    for (;;) {
        int listener = listener_;
        const int connection = modbus_tcp_accept(context_, &listener);
        {
            std::lock_guard lock(mutex_);
            if (connection < 0 || stopping_) {
                if (connection >= 0) {
                    close(connection);
                }
                return;
            }
            connection_ = connection;
        }
        for (;;) {
            const int size = modbus_receive(context_, query);
            if (size < 0) {
                break;  // the client left, or the server is stopping
            }
            std::lock_guard lock(mutex_);
            if (size > 0) {
                modbus_reply(context_, query, size, mapping_);
            }
        }
        std::lock_guard lock(mutex_);
        connection_ = -1;
        close(connection);
        if (stopping_) {
            return;
        }
    }
}

}  // namespace qav::test
