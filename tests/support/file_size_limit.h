#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace vell::test {

// While it lives, no file this process writes may grow past `bytes` (RLIMIT_FSIZE): a write
// that crosses the limit writes what fits and then fails, as on a disk that fills up with a few
// bytes free. The signal that would end the process is ignored meanwhile.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uintmax_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved{};
    void (*previous)(int) = SIG_DFL;
};

}  // namespace vell::test
