#pragma once

#include <filesystem>
#include <string>

namespace vell {

// The one writer of a working folder. A program that writes the folder's files (book.dat, the
// weights, the logs) holds an advisory lock on its lock file while it runs; the system releases
// it when the program ends in any way, so a crash never leaves the folder locked. Readers
// never take it: every whole-file write is renamed into place, so they see old or new files.
class FolderLock {
  public:
    // Tries to lock `dir` for `name` (who the lock is for, as another program will name it,
    // e.g. "vellcli selfplay"); the process id is added. Never blocks.
    FolderLock(const std::filesystem::path& dir, const std::string& name);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Whether this program now writes the folder.
    bool Held() const { return fd >= 0; }
    // When not held, who holds the lock ("vellcli selfplay (pid 1234)") or why it could not be
    // taken; one line.
    const std::string& Refusal() const { return refusal; }
    // When another program holds the lock, who ("vellcli selfplay (pid 1234)"); else empty.
    const std::string& Holder() const { return holder; }

  private:
    int fd = -1;
    std::string refusal;
    std::string holder;
};

// A name for a temporary file beside `file`, unique to this process, so two programs writing
// the same file never write the same temporary file.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& file);

}  // namespace vell
