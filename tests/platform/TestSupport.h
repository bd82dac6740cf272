// Scratch folders and environment overrides for the platform tests: each
// test gets its own folder and leaves the process environment as it was.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace platform::test {

class CTempFolder {
public:
    CTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rhythmora-test-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
        }
        m_strPath = pattern;
    }
    ~CTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_strPath, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string File(std::string_view name) const { return m_strPath + "/" + std::string(name); }

private:
    std::string m_strPath;
};

// Sets (or with nullopt removes) one environment variable for a scope.
class CScopedEnv {
public:
    CScopedEnv(std::string name, const std::optional<std::string>& value)
        : m_strName(std::move(name)) {
        if (const char* old = std::getenv(m_strName.c_str())) {
            m_strOldValue = old;
        }
        Apply(value);
    }
    ~CScopedEnv() { Apply(m_strOldValue); }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_strName.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_strName.c_str());
        }
    }

    std::string m_strName;
    std::optional<std::string> m_strOldValue;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace platform::test
