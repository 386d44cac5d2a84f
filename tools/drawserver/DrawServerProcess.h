#pragma once
// Starts tools/drawserver/drawserver.py as a child process on a free port of 127.0.0.1 and stops it
// again; for the tests and the benchmark of the internet update. The child is also killed when the
// process that started it dies, so a crashed test leaves no server behind.
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zf::tools {

class DrawServerProcess {
public:
    // `script` is the path of drawserver.py; `args` its options (without --port). With `errorFile`
    // the server's standard error is appended to that file (otherwise it shares the caller's).
    DrawServerProcess(const std::string& script, const std::vector<std::string>& args,
                      const std::string& errorFile = {}) {
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) ::_exit(1);
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            if (!errorFile.empty()) {
                const int err = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
                if (err < 0) ::_exit(126);
                ::dup2(err, 2);
            }
            std::vector<std::string> words{"/usr/bin/python3", script, "--port", "0"};
            words.insert(words.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (auto& w : words) argv.push_back(w.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        std::string line;
        pollfd p{out[0], POLLIN, 0};
        while (line.find('\n') == std::string::npos && ::poll(&p, 1, 15000) > 0) {
            char buf[64];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) break;
            line.append(buf, static_cast<size_t>(n));
        }
        ::close(out[0]);
        try {
            port_ = std::stoi(line);
        } catch (...) {
            stop();
            throw std::runtime_error("drawserver did not start: " + line);
        }
    }
    ~DrawServerProcess() { stop(); }
    DrawServerProcess(const DrawServerProcess&) = delete;
    DrawServerProcess& operator=(const DrawServerProcess&) = delete;

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

} // namespace zf::tools
