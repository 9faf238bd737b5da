#pragma once
// Test control of winsim's files: drive letters mapped to host folders, a file's last-write time
// and reported size, the local time offset, and the journal of changes on drive C:.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/winsim/files/files.h"

namespace winsim {

// From now on "X:\..." names files under hostFolder (which must exist). Letters are
// case-insensitive; mapping a letter again moves it.
void MapDrive(char letter, const std::filesystem::path& hostFolder);
void UnmapDrive(char letter);

// The host file a Windows path names now (its folders must exist); empty if the path is invalid.
std::filesystem::path HostPath(const std::string& windowsPath);

// Sets the last-write time that FindFirstFileA reports (and CopyFileA carries along).
bool SetLastWriteTime(const std::string& windowsPath, FILETIME time);
// Makes the file report this size without holding that many bytes; writing to it or replacing
// its content ends the pretence.
bool SetReportedSize(const std::string& windowsPath, std::uint64_t size);

// Local time = UTC + minutes, as FileTimeToLocalFileTime applies it. 0 after Reset.
void SetLocalTimeOffset(std::int32_t minutes);

struct FileSnapshot {
    std::string path;  // "C:\Dir\Name" as spelled on the drive
    std::string content;
    DWORD attributes = 0;
};

// What one call changed on drive C:, laid over the drive as it was before the call.
struct DriveLayer {
    // By upper-cased path: each file the call made, wrote, renamed or gave attributes, as the call
    // left it (every name of a file with hard links), and nullopt for each name it removed.
    std::map<std::string, std::optional<FileSnapshot>> files;
    // The drive before the call. Under the first call's layer lies the rest of drive C: as that
    // call found it, with nothing below.
    std::shared_ptr<const DriveLayer> below;
};

// One call that changed a file on drive C:, and what it changed.
struct JournalEntry {
    std::string call;                    // "MoveFileExA", "WriteFile", ...
    std::vector<std::string> arguments;  // paths, flags and byte counts as text
    std::string result;                  // "TRUE", or the handle's value for CreateFileA
    std::shared_ptr<const DriveLayer> changes;  // copies of an entry share it and stay whole

    // Drive C: after this call: the file's snapshot, nullptr when drive C: had no such file then.
    // Case-insensitive. Walks back through the earlier calls' changes.
    const FileSnapshot* Find(const std::string& windowsPath) const;
    // The whole of drive C: after this call, by upper-cased path.
    std::map<std::string, FileSnapshot> DriveC() const;
};

// Every successful call that changed a file on drive C: since the last Reset, in order. Changes
// made from the host side are not calls: they show only where a later call touches those files,
// or in the drive as the first call after ClearFileJournal found it.
const std::vector<JournalEntry>& FileJournal();
void ClearFileJournal();

}  // namespace winsim
