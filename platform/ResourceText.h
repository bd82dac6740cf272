// The program's built-in English texts by string id, and the hook through
// which the interface language module supplies the texts in use. Every
// layer fetches user-visible texts with LoadText.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The built-in English text of an id, if the program has one.
std::optional<std::string> ResourceText(unsigned id);
// Every id that has a built-in text, ascending.
std::vector<unsigned> ResourceTextIds();

// Something that can answer texts in the current interface language.
class ITextSource {
public:
    virtual ~ITextSource() = default;
    virtual std::optional<std::string> Text(unsigned id) const = 0;
};

// Installs the language module (nullptr: built-in texts only). The source
// must outlive its installation.
void SetTextSource(const ITextSource* source);

// The text in the current language, else the built-in text.
std::optional<std::string> FindText(unsigned id);
// FindText, or an empty string for an id without any text.
std::string LoadText(unsigned id);

} // namespace platform
