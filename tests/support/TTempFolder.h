#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its
// contents (folders a test made read-only included) when the object goes.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return root_; }
    // Path of name inside the folder, as a string.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path root_;
};

} // namespace testsupport
