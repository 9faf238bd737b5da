#pragma once
// A fresh folder under the temporary folder, owned by one test: removed with everything in it when
// the owner goes, whether the test passed or failed.
#include <filesystem>
#include <string>
#include <system_error>

namespace mvorbel::testing {

class TempFolder {
 public:
    // Test processes run side by side: each claims a name no one else holds.
    explicit TempFolder(const std::string& prefix) {
        const auto temp = std::filesystem::temp_directory_path();
        int serial = 0;
        // A name another process holds, or has just let go of, is passed over.
        std::error_code taken;
        do path_ = temp / (prefix + "-" + std::to_string(++serial));
        while (!std::filesystem::create_directory(path_, taken));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Removes what the folder holds, keeping the folder itself: let go of, its name could be
    // claimed by another test process.
    void Empty() const {
        for (const auto& entry : std::filesystem::directory_iterator(path_)) std::filesystem::remove_all(entry);
    }

 private:
    std::filesystem::path path_;
};

}  // namespace mvorbel::testing
