#pragma once
// The console report of the benchmarks that run on every code path ("…/reference", "…/generic",
// "…/avx2" at the end of the name): after the usual table, each figure on each path beside the
// reference, in the benchmark's own time unit, with how many times faster it is.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/CodePath.h"

namespace zf::bench {

// "name/reference" and so on.
inline std::string pathName(const std::string& name, CodePath path) { return name + "/" + codePathName(path); }

class PathReporter : public benchmark::ConsoleReporter {
public:
    PathReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
            // the name without its path and arguments: "BM_X/avx2/2" belongs to "BM_X"
            const std::string name = r.run_name.function_name;
            std::string path;
            for (CodePath p : {CodePath::Reference, CodePath::Generic, CodePath::Avx2}) {
                const std::string tail = std::string("/") + codePathName(p);
                if (name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
                    path = codePathName(p);
            }
            if (path.empty()) continue;
            Figure f{r.GetAdjustedRealTime(), r.GetAdjustedCPUTime(), benchmark::GetTimeUnitString(r.time_unit)};
            auto& paths = figures_[name.substr(0, name.size() - path.size() - 1)];
            // the fastest of repeated runs
            if (!paths.count(path) || f.cpu < paths[path].cpu) paths[path] = f;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        bool heading = false;
        for (const auto& [name, paths] : figures_) {
            const auto ref = paths.find(codePathName(CodePath::Reference));
            if (ref == paths.end() || paths.size() < 2) continue;
            if (!heading) {
                std::printf("\nEach path beside the reference (wall / CPU time per iteration):\n");
                heading = true;
            }
            std::printf("  %s\n", name.c_str());
            for (CodePath p : {CodePath::Reference, CodePath::Generic, CodePath::Avx2}) {
                const auto it = paths.find(codePathName(p));
                if (it == paths.end()) continue;
                const Figure& f = it->second;
                std::printf("    %-10s %10.3f / %10.3f %s", codePathName(p), f.real, f.cpu, f.unit.c_str());
                if (p != CodePath::Reference && f.real > 0 && f.cpu > 0)
                    std::printf("   %5.1f times faster (wall), %5.1f (CPU)", ref->second.real / f.real,
                                ref->second.cpu / f.cpu);
                std::printf("\n");
            }
        }
    }

private:
    struct Figure {
        double real = 0, cpu = 0;
        std::string unit;
    };
    std::map<std::string, std::map<std::string, Figure>> figures_;
};

} // namespace zf::bench
