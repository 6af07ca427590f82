// A register table standing in for the relay, and a display that writes down what it is shown.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "QAV508DLL.h"
#include "monitor_display.h"
#include "register_source.h"

namespace qav::monitor::test {

class TableSource : public RegisterSource {
public:
    std::map<int, uint16_t> registers;
    std::set<int> failing;     // blocks (by first register) that time out
    std::set<int> shortReply;  // blocks answered with one register only
    std::vector<std::pair<int, int>> reads;

    int32_t Read(int32_t, int32_t first, int32_t count, uint8_t* buffer, int32_t size, int32_t) override {
        reads.emplace_back(first, count);
        if (failing.count(first) != 0) {
            return MB_ERR_TIMEOUT;
        }
        const int32_t served = shortReply.count(first) != 0 ? 1 : count;
        if (2 * served > size) {
            return MB_ERR_BUFFER;
        }
        for (int32_t i = 0; i < served; ++i) {
            const uint16_t v = registers.count(first + i) != 0 ? registers.at(first + i) : 0;
            buffer[2 * i] = static_cast<uint8_t>(v >> 8);
            buffer[2 * i + 1] = static_cast<uint8_t>(v);
        }
        return 2 * served;
    }

    void Set32(int reg, uint32_t value) {
        registers[reg] = static_cast<uint16_t>(value >> 16);
        registers[reg + 1] = static_cast<uint16_t>(value);
    }
};

class RecordingDisplay : public MonitorDisplay {
public:
    std::vector<std::string> log;
    CurrentValues currents;
    PowerValues powers;
    RelayClock clock;
    std::vector<AlarmRow> rows;  // newest first, as the panel lists them

    void ShowCurrents(const CurrentValues& v) override {
        currents = v;
        log.push_back("currents");
    }
    void ShowVoltages(const VoltageValues&) override { log.push_back("voltages"); }
    void ShowPowers(const PowerValues& v) override {
        powers = v;
        log.push_back("powers");
    }
    void ShowEnergies(const EnergyValues&) override { log.push_back("energies"); }
    void ShowBalance(int32_t, int32_t) override { log.push_back("balance"); }
    void ShowRelayClock(const RelayClock& c) override {
        clock = c;
        log.push_back("clock");
    }
    void ShowAverages(const AverageValues&) override { log.push_back("averages"); }
    void ShowTimes(const TimeValues&) override { log.push_back("times"); }
    void ShowSensors(const SensorValues&) override { log.push_back("sensors"); }
    void ShowHeating(uint32_t, int32_t percent) override {
        log.push_back("heating " + std::to_string(percent));
    }
    void ShowStatus(uint16_t status) override { log.push_back("status " + std::to_string(status)); }
    void InsertAlarmRow(const AlarmRow& row) override {
        rows.insert(rows.begin(), row);
        log.push_back("insert " + std::to_string(row.alarm) + " " + row.value.toStdString());
    }
    void RemoveAlarmRows(int alarm) override {
        std::erase_if(rows, [&](const AlarmRow& r) { return r.alarm == alarm; });
        log.push_back("remove " + std::to_string(alarm));
    }
    void RemoveAllAlarmRows() override {
        rows.clear();
        log.push_back("remove all");
    }
    void ShowAlarmBanner(int state) override { log.push_back("banner " + std::to_string(state)); }
    void ShowAlarmReset(bool visible) override {
        log.push_back(std::string("reset ") + (visible ? "on" : "off"));
    }
    void SetRecloseRange(int32_t range) override { log.push_back("reclose " + std::to_string(range)); }
    void ShowRatedCurrent(int32_t amps) override { log.push_back("rated " + std::to_string(amps)); }
    void ShowVoltageLimits(int32_t lower, int32_t upper) override {
        log.push_back("limits " + std::to_string(lower) + " " + std::to_string(upper));
    }
    void ShowRemoteControl(bool allowed) override {
        log.push_back(std::string("remote ") + (allowed ? "on" : "off"));
    }
};

// The same for a poller running in its own thread: every call is recorded under a lock.
class LockedDisplay : public MonitorDisplay {
public:
    template <class F>
    auto Read(F f) const {
        std::lock_guard lock(mutex_);
        return f(display_);
    }

    void ShowCurrents(const CurrentValues& v) override { Locked(&MonitorDisplay::ShowCurrents, v); }
    void ShowVoltages(const VoltageValues& v) override { Locked(&MonitorDisplay::ShowVoltages, v); }
    void ShowPowers(const PowerValues& v) override { Locked(&MonitorDisplay::ShowPowers, v); }
    void ShowEnergies(const EnergyValues& v) override { Locked(&MonitorDisplay::ShowEnergies, v); }
    void ShowBalance(int32_t a, int32_t b) override { Locked(&MonitorDisplay::ShowBalance, a, b); }
    void ShowRelayClock(const RelayClock& c) override { Locked(&MonitorDisplay::ShowRelayClock, c); }
    void ShowAverages(const AverageValues& v) override { Locked(&MonitorDisplay::ShowAverages, v); }
    void ShowTimes(const TimeValues& v) override { Locked(&MonitorDisplay::ShowTimes, v); }
    void ShowSensors(const SensorValues& v) override { Locked(&MonitorDisplay::ShowSensors, v); }
    void ShowHeating(uint32_t a, int32_t p) override { Locked(&MonitorDisplay::ShowHeating, a, p); }
    void ShowStatus(uint16_t s) override { Locked(&MonitorDisplay::ShowStatus, s); }
    void InsertAlarmRow(const AlarmRow& r) override { Locked(&MonitorDisplay::InsertAlarmRow, r); }
    void RemoveAlarmRows(int a) override { Locked(&MonitorDisplay::RemoveAlarmRows, a); }
    void RemoveAllAlarmRows() override { Locked(&MonitorDisplay::RemoveAllAlarmRows); }
    void ShowAlarmBanner(int s) override { Locked(&MonitorDisplay::ShowAlarmBanner, s); }
    void ShowAlarmReset(bool v) override { Locked(&MonitorDisplay::ShowAlarmReset, v); }
    void SetRecloseRange(int32_t r) override { Locked(&MonitorDisplay::SetRecloseRange, r); }
    void ShowRatedCurrent(int32_t a) override { Locked(&MonitorDisplay::ShowRatedCurrent, a); }
    void ShowVoltageLimits(int32_t l, int32_t u) override {
        Locked(&MonitorDisplay::ShowVoltageLimits, l, u);
    }
    void ShowRemoteControl(bool a) override { Locked(&MonitorDisplay::ShowRemoteControl, a); }

private:
    template <class M, class... A>
    void Locked(M method, const A&... args) {
        std::lock_guard lock(mutex_);
        (display_.*method)(args...);
    }

    mutable std::mutex mutex_;
    RecordingDisplay display_;
};

}  // namespace qav::monitor::test
