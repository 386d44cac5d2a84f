// The one writer: links, protection, the lock between two processes, a full disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/FileWriter.h"
#include "base/SystemError.h"
#include "base/Text.h"
#include "core/draws/DrawStore.h"
#include "draws/FileSizeLimit.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;
namespace fs = std::filesystem;

namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::vector<std::string> names(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

// Another process that holds the lock of `path` until told to let go.
struct LockHolder {
    pid_t pid = -1;
    int release[2] = {-1, -1};
    explicit LockHolder(const std::string& path, const std::string& writeUnderLock = {}) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release), 0);
        std::fflush(nullptr);
        pid = ::fork();
        if (pid == 0) {
            FileLock lock(path);
            if (!writeUnderLock.empty()) (void)writeFileAtomic(path, writeUnderLock);
            char c = lock.locked() ? 'y' : 'n';
            if (::write(ready[1], &c, 1) != 1) _exit(2);
            if (::read(release[0], &c, 1) < 0) _exit(2);
            _exit(0);
        }
        char c = 0;
        EXPECT_EQ(::read(ready[0], &c, 1), 1);
        EXPECT_EQ(c, 'y');
        ::close(ready[0]);
        ::close(ready[1]);
    }
    void letGo() {
        if (pid <= 0) return;
        if (::write(release[1], "x", 1) != 1) ADD_FAILURE();
        int st = 0;
        ::waitpid(pid, &st, 0);
        pid = -1;
        ::close(release[0]);
        ::close(release[1]);
    }
    ~LockHolder() { letGo(); }
};

} // namespace

TEST(Writer, ReplacesTheTargetOfALinkAndKeepsLinkAndMode) {
    TempDir dir;
    fs::create_directory(dir.file("daten"));
    ASSERT_TRUE(writeFileAtomic(dir.file("daten/echt.dat"), "alt"));
    ::chmod(dir.file("daten/echt.dat").c_str(), 0640);
    fs::create_symlink("daten/echt.dat", dir.file("Keno.dat")); // relative, as users make them
    std::string error;
    ASSERT_TRUE(writeFileAtomic(dir.file("Keno.dat"), "neu", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.file("Keno.dat")));
    EXPECT_EQ(contents(dir.file("daten/echt.dat")), "neu");
    EXPECT_EQ(modeOf(dir.file("daten/echt.dat")), 0640u);
    EXPECT_EQ(names(dir.file("daten")), (std::vector<std::string>{"echt.dat"}));

    // A link whose target is missing gets its target written.
    fs::create_symlink(dir.file("daten/neu.txt"), dir.file("tipps.txt"));
    ASSERT_TRUE(writeTextLines(dir.file("tipps.txt"), {"1,2,3"}, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.file("tipps.txt")));
    EXPECT_EQ(contents(dir.file("daten/neu.txt")), "1,2,3\r\n");
}

TEST(Writer, RefusesAFileWithoutWritePermissionEvenForRoot) {
    TempDir dir;
    const std::vector<DrawRecord> history = {draw(2020, 1, 1), draw(2020, 1, 3)};
    writeDraws(dir.file("Keno.dat"), history);
    ::chmod(dir.file("Keno.dat").c_str(), 0444);
    const std::string before = contents(dir.file("Keno.dat"));
    DrawStore store(dir.file("Keno.dat"));
    struct Case {
        const char* name;
        std::function<bool(std::string*)> write;
    };
    const std::vector<Case> cases = {
        {"writeFileAtomic", [&](std::string* e) { return writeFileAtomic(dir.file("Keno.dat"), "x", e); }},
        {"append", [&](std::string* e) { return store.append(draw(2020, 1, 5), e); }},
        {"insert", [&](std::string* e) { return store.insertOrReplace(draw(2020, 1, 2), e); }},
        {"replace", [&](std::string* e) { return store.insertOrReplace(draw(2020, 1, 3, 9), e); }},
        {"delete", [&](std::string* e) { return store.deleteDate(dateValue(2020, 1, 1), e); }},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(c.write(&error)) << c.name;
        EXPECT_NE(error.find("schreibgeschützt"), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(contents(dir.file("Keno.dat")), before) << c.name;
        EXPECT_EQ(modeOf(dir.file("Keno.dat")), 0444u) << c.name;
    }
}

// Write permission is what the system says, not the mode bits: root's 0644 file in a folder everyone
// may write is not another user's to replace by a rename.
TEST(Writer, AFileTheUserCannotWriteIsNotReplacedWhateverItsMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a file another user cannot write";
    TempDir dir;
    const std::vector<DrawRecord> history = {draw(2020, 1, 1), draw(2020, 1, 3)};
    writeDraws(dir.file("Keno.dat"), history);
    ::chmod(dir.file("Keno.dat").c_str(), 0644);
    ::chmod(dir.path().c_str(), 0777);
    const std::string before = contents(dir.file("Keno.dat"));
    const int result = runUnprivileged([&] {
        std::string error;
        if (writeFileAtomic(dir.file("Keno.dat"), "x", &error)) return 1;
        if (error.find("schreibgeschützt") == std::string::npos) return 2;
        DrawStore store(dir.file("Keno.dat"));
        if (store.append(draw(2020, 1, 5), &error)) return 3;
        if (store.deleteDate(dateValue(2020, 1, 1), &error)) return 4;
        return mayReplace(dir.file("Keno.dat")) ? 5 : 0;
    });
    if (result == kNoUnprivilegedUser) GTEST_SKIP() << "could not give up root";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(contents(dir.file("Keno.dat")), before);
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("Keno.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
}

TEST(Writer, ASecondWriterWaitsForTheFirstAndGivesUpAfterAWhile) {
    TempDir dir;
    const std::string path = dir.file("tipps.txt");
    {
        LockHolder other(path, "vom anderen Programm");
        // Briefly: it gives up and says why, the file stays the other program's.
        FileLock brief(path, 100);
        EXPECT_FALSE(brief.locked());
        EXPECT_NE(brief.error().find("wird gerade von einem anderen Programm geschrieben"), std::string::npos)
            << brief.error();
        EXPECT_EQ(contents(path), "vom anderen Programm");
    }
    // The other program has finished: the lock is free again.
    FileLock now(path, 0);
    EXPECT_TRUE(now.locked()) << now.error();
}

TEST(Writer, AWriterWaitsUntilTheOtherProgramIsDone) {
    TempDir dir;
    const std::string path = dir.file("Keno.dat");
    LockHolder other(path, "erst");
    // A child writes meanwhile; it must wait for the lock rather than overwrite behind it.
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) _exit(writeFileAtomic(path, "dann") ? 0 : 1);
    EXPECT_EQ(contents(path), "erst");
    other.letGo();
    int st = 0;
    ASSERT_EQ(::waitpid(pid, &st, 0), pid);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    EXPECT_EQ(contents(path), "dann");
}

TEST(Writer, ALockHeldByThisProcessIsNotTakenTwice) {
    TempDir dir;
    const std::string path = dir.file("Keno.reg");
    FileLock outer(path, 0);
    ASSERT_TRUE(outer.locked());
    // Both would wait for the outer lock forever if they took a second one.
    FileLock inner(path, 0);
    EXPECT_TRUE(inner.locked());
    std::string error;
    EXPECT_TRUE(writeFileAtomic(path, "x", &error)) << error;
    EXPECT_EQ(contents(path), "x");
}

TEST(Writer, AFullDiskLeavesTheFileAndNoTemporaryFileAndNamesTheReason) {
    TempDir dir;
    const std::string path = dir.file("tipps.txt");
    ASSERT_TRUE(writeFileAtomic(path, "alt"));
    ::chmod(path.c_str(), 0600);
    std::string error;
    {
        FileSizeLimit full(10);
        EXPECT_FALSE(writeFileAtomic(path, std::string(100, 'n'), &error));
    }
    EXPECT_NE(error.find(systemReason(EFBIG)), std::string::npos) << error;
    EXPECT_EQ(contents(path), "alt");
    EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"tipps.txt"}));
    // A new file gets the usual mode; a rewritten one keeps its own.
    ASSERT_TRUE(writeFileAtomic(path, "neu"));
    EXPECT_EQ(modeOf(path), 0600u);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(writeFileAtomic(dir.file("neu.txt"), "x"));
    EXPECT_EQ(modeOf(dir.file("neu.txt")), 0666u & ~mask);
}
