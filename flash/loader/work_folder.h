// The loader's work folder for unpacked firmware: private to one run (made with mkdtemp below
// $TMPDIR, else /tmp) and removed by the program itself, never following a link out of it.
#pragma once

#include <string>

namespace flash {

class CWorkFolder {
public:
    CWorkFolder() = default;
    ~CWorkFolder() { Remove(); }
    CWorkFolder(const CWorkFolder&) = delete;
    CWorkFolder& operator=(const CWorkFolder&) = delete;

    // Makes a new folder (removing one made before); false when it cannot be made.
    bool Make();
    // Removes the folder and everything below it; links are removed, not followed.
    void Remove();
    // The folder's path; empty while none is made.
    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
};

// Removes a directory tree without following symbolic links; true when it is gone.
bool RemoveTree(const std::string& path);

} // namespace flash
