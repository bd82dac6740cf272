// A pseudo-terminal pair for the device simulator and the tests: the master
// side that plays the device, and the path of the slave side that the
// program opens as its serial port.
#pragma once

#include "platform/UniqueFd.h"

#include <optional>
#include <string>

namespace platform {

class CPseudoTerminal {
public:
    // A new pair whose slave side is raw (no echo, no line editing), so the
    // bytes written on one side arrive unchanged on the other. nullopt when
    // the system has no pseudo-terminal left.
    static std::optional<CPseudoTerminal> Create();

    int MasterFd() const { return m_master.Get(); }
    // A descriptor of the slave side held by this object. It keeps the
    // line alive between the program's sessions (without it the master
    // sees a hang-up whenever the port is closed) and lets the owner clear
    // the exclusive flag a closed session leaves behind.
    int SlaveFd() const { return m_slave.Get(); }
    const std::string& SlavePath() const { return m_strSlavePath; }

    // Clears the line's exclusive flag when no one holds the port's lock
    // (see CSerialPort::Open). True when the flag is clear afterwards.
    bool ClearStaleExclusive();

    // Closes both sides: an open port then reads a hang-up, as when a
    // device is unplugged.
    void Close();

private:
    CPseudoTerminal() = default;

    CUniqueFd m_master;
    CUniqueFd m_slave;
    std::string m_strSlavePath;
};

} // namespace platform
