#include "support/TestSupport.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <grp.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "base/Text.h"

namespace zf::test {

CommandResult runCommand(const std::string& commandLine) {
    CommandResult r;
    FILE* p = popen(commandLine.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

int runUnprivileged(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return kNoUnprivilegedUser;
    if (pid == 0) {
        if (geteuid() == 0) {
            const gid_t nobody = 65534;
            if (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, nobody) != 0 ||
                setresuid(nobody, nobody, nobody) != 0 || geteuid() == 0)
                _exit(kNoUnprivilegedUser);
        }
        const int result = body();
        std::fflush(nullptr);
        _exit(result);
    }
    int st = 0;
    if (waitpid(pid, &st, 0) != pid || !WIFEXITED(st)) return -1;
    return WEXITSTATUS(st);
}

void openToEveryone(const std::string& dir) {
    std::filesystem::permissions(dir, std::filesystem::perms::all);
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.is_regular_file())
            std::filesystem::permissions(e.path(),
                                         std::filesystem::perms::others_read | std::filesystem::perms::others_write,
                                         std::filesystem::perm_options::add);
}

TempDir::TempDir() {
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("zf_test_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(dir_, ec);
}

DrawRecord draw(int y, int m, int d, int first, std::initializer_list<int> plus5) {
    std::vector<int> numbers;
    for (int i = 0; i < 20; ++i) numbers.push_back((first - 1 + i) % 70 + 1);
    return drawWith(y, m, d, numbers, plus5);
}

DrawRecord drawWith(int y, int m, int d, const std::vector<int>& numbers, std::initializer_list<int> plus5) {
    DrawRecord r;
    r.datum = dateValue(y, m, d);
    for (size_t i = 0; i < 20 && i < numbers.size(); ++i) r.zahl[i] = static_cast<uint8_t>(numbers[i]);
    size_t i = 0;
    for (int p : plus5) r.zahl5[i++] = static_cast<uint8_t>(p);
    return r;
}

void writeDraws(const std::string& path, const std::vector<DrawRecord>& records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& r : records) {
        uint8_t buf[kRecordSize];
        encodeRecord(r, buf);
        out.write(reinterpret_cast<const char*>(buf), kRecordSize);
    }
}

std::vector<DrawRecord> readDraws(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<DrawRecord> out;
    uint8_t buf[kRecordSize];
    while (in.read(reinterpret_cast<char*>(buf), kRecordSize)) out.push_back(decodeRecord(buf));
    return out;
}

std::string contents(const std::string& path) {
    std::string s;
    return readFile(path, s) ? s : "<nicht lesbar>";
}

unsigned long long inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

} // namespace zf::test
