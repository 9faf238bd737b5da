// The journal of changes on drive C:: per call, only the files it changed, over the drive as the
// first call found it.
#include <sys/stat.h>

#include <cstdio>

#include "platform/winsim/files/file_system.h"

namespace winsim::fs {
namespace {

using Files = std::map<std::string, std::optional<FileSnapshot>>;

std::vector<JournalEntry>& Journal() {
    static std::vector<JournalEntry> journal;
    static const bool registered = (OnReset([] { journal.clear(); }), true);
    (void)registered;
    return journal;
}

// The host path's place on the drive whose folder is root: "C:\Dir\Name"; empty when outside.
std::string DrivePath(const host::path& root, const host::path& hostPath) {
    auto relative = hostPath.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") return {};
    std::string path = "C:";
    for (const auto& part : relative) {
        if (part != ".") path += "\\" + part.string();
    }
    return path;
}

FileSnapshot Snapshot(const std::string& path, const host::path& hostPath) {
    FileSnapshot file{path, {}, 0};
    if (std::FILE* stream = std::fopen(hostPath.c_str(), "rb")) {
        char chunk[4096];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) file.content.append(chunk, got);
        std::fclose(stream);
    }
    Location at;
    at.hostPath = hostPath;
    at.exists = true;
    file.attributes = Attributes(at);
    return file;
}

// Every file under folder, as it is now.
void AddFolder(const host::path& root, const host::path& folder, Files& files) {
    std::error_code error;
    for (const auto& entry : host::recursive_directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error)) continue;
        std::string path = DrivePath(root, entry.path());
        files[Upper(path)] = Snapshot(path, entry.path());
    }
}

// Where the drive before the call has the key, or files under it as a folder of that name: gone.
void AddRemoval(const std::shared_ptr<const DriveLayer>& before, const std::string& key, Files& files) {
    files[key] = std::nullopt;
    const std::string inside = key + "\\";
    for (const DriveLayer* layer = before.get(); layer != nullptr; layer = layer->below.get()) {
        for (auto at = layer->files.lower_bound(inside); at != layer->files.end(); ++at) {
            if (at->first.compare(0, inside.size(), inside) != 0) break;
            files.try_emplace(at->first, std::nullopt);
        }
    }
}

// Every name of the file on the drive.
void AddNamesOf(const host::path& root, const FileId& file, Files& files) {
    std::error_code error;
    for (const auto& entry : host::recursive_directory_iterator(root, error)) {
        if (!entry.is_regular_file(error) || IdOf(entry.path()) != file) continue;
        std::string path = DrivePath(root, entry.path());
        files[Upper(path)] = Snapshot(path, entry.path());
    }
}

}  // namespace

void Record(std::string call, std::vector<std::string> arguments, std::string result, std::vector<host::path> names,
            std::optional<FileId> file) {
    auto root = DriveFolder('C');
    if (!root) return;
    auto& journal = Journal();
    std::shared_ptr<const DriveLayer> before = journal.empty() ? nullptr : journal.back().changes;
    auto layer = std::make_shared<DriveLayer>();
    bool onDriveC = false;
    bool allNamesOfFile = false;
    for (const auto& name : names) {
        std::string path = DrivePath(*root, name);
        if (path.empty()) continue;
        onDriveC = true;
        std::error_code error;
        std::uint64_t links = 0;
        if (host::is_directory(name, error)) {
            AddFolder(*root, name, layer->files);
        } else if (auto id = IdOf(name, &links)) {
            layer->files[Upper(path)] = Snapshot(path, name);
            allNamesOfFile = allNamesOfFile || (id == file && links == 1);
        } else {
            AddRemoval(before, Upper(path), layer->files);
        }
    }
    if (file && !allNamesOfFile) {
        std::size_t known = layer->files.size();
        AddNamesOf(*root, *file, layer->files);
        onDriveC = onDriveC || layer->files.size() != known;
    }
    if (!onDriveC) return;
    if (journal.empty()) {
        // The first call of a journal lies over the rest of the drive as it found it.
        auto untouched = std::make_shared<DriveLayer>();
        AddFolder(*root, *root, untouched->files);
        for (const auto& [key, unused] : layer->files) untouched->files.erase(key);
        before = untouched;
    }
    layer->below = before;
    journal.push_back(JournalEntry{std::move(call), std::move(arguments), std::move(result), std::move(layer)});
}

}  // namespace winsim::fs

namespace winsim {

const FileSnapshot* JournalEntry::Find(const std::string& windowsPath) const {
    const std::string key = fs::Upper(windowsPath);
    for (const DriveLayer* layer = changes.get(); layer != nullptr; layer = layer->below.get()) {
        if (auto found = layer->files.find(key); found != layer->files.end()) {
            return found->second ? &*found->second : nullptr;
        }
    }
    return nullptr;
}

std::map<std::string, FileSnapshot> JournalEntry::DriveC() const {
    std::map<std::string, std::optional<FileSnapshot>> newest;
    for (const DriveLayer* layer = changes.get(); layer != nullptr; layer = layer->below.get()) {
        for (const auto& [key, file] : layer->files) newest.try_emplace(key, file);
    }
    std::map<std::string, FileSnapshot> drive;
    for (auto& [key, file] : newest) {
        if (file) drive.emplace(key, std::move(*file));
    }
    return drive;
}

const std::vector<JournalEntry>& FileJournal() { return fs::Journal(); }

void ClearFileJournal() { fs::Journal().clear(); }

}  // namespace winsim
