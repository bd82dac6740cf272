#include "tools/TerminalText.h"

#include "platform/CodePage.h"

#include <cstdio>

namespace tool {

namespace {

// Characters a terminal may act on rather than show: C0 and C1 controls,
// DEL, and the marks that reorder the text around them.
bool IsActive(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0x200E || cp == 0x200F;
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
    char escaped[12];
    std::snprintf(escaped, sizeof escaped, format, value);
    out += escaped;
}

std::string Escape(std::string_view text, bool field) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const platform::Utf8Step step = platform::DecodeUtf8At(text, pos);
        if (!step.cp) {
            for (std::size_t i = 0; i < step.length; ++i)
                AppendEscape(out, "\\x%02x", static_cast<unsigned char>(text[pos + i]));
        } else if (const char32_t cp = *step.cp; cp == '\\' && field) {
            out += "\\\\";
        } else if ((cp == '\n' || cp == '\t') && !field) {
            out += static_cast<char>(cp);
        } else if (cp == '\n') {
            out += "\\n";
        } else if (cp == '\t') {
            out += "\\t";
        } else if (cp == '\r') {
            out += "\\r";
        } else if (IsActive(cp)) {
            AppendEscape(out, cp < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(cp));
        } else {
            out.append(text.substr(pos, step.length));
        }
        pos += step.length;
    }
    return out;
}

} // namespace

std::string TerminalField(std::string_view text) {
    return Escape(text, true);
}

std::string TerminalMessage(std::string_view text) {
    return Escape(text, false);
}

} // namespace tool
