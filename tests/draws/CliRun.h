#pragma once
// The batch program in a process of its own, so that two can run at once, or one on a full disk.
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zf::test {

// One run of `zahlfuchs-cli ARGS`. Its output (standard output and errors) comes through a pipe,
// which a file size limit does not cut short; it is small enough never to fill the pipe.
class CliRun {
public:
    explicit CliRun(const std::string& args, rlim_t fileSizeLimit = RLIM_INFINITY) {
        const std::string cmd = std::string(ZF_CLI) + " " + args;
        int fds[2];
        if (::pipe(fds) != 0) return;
        std::fflush(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::dup2(fds[1], 1) < 0 || ::dup2(fds[1], 2) < 0) _exit(126);
            ::close(fds[0]);
            ::close(fds[1]);
            if (fileSizeLimit != RLIM_INFINITY) {
                // A full disk: the write fails with EFBIG instead of ending the program.
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{};
                ::getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = fileSizeLimit;
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            ::execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fds[1]);
        fd_ = fds[0];
    }
    // The exit status once the program has ended.
    int status() {
        if (fd_ >= 0) {
            char buf[4096];
            ssize_t n;
            while ((n = ::read(fd_, buf, sizeof buf)) > 0) out_.append(buf, static_cast<size_t>(n));
            ::close(fd_);
            fd_ = -1;
        }
        if (pid_ > 0) {
            int st = 0;
            ::waitpid(pid_, &st, 0);
            status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
            pid_ = -1;
        }
        return status_;
    }
    const std::string& output() {
        status();
        return out_;
    }
    ~CliRun() { status(); }
    CliRun(const CliRun&) = delete;
    CliRun& operator=(const CliRun&) = delete;

private:
    std::string out_;
    int fd_ = -1;
    pid_t pid_ = -1;
    int status_ = -1;
};

} // namespace zf::test
