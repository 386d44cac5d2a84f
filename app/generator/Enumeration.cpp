#include "app/generator/Enumeration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/Model.h"
#include "base/FileWriter.h"

namespace zf {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Lines between two looks at the clock while the combinations are written.
constexpr int kClockEvery = 1024;
constexpr size_t kBufferBytes = 1 << 16;

mode_t modeFor(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Splits "a,b,c," into tipp from position 1 (at most n numbers) and, when `cell` is given, appends each
// piece and its comma to it; false at a piece that is no number (one to three digits).
bool splitCombination(std::string_view text, Tipp& tipp, int n, std::string* cell) {
    size_t k = 1, from = 0;
    unsigned value = 0; // checked below: only one to three digits make a piece
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch != ',') {
            value = value * 10 + static_cast<unsigned>(ch - '0');
            continue;
        }
        // a piece ends: one to three digits
        const size_t length = i - from;
        if (length == 0 || length > 3) return false;
        for (size_t d = from; d < i; ++d)
            if (text[d] < '0' || text[d] > '9') return false;
        if (k <= static_cast<size_t>(n) && k < tipp.size()) tipp[k++] = static_cast<uint8_t>(value);
        if (cell) cell->append(text.substr(from, length + 1));
        from = i + 1;
        value = 0;
    }
    return true;
}

// The numbers of a pool as the combination file writes them.
const std::array<std::string, 71> kNumberTexts = [] {
    std::array<std::string, 71> texts;
    for (size_t x = 0; x < texts.size(); ++x) texts[x] = std::to_string(x);
    return texts;
}();

} // namespace

// A file written into a temporary name beside its target and renamed into place only by commit().
struct Enumeration::Output {
    std::string target, tmp;
    int fd = -1;
    bool failed = false;
    std::string buffer;

    explicit Output(std::string path) : target(writeTarget(path)) {
        std::string name = target + "~XXXXXX";
        std::vector<char> tmpl(name.begin(), name.end());
        tmpl.push_back('\0');
        fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
        if (fd >= 0) tmp = tmpl.data();
        failed = fd < 0;
        buffer.reserve(kBufferBytes + 1024);
    }
    ~Output() { abandon(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void line(std::string_view s) {
        buffer += s;
        buffer += "\r\n";
        if (buffer.size() >= kBufferBytes) flush();
    }
    void flush() {
        if (!failed && writeWhole(fd, buffer) != 0) failed = true;
        buffer.clear();
    }
    bool commit() {
        flush();
        if (failed || ::fchmod(fd, modeFor(target)) != 0 || ::fsync(fd) != 0) {
            abandon();
            return false;
        }
        const int fdToClose = fd;
        fd = -1;
        if (::close(fdToClose) != 0 || ::rename(tmp.c_str(), target.c_str()) != 0) {
            ::unlink(tmp.c_str());
            tmp.clear();
            return false;
        }
        tmp.clear();
        return true;
    }
    void abandon() {
        if (fd >= 0) ::close(fd);
        fd = -1;
        if (!tmp.empty()) ::unlink(tmp.c_str());
        tmp.clear();
    }
};

Enumeration::Enumeration(Model& m, Prompter& prompter) : m_(m), prompter_(prompter) {
    freeSpace = [](const std::string& folder) -> std::optional<uintmax_t> {
        std::error_code ec;
        const auto info = std::filesystem::space(folder.empty() ? "." : folder, ec);
        if (ec) return std::nullopt;
        return info.available;
    };
}

Enumeration::~Enumeration() {
    closeAll(false);
    std::free(line_);
}

std::string Enumeration::basePath(int n, int M) const {
    return m_.home + "Variation_" + std::to_string(n) + "_aus_" + std::to_string(M);
}

int64_t Enumeration::combinations(int M, int n) {
    if (n < 0 || n > M) return 0;
    if (n > M - n) n = M - n;
    int64_t c = 1;
    for (int i = 1; i <= n; ++i) {
        // c * (M - n + i) / i stays whole at every step; past INT32_MAX the exact value no longer matters.
        c = c * (M - n + i) / i;
        if (c > INT32_MAX) return int64_t{INT32_MAX} + 1;
    }
    return c;
}

uintmax_t Enumeration::bytesNeeded(int64_t K, int n) {
    // A line of the list: at most two digits a number, the commas, CR LF. Its table cell: the same with
    // the bold tags and a cell change; the row changes add a few kilobytes.
    const uintmax_t perLine = static_cast<uintmax_t>(3 * n + 1) + static_cast<uintmax_t>(3 * n + 26);
    return static_cast<uintmax_t>(K) * perLine + (1u << 16);
}

std::optional<int> Enumeration::begin(const CandidatePool& pool, int n) {
    closeAll(false);
    const int M = std::max(pool.last, 0);
    const std::string base = basePath(n, M);
    const std::string name = "Variation_" + std::to_string(n) + "_aus_" + std::to_string(M);
    const int64_t count = combinations(M, n);
    const std::string notWritten = "Variation: " + std::to_string(n) + " aus " + std::to_string(M) + " nicht erzeugt";
    if (count > INT32_MAX) {
        prompter_.message("Aus den " + std::to_string(M) + " Zahlen des Zahlenpools lassen sich mehr als " +
                          std::to_string(INT32_MAX) + " Tipps mit " + std::to_string(n) +
                          " Zahlen bilden. Wählen Sie weniger Zahlen für die Berechnung!");
        m_.setStatus(1, notWritten);
        return std::nullopt;
    }
    const uintmax_t need = bytesNeeded(count, n);
    if (const auto avail = freeSpace ? freeSpace(m_.home) : std::nullopt; avail && *avail < need) {
        prompter_.message("Für die " + std::to_string(count) + " Tipps von " + name + " werden etwa " +
                          std::to_string(need / (1024 * 1024) + 1) + " MB gebraucht, auf dem Datenträger sind nur " +
                          std::to_string(*avail / (1024 * 1024)) + " MB frei.");
        m_.setStatus(1, notWritten);
        return std::nullopt;
    }
    listLock_ = std::make_unique<FileLock>(base + ".txt");
    if (listLock_->locked()) tableLock_ = std::make_unique<FileLock>(base + ".htm");
    if (!listLock_->locked() || !tableLock_->locked()) {
        prompter_.message(listLock_->locked() ? tableLock_->error() : listLock_->error());
        closeAll(false);
        m_.setStatus(1, notWritten);
        return std::nullopt;
    }

    const int K = static_cast<int>(count);
    if (!writeCombinations(pool, n, M, K)) {
        closeAll(false);
        return std::nullopt;
    }

    auto& total = m_.num(Num::TotalTips);
    total.max = K < 500000 ? K : 500000;
    total.set(K);
    m_.totalTipsText = std::to_string(total.pos);
    m_.notify(ChangeOptions);
    m_.setStatus(0, "Variation: " + std::to_string(K));

    tablePath_ = base + ".htm";
    table_ = std::make_unique<Output>(tablePath_);
    in_ = std::fopen((base + ".txt").c_str(), "rb");
    if (in_) std::setvbuf(in_, nullptr, _IOFBF, kBufferBytes * 4);
    if (table_->failed || !in_) {
        prompter_.message("Fehler beim erzeugen der Datei: " + name + ".txt");
        closeAll(false);
        m_.setStatus(1, notWritten);
        return std::nullopt;
    }
    tableLine("<table>");
    tableLine("<tr>");
    tableLine("<td>");
    prevLine_.clear();
    firstNumber_ = pool.at(1);
    prevFirst_ = pool.at(1);
    prevSecond_ = pool.at(2);
    m_.attemptLimit = K;
    checked_ = 0;
    total_ = K;
    return K;
}

bool Enumeration::writeCombinations(const CandidatePool& pool, int n, int M, int K) {
    const std::string name = "Variation_" + std::to_string(n) + "_aus_" + std::to_string(M) + ".txt";
    Output out(basePath(n, M) + ".txt");
    if (out.failed) {
        prompter_.message("Fehler beim erzeugen der Datei: " + name);
        m_.setStatus(1, "Variation: " + std::to_string(n) + " aus " + std::to_string(M) + " nicht erzeugt");
        return false;
    }
    m_.setStatus(1, "Variation: " + std::to_string(n) + " aus " + std::to_string(M));
    if (eventPump) eventPump();

    // The position tuples in lexicographic order: the order the recursive writer produces.
    std::vector<int> pos(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) pos[static_cast<size_t>(i)] = i + 1;
    std::string line;
    auto deadline = SteadyClock::now() + slice;
    for (int written = 0; written < K;) {
        line.clear();
        for (int i = 0; i < n; ++i) {
            if (i) line += ',';
            line += kNumberTexts[static_cast<size_t>(pool.at(pos[static_cast<size_t>(i)]))];
        }
        out.line(line);
        ++written;
        int i = n - 1;
        while (i >= 0 && pos[static_cast<size_t>(i)] == M - n + 1 + i) --i;
        if (i >= 0) {
            ++pos[static_cast<size_t>(i)];
            for (int k = i + 1; k < n; ++k) pos[static_cast<size_t>(k)] = pos[static_cast<size_t>(k - 1)] + 1;
        }
        if (written % kClockEvery == 0 && SteadyClock::now() >= deadline) {
            out.flush();
            m_.setStatus(0, "Variation: " + std::to_string(written) + " von " + std::to_string(K));
            if (eventPump) eventPump();
            if (m_.runState != GeneratorRun::Running) {
                m_.setStatus(1, "Variation: " + std::to_string(n) + " aus " + std::to_string(M) +
                                    " abgebrochen, keine Datei geschrieben");
                return false;
            }
            deadline = SteadyClock::now() + slice;
        }
        if (out.failed) break;
    }
    if (!out.commit()) {
        prompter_.message("Fehler beim erzeugen der Datei: " + name);
        m_.setStatus(1, "Variation: " + std::to_string(n) + " aus " + std::to_string(M) + " nicht erzeugt");
        return false;
    }
    return true;
}

void Enumeration::tableLine(std::string_view line) {
    if (table_) table_->line(line);
}

void Enumeration::next(Tipp& tipp, int n) {
    if (!in_) return;
    const ssize_t got = ::getline(&line_, &lineCapacity_, in_);
    if (got <= 0) return; // at its end: tipp keeps its contents
    ++checked_;
    std::string_view read(line_, static_cast<size_t>(got));
    while (!read.empty() && (read.back() == '\n' || read.back() == '\r')) read.remove_suffix(1);

    if (!prevLine_.empty()) {
        // The previous combination's cell: bold when it passed, as its tip was not cleared.
        cell_.assign(tipp[1] != 0 ? "<b>" : "");
        if (splitCombination(prevLine_, tipp, n, &cell_)) {
            prevFirst_ = tipp[1];
            prevSecond_ = tipp[2];
            cell_ += "</b><br>";
            tableLine(cell_);
        }
    }
    prevLine_.assign(read);
    prevLine_ += ',';
    if (!splitCombination(prevLine_, tipp, n, nullptr)) return;
    if (prevFirst_ < tipp[1]) {
        tableLine("</td>");
        tableLine("</tr>");
        tableLine("<tr>");
        std::string empty;
        for (int v = firstNumber_; v <= prevFirst_; ++v) empty += "<td></td>";
        tableLine(empty + "<td>");
    }
    if (prevSecond_ < tipp[2]) {
        tableLine("</td>");
        tableLine("<td>");
    }
}

void Enumeration::end(bool lastPassed) { closeAll(true, lastPassed); }

void Enumeration::closeAll(bool keepTable, bool lastPassed) {
    if (in_) std::fclose(in_);
    in_ = nullptr;
    if (table_ && keepTable) {
        // The combination of the last attempt has no next one to write its cell: it gets it here.
        Tipp scratch{};
        std::string cell = lastPassed ? "<b>" : "";
        if (!prevLine_.empty() && splitCombination(prevLine_, scratch, static_cast<int>(scratch.size()) - 1, &cell))
            tableLine(cell + "</b><br>");
        prevLine_.clear();
        tableLine("</tr>");
        tableLine("</table>");
        // A table the run left early must not pass for the whole check.
        if (checked_ < total_)
            tableLine("<p>Abgebrochen: " + std::to_string(checked_) + " von " + std::to_string(total_) +
                      " Kombinationen gepr&uuml;ft</p>");
        if (!table_->commit()) {
            const auto slash = tablePath_.rfind('/');
            prompter_.message("Fehler beim erzeugen der Datei: " +
                              (slash == std::string::npos ? tablePath_ : tablePath_.substr(slash + 1)));
        }
    }
    table_.reset();
    tableLock_.reset();
    listLock_.reset();
}

} // namespace zf
