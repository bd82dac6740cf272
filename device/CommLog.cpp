#include "device/CommLog.h"

#include "platform/Files.h"

#include <fcntl.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace device {
namespace {

// Generations kept per port: _00 (newest) to _10.
constexpr int kLastGeneration = 10;
constexpr std::size_t kDumpBytesPerLine = 16;

std::string_view Marker(LogKind kind) {
    switch (kind) {
    case LogKind::Info:
        return "\tInfo\t";
    case LogKind::Request:
        return "\tRequest\t";
    case LogKind::Response:
        return "\tResponse\t";
    case LogKind::Rx:
        return "\tRx\t";
    case LogKind::Tx:
        return "\tTx\t";
    case LogKind::Exception:
        return "\tException\t";
    }
    return "\tUnknow\t";
}

std::string GenerationPath(const std::string& base, int generation) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%02d.txt", generation);
    return base + suffix;
}

std::string TimeStamp(std::chrono::system_clock::time_point now) {
    const auto sinceEpoch = now.time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds).count();
    const time_t t = static_cast<time_t>(seconds.count());
    struct tm local {};
    if (localtime_r(&t, &local) == nullptr) {
        local = {};
    }
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
    return text;
}

} // namespace

CommLog& CommLog::Instance() {
    static CommLog log;
    return log;
}

CommLog::CommLog(Clock clock) : m_clock(std::move(clock)) {}

std::string CommLog::PortFileStem(std::string_view portName) {
    constexpr std::string_view kDevPrefix = "/dev/";
    if (portName.starts_with(kDevPrefix)) {
        portName.remove_prefix(kDevPrefix.size());
    }
    std::string stem(portName);
    for (char& c : stem) {
        if (c == '/') {
            c = '-';
        }
    }
    return stem;
}

void CommLog::OpenLog(std::string_view portName, const std::string& folder) {
    CloseLog();
    if (folder.empty()) {
        return;
    }
    if (!platform::CreateOneFolder(folder)) {
        return;
    }
    const std::string base = platform::JoinPath(folder, PortFileStem(portName));
    // Renaming shifts each generation up as a copy would, and the oldest
    // one falls off as its successor replaces it.
    for (int k = kLastGeneration; k >= 1; --k) {
        ::rename(GenerationPath(base, k - 1).c_str(), GenerationPath(base, k).c_str());
    }
    m_file = platform::CUniqueFd(
        ::open(GenerationPath(base, 0).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    WriteLine("--- OPEN ---", LogKind::Info);
}

void CommLog::CloseLog() {
    if (!IsOpen()) {
        return;
    }
    WriteLine("--- CLOSE ---", LogKind::Info);
    m_file.Reset();
}

void CommLog::Append(std::string_view text) {
    // Each piece goes to the file before the call returns, so the log is
    // complete up to the moment the next byte goes to the device.
    while (!text.empty()) {
        const ssize_t written = ::write(m_file.Get(), text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

void CommLog::WriteLine(std::string_view text, LogKind kind) {
    if (!IsOpen()) {
        return;
    }
    std::string line = TimeStamp(m_clock());
    line += Marker(kind);
    line += text;
    line += '\n';
    Append(line);
}

void CommLog::LogRequest(const Frame& request) {
    std::string text(request.ClassName());
    if (const auto target = request.Target()) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "\taddress(0x%06X) size(%u)",
                      static_cast<unsigned>(target->address), target->size);
        text += suffix;
    }
    WriteLine(text, LogKind::Request);
}

void CommLog::LogResponse(const IReceivable& receiver, ResponseResult result, std::uint8_t status) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "\t%.*s(%02X)",
                  static_cast<int>(ResponseResultName(result).size()),
                  ResponseResultName(result).data(), status);
    WriteLine(std::string(receiver.ClassName()) + suffix, LogKind::Response);
}

void CommLog::LogTx(std::span<const std::uint8_t> bytes) {
    LogDump(bytes, LogKind::Tx);
}

void CommLog::LogRx(std::span<const std::uint8_t> bytes) {
    LogDump(bytes, LogKind::Rx);
}

void CommLog::LogDump(std::span<const std::uint8_t> bytes, LogKind kind) {
    WriteLine("HexData\tcontinued below", kind);
    if (!IsOpen() || bytes.empty()) {
        return;
    }
    std::string dump;
    dump.reserve((bytes.size() / kDumpBytesPerLine + 1) * 64);
    char piece[32];
    for (std::size_t offset = 0; offset < bytes.size(); offset += kDumpBytesPerLine) {
        std::snprintf(piece, sizeof piece, "\t\t\t%04zX:", offset);
        dump += piece;
        const std::size_t end = std::min(bytes.size(), offset + kDumpBytesPerLine);
        for (std::size_t i = offset; i < end; ++i) {
            if (i - offset == 8) {
                dump += ' ';
            }
            std::snprintf(piece, sizeof piece, " %02X", bytes[i]);
            dump += piece;
        }
        dump += '\n';
    }
    Append(dump);
}

void CommLog::LogException(std::string_view error) {
    WriteLine(error, LogKind::Exception);
}

} // namespace device
