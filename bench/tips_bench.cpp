// A tip list of 500 000 lines: loading it from a tip file, the hit check over it, and showing it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <filesystem>

#include "app/Model.h"
#include "app/Services.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "app/tips/TipListController.h"
#include "base/Text.h"
#include "core/tips/TipLine.h"
#include "platform/SystemClock.h"
#include "ui/widgets/TipListModels.h"

namespace {

class Quiet : public zf::Prompter, public zf::NoDialogs, public zf::Shell, public zf::SoundPlayer {
public:
    void message(const std::string&) override {}
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& p) override {
        return p;
    }
    bool open(const std::string&, const std::string&) override { return true; }
    void play(const std::string&) override {}
};

constexpr int kLines = 500000;

const std::string& tipFile() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "zf_bench";
        std::filesystem::create_directories(dir);
        std::vector<std::string> lines;
        lines.reserve(kLines);
        for (int i = 0; i < kLines; ++i) {
            std::vector<int> tip;
            for (int k = 0; k < 10; ++k) tip.push_back((i * 7 + k * 6) % 70 + 1);
            std::sort(tip.begin(), tip.end());
            tip.erase(std::unique(tip.begin(), tip.end()), tip.end());
            lines.push_back(zf::formatTipLine(tip));
        }
        const std::string p = (dir / "gross.ktf").string();
        zf::writeTextLines(p, lines);
        return p;
    }();
    return path;
}

struct World {
    Quiet quiet;
    zf::FixedClock clock{46000};
    zf::MemorySettingsStore store;
    zf::Session session{quiet, zf::dialogsOf(quiet), quiet, quiet, clock, store};
    zf::Model& m = session.model;
    zf::TipListController& tips = session.tips;
    World() {
        m.hitCheckOn = true;
        for (int i = 1; i <= 20; ++i) m.drawNumbers[static_cast<size_t>(i)] = i * 3;
    }
};

void BM_LoadTipFile(benchmark::State& state) {
    World w;
    tipFile();
    for (auto _ : state) {
        w.tips.loadTipFile(tipFile());
        benchmark::DoNotOptimize(w.m.tipLines.size());
    }
}
BENCHMARK(BM_LoadTipFile)->Unit(benchmark::kMillisecond);

void BM_HitCheck(benchmark::State& state) {
    World w;
    w.tips.loadTipFile(tipFile());
    for (auto _ : state) benchmark::DoNotOptimize(zf::checkAllTips(w.m, w.quiet));
}
BENCHMARK(BM_HitCheck)->Unit(benchmark::kMillisecond);

// The list view after the list changed: the model announces it and the view lays out what it shows.
void BM_ShowInListView(benchmark::State& state) {
    World w;
    w.tips.loadTipFile(tipFile());
    zf::ui::TipListModel model(w.m.tipLines);
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(300, 400);
    view.show();
    bool toggle = false;
    for (auto _ : state) {
        // Alternate the length so every round is a real reset, as after a load or a generator run.
        if ((toggle = !toggle))
            w.m.tipLines.pop_back();
        else
            w.m.tipLines.push_back("01,02,03");
        model.refresh();
        view.scrollToBottom();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowInListView)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
