// A grown players table of 1 000 players: a stake booking with its recount, its protocol lines and
// lotto.spl stored (what every booking does), and the save of lotto.spl at close.
#include <benchmark/benchmark.h>

#include <filesystem>

#include <unistd.h>

#include "app/Model.h"
#include "app/players/PlayersController.h"
#include "base/FileWriter.h"
#include "core/players/PlayersFile.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"

namespace {

class Quiet : public zf::Prompter, public zf::NoDialogs {
public:
    void message(const std::string&) override {}
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& p) override {
        return p;
    }
};

std::vector<zf::PlayerRow> thousandPlayers() {
    std::vector<zf::PlayerRow> rows;
    for (int i = 1; i <= 1000; ++i)
        rows.push_back({"Spieler " + std::to_string(i), std::to_string(1 + i % 3), "12,5", "3,25", "7,75",
                        "spieler" + std::to_string(i) + "@example.org"});
    return rows;
}

struct Folder {
    Folder() {
        path = std::filesystem::temp_directory_path() / ("zf_players_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// A whole booking: the players file read again under its lock, split and recount, the 1 000 protocol
// lines appended to lotto.prt and lotto.spl written, both flushed to the disk.
void BM_StakeBookingOf1000Players(benchmark::State& state) {
    Folder dir;
    std::string bytes;
    (void)zf::encodePlayers(thousandPlayers(), {}, bytes);
    zf::Model m;
    m.home = dir.path.string() + "/";
    (void)zf::writeFileAtomic(m.home + "lotto.spl", bytes);
    Quiet prompter;
    zf::NullShell shell;
    zf::NullSound sound;
    zf::SystemClock clock;
    zf::MemorySettingsStore store;
    zf::Services services{prompter, zf::dialogsOf(prompter), shell, sound, clock, store};
    zf::PlayersController players(m, services);
    (void)players.load();
    m.price = 6;
    for (auto _ : state) {
        benchmark::DoNotOptimize(players.bookStake());
        benchmark::DoNotOptimize(players.totals().balance);
    }
}
BENCHMARK(BM_StakeBookingOf1000Players)->Unit(benchmark::kMillisecond);

// The ledger alone: the split and the recount, without the protocol file.
void BM_StakeSplitAndRecountOf1000Players(benchmark::State& state) {
    zf::Ledger ledger;
    ledger.setRows(thousandPlayers());
    for (auto _ : state) {
        const zf::Booking b = ledger.bookStake(6);
        ledger.setRows(b.rows);
        benchmark::DoNotOptimize(ledger.totals().balance);
    }
}
BENCHMARK(BM_StakeSplitAndRecountOf1000Players)->Unit(benchmark::kMillisecond);

// The save at close after a booking: every record built again and the file replaced.
void BM_SaveOf1000Players(benchmark::State& state) {
    Folder dir;
    const std::string path = dir.path.string() + "/lotto.spl";
    zf::Ledger ledger;
    ledger.setRows(thousandPlayers());
    ledger.setRows(ledger.bookStake(6).rows);
    for (auto _ : state) {
        std::string bytes;
        (void)zf::encodePlayers(ledger.rows(), {}, bytes);
        benchmark::DoNotOptimize(zf::writeFileAtomic(path, bytes));
    }
}
BENCHMARK(BM_SaveOf1000Players)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
