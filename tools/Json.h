// A small streaming JSON writer for the command line's --json output:
// indented, with strings escaped and invalid UTF-8 replaced. A path whose
// bytes are not UTF-8 also comes exactly, in base64, in a member of its own
// (`path_base64` beside `path`), so a script can still open the file.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}
    ~JsonWriter();

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);

    void String(std::string_view value);
    void Int(std::int64_t value);
    // A finite number.
    void Number(double value);
    void Bool(bool value);

    // The member as Field writes it, and `<key>_base64` with the exact
    // bytes when they are not UTF-8.
    void PathField(std::string_view key, std::string_view path);
    // An array of paths; `<key>_base64` lists the bytes of every element
    // when any of them is not UTF-8.
    void PathArrayField(std::string_view key, const std::vector<std::string>& paths);

    template <typename T> void Field(std::string_view key, const T& value) {
        Key(key);
        Write(value);
    }

private:
    void Write(std::string_view v) { String(v); }
    void Write(const char* v) { String(v); }
    void Write(bool v) { Bool(v); }
    void Write(double v) { Number(v); }
    void Write(int v) { Int(v); }
    void Write(unsigned v) { Int(v); }
    void Write(long v) { Int(v); }
    void Write(long long v) { Int(v); }
    void Write(unsigned long v) { Int(static_cast<std::int64_t>(v)); }

    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void Indent();

    std::ostream& m_out;
    // One entry per open container: whether it has a member yet.
    std::vector<bool> m_hasMember;
    bool m_afterKey = false;
};

} // namespace tool
