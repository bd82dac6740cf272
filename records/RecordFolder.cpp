#include "records/RecordFolder.h"

#include "platform/Files.h"
#include "records/ParallelFor.h"

#include <dirent.h>
#include <sys/stat.h>
#include <utility>

namespace records {

namespace {

class DirHandle {
public:
    explicit DirHandle(const std::string& path) : m_dir(::opendir(path.c_str())) {}
    ~DirHandle() {
        if (m_dir != nullptr) {
            ::closedir(m_dir);
        }
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* Get() const { return m_dir; }

private:
    DIR* m_dir;
};

// Only regular files can be records. A symbolic link counts as what it points
// to, so a link to a folder is skipped like the folder itself. Leaving out
// devices and FIFOs here also keeps the check from opening them at all.
bool IsFileEntry(const dirent& entry, const std::string& path) {
    if (entry.d_type == DT_REG) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::vector<std::unique_ptr<CECGContentsData>> GatherRecordFolder(const std::string& folder) {
    std::vector<std::unique_ptr<CECGContentsData>> records;
    if (folder.empty()) {
        return records;
    }
    std::vector<std::string> paths;
    {
        const DirHandle dir(folder);
        if (dir.Get() == nullptr) {
            return records;
        }
        while (const dirent* entry = ::readdir(dir.Get())) {
            const std::string_view name = entry->d_name;
            // A save's temporary file is never a record of its own, even
            // when it holds a complete copy.
            if (name == "." || name == ".." || platform::TemporaryTarget(name)) {
                continue;
            }
            std::string path = platform::JoinPath(folder, name);
            if (IsFileEntry(*entry, path)) {
                paths.push_back(std::move(path));
            }
        }
    }

    // Each check reads its own file; the slots keep the enumeration order.
    records.resize(paths.size());
    ParallelFor(paths.size(), [&](std::size_t i) {
        auto record = std::make_unique<CECGContentsData>();
        record->SetPath(paths[i]);
        if (record->IsValidFile()) {
            records[i] = std::move(record);
        }
    });
    std::erase(records, nullptr);
    return records;
}

void LoadAll(std::span<const std::unique_ptr<CECGContentsData>> records) {
    ParallelFor(records.size(), [records](std::size_t i) { records[i]->Load(); });
}

} // namespace records
