#include "tools/Json.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

namespace tool {

namespace {

constexpr std::string_view kBase64Suffix = "_base64";

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

} // namespace

JsonWriter::~JsonWriter() {
    if (m_hasMember.empty())
        m_out << '\n';
}

void JsonWriter::Indent() {
    m_out << '\n';
    for (std::size_t i = 0; i < m_hasMember.size(); ++i)
        m_out << "  ";
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_hasMember.empty())
        return;
    if (m_hasMember.back())
        m_out << ',';
    m_hasMember.back() = true;
    Indent();
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    m_out << bracket;
    m_hasMember.push_back(false);
}

void JsonWriter::Close(char bracket) {
    const bool hadMember = m_hasMember.back();
    m_hasMember.pop_back();
    if (hadMember)
        Indent();
    m_out << bracket;
}

void JsonWriter::BeginObject() {
    Open('{');
}
void JsonWriter::EndObject() {
    Close('}');
}
void JsonWriter::BeginArray() {
    Open('[');
}
void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view key) {
    String(key);
    m_out << ": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    std::string text = platform::IsValidUtf8(value)
                           ? std::string(value)
                           : platform::DecodeToUtf8Lenient(value, platform::kCodePageUtf8);
    m_out << '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            m_out << "\\\"";
            break;
        case '\\':
            m_out << "\\\\";
            break;
        case '\n':
            m_out << "\\n";
            break;
        case '\r':
            m_out << "\\r";
            break;
        case '\t':
            m_out << "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                m_out << escaped;
            } else {
                m_out << c;
            }
        }
    }
    m_out << '"';
}

void JsonWriter::PathField(std::string_view key, std::string_view path) {
    Field(key, path);
    if (!platform::IsValidUtf8(path))
        Field(std::string(key) + std::string(kBase64Suffix), std::string_view(Base64(path)));
}

void JsonWriter::PathArrayField(std::string_view key, const std::vector<std::string>& paths) {
    Key(key);
    BeginArray();
    for (const std::string& path : paths)
        String(path);
    EndArray();
    if (std::all_of(paths.begin(), paths.end(),
                    [](const std::string& path) { return platform::IsValidUtf8(path); }))
        return;
    Key(std::string(key) + std::string(kBase64Suffix));
    BeginArray();
    for (const std::string& path : paths)
        String(Base64(path));
    EndArray();
}

void JsonWriter::Int(std::int64_t value) {
    BeforeValue();
    m_out << value;
}

void JsonWriter::Number(double value) {
    BeforeValue();
    // The shortest text that reads back as the same number, with a '.'
    // whatever the locale.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    m_out.write(text, result.ec == std::errc() ? result.ptr - text : 0);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out << (value ? "true" : "false");
}

} // namespace tool
