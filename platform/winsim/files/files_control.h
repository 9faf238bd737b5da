#pragma once
// Test control of winsim's files: drive letters mapped to host folders, a file's last-write time
// and reported size, the local time offset, and the journal of changes on drive C:.
#include <cstdint>
#include <filesystem>
#include <map>
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

// The state of drive C: after one call that changed a file on it.
struct JournalEntry {
    std::string call;                    // "MoveFileExA", "WriteFile", ...
    std::vector<std::string> arguments;  // paths, flags and byte counts as text
    std::string result;                  // "TRUE", or the handle's value for CreateFileA
    std::map<std::string, FileSnapshot> driveC;  // by upper-cased path

    // The file's snapshot, nullptr when drive C: had no such file then. Case-insensitive.
    const FileSnapshot* Find(const std::string& windowsPath) const;
};

// Every successful call that changed a file on drive C: since the last Reset, in order.
const std::vector<JournalEntry>& FileJournal();
void ClearFileJournal();

}  // namespace winsim
