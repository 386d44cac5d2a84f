// Catching up a year of draws from the stand-in download server on this machine: the whole update
// loop (request, check, append to a 7 000-draw Keno.dat, display) for 365 days.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <optional>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Services.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/draws/BundledHistory.h"
#include "app/draws/Update.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "core/draws/DrawRecord.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "tools/drawserver/DrawServerProcess.h"

namespace {

class QuietPrompter : public zf::Prompter, public zf::NoDialogs {
public:
    void message(const std::string& text) override { last = text; }
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& p) override {
        return p;
    }
    std::string last;
};

void BM_UpdateCatchUpOneYear(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "zf_update_bench";
    std::filesystem::create_directories(dir);
    const std::string keno = (dir / "Keno.dat").string();
    // The bundled history ends on 29.12.2025; locally it stops a year earlier.
    const double lastDay = zf::dateValue(2025, 12, 29);
    const auto all = zf::bundledHistory();
    size_t keep = 0;
    while (keep < all.size() / zf::kRecordSize &&
           zf::decodeRecord(all.data() + keep * zf::kRecordSize).datum <= lastDay - 365)
        ++keep;
    const std::string_view older(reinterpret_cast<const char*>(all.data()), keep * zf::kRecordSize);

    zf::tools::DrawServerProcess server(ZF_DRAWSERVER, {"--data", ZF_SOURCE_DIR "/data/keno_draws.csv"});
    QuietPrompter prompter;
    zf::NullShell shell;
    zf::NullSound sound;
    zf::FixedClock clock(lastDay + 0.9);
    zf::MemorySettingsStore store;
    zf::QtHttpClient http;
    zf::Session session(prompter, zf::dialogsOf(prompter), shell, sound, clock, store, &http);
    zf::Model& m = session.model;
    zf::UpdateController& update = *session.update;
    m.home = dir.string() + "/";
    m.hitCheckOn = true;
    m.downloadServer = server.url();
    update.pumpEvents = [] { QCoreApplication::processEvents(); };

    size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        zf::writeFileAtomic(keno, older);
        m.draws.refresh();
        state.ResumeTiming();
        update.runUpdate();
        state.PauseTiming();
        m.draws.refresh();
        added = m.draws.size() - keep;
        state.ResumeTiming();
    }
    if (!prompter.last.empty()) state.SkipWithError(prompter.last.c_str());
    state.counters["days"] = static_cast<double>(added);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_UpdateCatchUpOneYear)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
