#include "cli/Command.h"

namespace zf::cli {

std::unique_ptr<Command> makeDrawsCommand();
std::unique_ptr<Command> makeShowCommand();
std::unique_ptr<Command> makeCheckCommand();
std::unique_ptr<Command> makeDeleteDrawCommand();
std::unique_ptr<Command> makeWinningsCommand();
std::unique_ptr<Command> makePrintCommand();
std::unique_ptr<Command> makeStatsCommand();
std::unique_ptr<Command> makeGenerateCommand();

const std::vector<CommandEntry>& commands() {
    static const std::vector<CommandEntry> table = {
        {"draws", "jede Ziehung aus Keno.dat", makeDrawsCommand},
        {"show", "die aktuelle Ziehung", makeShowCommand},
        {"check", "Trefferprüfung der Tippliste", makeCheckCommand},
        {"delete-draw", "die aktuelle Ziehung löschen", makeDeleteDrawCommand},
        {"winnings", "Gewinne der Tippliste in der aktuellen Ziehung", makeWinningsCommand},
        {"print", "den Ausdruck Tipp.txt schreiben und zeigen", makePrintCommand},
        {"stats", "KIND [--mode wieoft|ausstehend]: eine Statistik als Diagrammdaten", makeStatsCommand},
        {"generate", "[--seed N] [--enumerate] [--pool-list DATEI.kwl]: \"Tipps berechnen\"", makeGenerateCommand},
    };
    return table;
}

} // namespace zf::cli
