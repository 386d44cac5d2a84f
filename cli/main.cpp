// zahlfuchs-cli: the batch front end. Start-up as the desktop program, one command, close.
#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "base/GermanFormat.h"
#include "cli/Command.h"
#include "platform/curl/CurlMailTransport.h"
#include "platform/qt/Paths.h"
#include "platform/qt/QtHttpClient.h"

using namespace zf;
using namespace zf::cli;

namespace {

void printUsage(std::ostream& out) {
    out << "Aufruf: zahlfuchs-cli [--home DIR] [--settings FILE] [--set NAME=VALUE]... [--date DD.MM.YYYY]\n"
        << "                      [--stats-start DD.MM.YYYY] COMMAND [ARGS]\n"
        << "       zahlfuchs-cli --help | --version\n"
        << "Befehle:\n";
    for (const auto& c : commands()) out << "  " << c.name << "  " << c.synopsis << "\n";
    out << "Mehr in man zahlfuchs-cli.\n";
}

int usage(const std::string& why) {
    std::cerr << "zahlfuchs-cli: " << why << "\n";
    printUsage(std::cerr);
    return 2;
}

bool isListed(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication qapp(argc, argv);
    std::vector<std::string> a(argv + 1, argv + argc);
    std::optional<std::string> home, settingsFile, date, statsStart;
    std::vector<std::pair<std::string, std::string>> sets;
    size_t i = 0;
    auto value = [&](const std::string& opt) -> std::optional<std::string> {
        if (i + 1 >= a.size()) return std::nullopt;
        (void)opt;
        return a[++i];
    };
    for (; i < a.size() && a[i].rfind("--", 0) == 0; ++i) {
        const std::string opt = a[i];
        if (opt == "--help") {
            printUsage(std::cout);
            return 0;
        }
        if (opt == "--version") {
            std::cout << "zahlfuchs-cli " << ZF_VERSION << "\n";
            return 0;
        }
        auto v = value(opt);
        if (!v) return usage(opt + " braucht einen Wert");
        if (opt == "--home")
            home = *v;
        else if (opt == "--settings")
            settingsFile = *v;
        else if (opt == "--date")
            date = *v;
        else if (opt == "--stats-start")
            statsStart = *v;
        else if (opt == "--set") {
            const auto eq = v->find('=');
            if (eq == std::string::npos || eq == 0) return usage("--set erwartet NAME=WERT");
            sets.emplace_back(v->substr(0, eq), v->substr(eq + 1));
        } else {
            return usage("unbekannte Option " + opt);
        }
    }
    if (i >= a.size()) return usage("kein Befehl angegeben");
    const std::string name = a[i++];
    const CommandEntry* entry = nullptr;
    for (const auto& c : commands())
        if (c.name == name) entry = &c;
    if (!entry) return usage("unbekannter Befehl " + name);
    auto command = entry->make();

    Args args;
    for (; i < a.size(); ++i) {
        const std::string& w = a[i];
        if (w.rfind("--", 0) == 0) {
            const std::string opt = w.substr(2);
            if (isListed(command->flagOptions(), opt)) {
                args.options[opt] = "1";
            } else if (isListed(command->valueOptions(), opt)) {
                if (i + 1 >= a.size()) return usage(w + " braucht einen Wert");
                args.options[opt] = a[++i];
            } else {
                return usage("unbekannte Option " + w + " für " + name);
            }
        } else {
            args.words.push_back(w);
        }
    }

    std::optional<double> startDate, statsDate;
    if (date && !(startDate = parseDate(*date))) return usage("--date ist kein Datum: " + *date);
    if (statsStart && !(statsDate = parseDate(*statsStart)))
        return usage("--stats-start ist kein Datum: " + *statsStart);

    auto store = std::make_unique<FileSettingsStore>(settingsFile ? *settingsFile : defaultSettingsPath());
    store->load();
    QtHttpClient http;
    Context ctx(std::move(store), std::make_unique<SystemClock>(), &http);
    ctx.session.setEventPump([] { QCoreApplication::processEvents(); });
    CurlMailTransport mailTransport;
    ctx.session.mail.setTransport(&mailTransport);
    if (!startDate) startDate = std::floor(ctx.clock->now());

    StartOverrides overrides;
    overrides.statsStart = statsDate;
    for (const auto& [n, v] : sets) overrides.settings.emplace_back(n, v);
    const std::string homeDir = home ? *home : resolveHome(programDirectory(), userDataDirectory());
    const auto setError = ctx.app.start(homeDir, ctx.model.height, startDate, overrides);
    if (setError) return usage(*setError);
    ctx.app.applyStoredStake(); // as the window's first activation does
    for (const auto& p : ctx.app.problems()) std::cerr << "Warnung: " << p << "\n";

    int status = 0;
    try {
        status = command->run(ctx, args);
    } catch (const UsageError& e) {
        return usage(e.what());
    } catch (const std::exception& e) {
        std::cerr << "Fehler: " << e.what() << "\n";
        status = 1;
    }
    // A read-only command and a failed run leave tipps.txt as it is; the settings are never written.
    if (!ctx.app.close(false, status == 0 && command->changesTipList(), status == 0)) status = status ? status : 1;
    std::cout.flush();
    return status;
}
