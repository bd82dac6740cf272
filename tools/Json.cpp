#include "tools/Json.h"

#include "platform/CodePage.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace tool {

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
