#pragma once
// A full disk for this process: writes beyond `bytes` of a file fail with EFBIG, as with ENOSPC.
#include <csignal>
#include <sys/resource.h>

namespace zf::test {

struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        // The signal would end the process; ignored, the write returns the error instead.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    rlimit old{};
};

} // namespace zf::test
