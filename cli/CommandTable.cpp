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
std::unique_ptr<Command> makeSearchCommand();
std::unique_ptr<Command> makeBacktestCommand();
std::unique_ptr<Command> makeOddsCommand();
std::unique_ptr<Command> makeUpdateCommand();
std::unique_ptr<Command> makeAddDrawCommand();
std::unique_ptr<Command> makeExportCommand();
std::unique_ptr<Command> makeExportSingleCommand();
std::unique_ptr<Command> makeImportCommand();
std::unique_ptr<Command> makePlayersCommand();
std::unique_ptr<Command> makeBookCommand();
std::unique_ptr<Command> makeMailStatusCommand();
std::unique_ptr<Command> makeCostCommand();
std::unique_ptr<Command> makeCartCommand();
std::unique_ptr<Command> makeScriptCommand();

const std::vector<CommandEntry>& commands() {
    static const std::vector<CommandEntry> table = {
        {"draws", "jede Ziehung aus Keno.dat", makeDrawsCommand},
        {"show", "die aktuelle Ziehung", makeShowCommand},
        {"check", "Trefferprüfung der Tippliste", makeCheckCommand},
        {"delete-draw", "die aktuelle Ziehung löschen", makeDeleteDrawCommand},
        {"winnings", "Gewinne der Tippliste in der aktuellen Ziehung, dazu ihr Einsatz und was sie im Mittel gewinnt",
         makeWinningsCommand},
        {"print", "den Ausdruck Tipp.txt schreiben und zeigen", makePrintCommand},
        {"stats", "KIND [--mode wieoft|ausstehend]: eine Statistik als Diagrammdaten", makeStatsCommand},
        {"generate", "[--seed N] [--enumerate] [--pool-list DATEI.kwl]: \"Tipps berechnen\"", makeGenerateCommand},
        {"search", "[--threshold N] [--continue yes|no]: \"Tipps in DB suchen\"", makeSearchCommand},
        {"backtest",
         "NAME [--seed N] [--chance]: Test der Historie (BitBtn9, Erfolgstest, Button7 ... Button11), mit --chance "
         "dazu der Vergleich mit dem Zufall",
         makeBacktestCommand},
        {"odds", "[--type K] [--stake-item I]: die Chancen eines Tipps je Trefferzahl, Gewinne und Rückfluss",
         makeOddsCommand},
        {"update", "[--server URL]: neue Ziehungen aus dem Internet holen", makeUpdateCommand},
        {"add-draw", "--draw-date TT.MM.JJJJ --numbers N1,...,N20 --plus5 DDDDD: eine Ziehung eingeben",
         makeAddDrawCommand},
        {"export", "--layout K --from TT.MM.JJJJ --out DATEI: Ziehungen als Text exportieren", makeExportCommand},
        {"export-single", "jede Ziehung ab der aktuellen als Datei JJJJMMTT.txt", makeExportSingleCommand},
        {"import", "DATEI [--replace]: Ziehungen aus einer Textdatei übernehmen", makeImportCommand},
        {"players", "die Mitspieler-Tabelle mit ihren Summen", makePlayersCommand},
        {"book", "stake|win BETRAG, pay-all BETRAG, pay ZEILE BETRAG, delete ZEILE: eine Buchung der Mitspieler",
         makeBookCommand},
        {"mail-status", "[--send]: die Status-Email an jeden Mitspieler mit Adresse", makeMailStatusCommand},
        {"cost", "--tips N --draws-item I --stake-item I --plus5 0|1 --fee X: die Kosten der Onlineabgabe",
         makeCostCommand},
        {"cart",
         "[--template DATEI] [--digits DDDDD] [--draws-item I] [--stake-item I] [--plus5 0|1] [--seed N]: "
         "die Tipps als Warenkorb-Adressen",
         makeCartCommand},
        {"script", "--template DATEI [--digits DDDDD] ...: die Tipps als ausgefüllte Click-Scripts", makeScriptCommand},
    };
    return table;
}

} // namespace zf::cli
