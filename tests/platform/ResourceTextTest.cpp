#include "platform/ResourceText.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

class CFakeLanguage : public ITextSource {
public:
    std::optional<std::string> Text(unsigned id) const override {
        if (id == 10018) {
            return "不明";
        }
        if (id == 99999) {
            return "only in the language";
        }
        return std::nullopt;
    }
};

// Installs a source for one test and always takes it out again.
class CInstalledSource {
public:
    explicit CInstalledSource(const ITextSource* source) { SetTextSource(source); }
    ~CInstalledSource() { SetTextSource(nullptr); }
    CInstalledSource(const CInstalledSource&) = delete;
    CInstalledSource& operator=(const CInstalledSource&) = delete;
};

TEST(ResourceText, BuiltInTextsByIdAcrossTheTable) {
    EXPECT_EQ(ResourceText(10018), "Unknown");
    EXPECT_EQ(ResourceText(57344), "Rhythmora");
    EXPECT_EQ(ResourceText(62080), "Rhythmora");
    EXPECT_EQ(ResourceText(0), std::nullopt);
    EXPECT_EQ(ResourceText(10021), std::nullopt);
    EXPECT_EQ(ResourceText(4294967295u), std::nullopt);
    EXPECT_EQ(LoadText(10019), "Invalid File!");
    EXPECT_EQ(LoadText(12345), "");
}

TEST(ResourceText, InstalledLanguageComesFirst) {
    const CFakeLanguage language;
    CInstalledSource installed(&language);
    EXPECT_EQ(LoadText(10018), "不明");
    EXPECT_EQ(LoadText(99999), "only in the language");
    EXPECT_EQ(LoadText(51017), "Write Error"); // falls back per id
    EXPECT_EQ(FindText(12345), std::nullopt);
}

} // namespace
} // namespace platform
