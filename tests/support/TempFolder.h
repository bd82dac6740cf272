// Test helpers: a fresh folder for one test, removed with everything in it
// afterwards; an environment variable set for a scope; whole-file reads and
// writes for fixtures.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace testsupport {

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.good())
        ADD_FAILURE() << "cannot write " << path;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rhythmora-test-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "mkdtemp failed";
        m_strPath = pattern;
    }
    ~TempFolder() {
        // A test may have taken the write bits away; removal needs them.
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_strPath, ignored))
            if (entry.is_directory(ignored))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_strPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string File(std::string_view name) const { return m_strPath + "/" + std::string(name); }

    // Writes a file below the folder, making its sub-folders, and returns
    // its path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string path = File(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFile(path, bytes);
        return path;
    }

private:
    std::string m_strPath;
};

// Sets (or with nullopt removes) one environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value)
        : m_strName(std::move(name)) {
        if (const char* old = std::getenv(m_strName.c_str()))
            m_strOldValue = old;
        Apply(value);
    }
    ~ScopedEnv() { Apply(m_strOldValue); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value)
            ::setenv(m_strName.c_str(), value->c_str(), 1);
        else
            ::unsetenv(m_strName.c_str());
    }

    std::string m_strName;
    std::optional<std::string> m_strOldValue;
};

} // namespace testsupport
