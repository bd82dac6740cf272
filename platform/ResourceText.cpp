#include "platform/ResourceText.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string_view>

namespace platform {

namespace {

struct ResourceEntry {
    unsigned id;
    std::string_view text;
};

constexpr ResourceEntry kResourceTexts[] = {
#include "resources/ResourceTexts.inc"
};

constexpr bool IsStrictlyAscending() {
    return std::adjacent_find(std::begin(kResourceTexts), std::end(kResourceTexts),
                              [](const ResourceEntry& a, const ResourceEntry& b) {
                                  return a.id >= b.id;
                              }) == std::end(kResourceTexts);
}

// The look-up is a binary search, so the table must stay in id order.
static_assert(IsStrictlyAscending(),
              "resources/ResourceTexts.inc must list each id once, in ascending order");

// Workers on other threads fetch texts while the interface thread may
// install a language.
std::atomic<const ITextSource*> g_pTextSource{nullptr};

} // namespace

std::optional<std::string> ResourceText(unsigned id) {
    const auto* found = std::lower_bound(
        std::begin(kResourceTexts), std::end(kResourceTexts), id,
        [](const ResourceEntry& entry, unsigned wanted) { return entry.id < wanted; });
    if (found == std::end(kResourceTexts) || found->id != id) {
        return std::nullopt;
    }
    return std::string(found->text);
}

std::vector<unsigned> ResourceTextIds() {
    std::vector<unsigned> ids;
    ids.reserve(std::size(kResourceTexts));
    for (const ResourceEntry& entry : kResourceTexts) {
        ids.push_back(entry.id);
    }
    return ids;
}

void SetTextSource(const ITextSource* source) {
    g_pTextSource.store(source, std::memory_order_release);
}

std::optional<std::string> FindText(unsigned id) {
    if (const ITextSource* source = g_pTextSource.load(std::memory_order_acquire)) {
        if (std::optional<std::string> text = source->Text(id)) {
            return text;
        }
    }
    return ResourceText(id);
}

std::string LoadText(unsigned id) {
    return FindText(id).value_or(std::string());
}

} // namespace platform
