#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/file_names.h"

namespace vell {

namespace {

// The holder's line as the holder wrote it into the lock file, or "another program".
std::string HolderOf(int fd) {
    char text[200] = {};
    const ssize_t got = pread(fd, text, sizeof text - 1, 0);
    std::string holder = got > 0 ? std::string(text, static_cast<std::size_t>(got)) : "";
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0'))
        holder.pop_back();
    return holder.empty() ? "another program" : holder;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& dir, const std::string& name) {
    const std::filesystem::path file = dir / FolderLockFileName;
    const int opened = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (opened < 0) {
        refusal = "cannot open " + file.string() + ": " + std::strerror(errno);
        return;
    }
    if (flock(opened, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            holder = HolderOf(opened);
            refusal = dir.string() + " is in use by " + holder;
        } else {
            refusal = "cannot lock " + file.string() + ": " + std::strerror(errno);
        }
        close(opened);
        return;
    }
    fd = opened;
    const std::string line = name + " (pid " + std::to_string(getpid()) + ")\n";
    if (ftruncate(fd, 0) == 0 && pwrite(fd, line.data(), line.size(), 0) < 0) {
        // Naming the holder is a courtesy to the program refused; the lock holds without it.
    }
}

FolderLock::~FolderLock() {
    if (fd >= 0) close(fd);
}

std::filesystem::path TemporaryFileFor(const std::filesystem::path& file) {
    std::filesystem::path temporary = file;
    temporary += ".";
    temporary += std::to_string(getpid());
    temporary += ".tmp";
    return temporary;
}

}  // namespace vell
