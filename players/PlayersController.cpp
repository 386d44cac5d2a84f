#include "players/PlayersController.h"

#include "app/Model.h"
#include "base/FileWriter.h"
#include "base/Text.h"
#include "players/PlayersFile.h"
#include "players/Protocol.h"

namespace zf {

std::string PlayersController::splPath() const { return m_.home + "lotto.spl"; }
std::string PlayersController::protocolPath() const { return m_.home + "lotto.prt"; }

void PlayersController::changedTable() {
    dirty_ = true;
    m_.notify(ChangePlayers);
}

std::vector<std::string> PlayersController::load() {
    std::vector<std::string> problems;
    ledger_.clear();
    records_.clear();
    loadedBytes_.clear();
    trailingBytes_ = 0;
    dirty_ = false;
    file_ = FileState::Missing;
    const std::string path = splPath();
    if (fileExists(path)) {
        if (!readFile(path, loadedBytes_)) {
            file_ = FileState::Unreadable;
            problems.push_back("Die Mitspieler-Datei " + path +
                               " kann nicht gelesen werden; sie wird nicht überschrieben.");
        } else {
            file_ = FileState::Read;
            PlayersContent c = decodePlayers(loadedBytes_);
            trailingBytes_ = c.trailingBytes;
            if (trailingBytes_)
                problems.push_back("Die Mitspieler-Datei " + path + " endet mit einem unvollständigen Datensatz (" +
                                   std::to_string(trailingBytes_) +
                                   " Byte); vor dem nächsten Speichern wird sie als lotto.spl.bak gesichert.");
            records_ = std::move(c.records);
            ledger_.setRows(std::move(c.rows));
        }
    }
    records_.resize(static_cast<size_t>(ledger_.rowCount()));
    m_.notify(ChangePlayers);
    return problems;
}

bool PlayersController::save(std::vector<std::string>& failures) {
    if (!dirty_) return true;
    const std::string path = splPath();
    if (file_ == FileState::Unreadable) {
        failures.push_back("Die Mitspieler-Datei " + path +
                           " konnte beim Start nicht gelesen werden und bleibt unverändert; die Änderungen an den "
                           "Mitspielern wurden nicht gespeichert (sie stehen im Kontoprotokoll).");
        return false;
    }
    std::string bytes;
    if (auto e = encodePlayers(ledger_.rows(), records_, bytes)) {
        failures.push_back(*e);
        return false;
    }
    FileLock lock(path);
    if (!lock.locked()) {
        failures.push_back("Die Mitspieler konnten nicht nach " + path + " geschrieben werden (" + lock.error() + ").");
        return false;
    }
    // Under the lock: the file must still be the one the start read, or another program's players would go.
    std::string now;
    const bool exists = fileExists(path);
    if (exists != (file_ == FileState::Read) || (exists && (!readFile(path, now) || now != loadedBytes_))) {
        failures.push_back("Die Mitspieler-Datei " + path +
                           " wurde inzwischen von einem anderen Programm geändert und bleibt so; die Änderungen an "
                           "den Mitspielern wurden nicht gespeichert.");
        return false;
    }
    if (exists && bytes == loadedBytes_) {
        dirty_ = false;
        return true;
    }
    std::string error;
    if (trailingBytes_ && !writeFileAtomic(m_.home + "lotto.spl.bak", loadedBytes_, &error)) {
        failures.push_back("Die Sicherung lotto.spl.bak konnte nicht geschrieben werden (" + error +
                           "); die Mitspieler wurden nicht gespeichert.");
        return false;
    }
    if (!writeFileAtomic(path, bytes, &error)) {
        failures.push_back("Die Mitspieler konnten nicht nach " + path + " geschrieben werden (" + error + ").");
        return false;
    }
    // A second close compares with what is stored now; the rows keep their new records.
    loadedBytes_ = bytes;
    file_ = FileState::Read;
    trailingBytes_ = 0;
    PlayersContent c = decodePlayers(bytes);
    records_.assign(static_cast<size_t>(ledger_.rowCount()), std::string());
    size_t k = 0;
    for (int r = 1; r <= ledger_.rowCount(); ++r)
        if (ledger_.isPlayer(r)) records_[static_cast<size_t>(r - 1)] = c.records[k++];
    dirty_ = false;
    return true;
}

bool PlayersController::setCell(int row, int column, const std::string& text) {
    if (row >= 1 && row <= ledger_.rowCount() && ledger_.row(row)[static_cast<size_t>(column)] == text) return true;
    if (auto e = ledger_.setCell(row, column, text)) {
        s_.prompter.message(*e);
        m_.notify(ChangePlayers);
        return false;
    }
    changedTable();
    return true;
}

void PlayersController::selectRow(int row) {
    if (row < 1 || row > ledger_.rowCount()) return;
    currentRow_ = row;
    selected_ = true;
    m_.notify(ChangePlayers);
}

std::string PlayersController::paymentCaption() const {
    if (!selected_) return "Ein-/Auzahlung für akt.Mitspieler";
    return "Ein-/Auzahlung für " + ledger_.row(currentRow_)[ColName];
}

std::string PlayersController::deleteCaption() const {
    if (!selected_) return "Löschen";
    return ledger_.row(currentRow_)[ColName] + " löschen";
}

BookingResult PlayersController::commit(const Booking& b) {
    if (!b.ok()) {
        s_.prompter.message(b.error);
        return BookingResult::Refused;
    }
    if (b.lines.empty()) return BookingResult::Nothing;
    std::string error;
    if (!appendProtocol(protocolPath(), s_.clock.now(), b.lines, &error)) {
        s_.prompter.message(error);
        return BookingResult::Refused;
    }
    records_.resize(b.rows.size());
    for (size_t i = 0; i < b.rows.size(); ++i)
        if (b.rows[i][ColName].empty()) records_[i].clear();
    ledger_.setRows(b.rows);
    changedTable();
    return BookingResult::Booked;
}

std::optional<double> PlayersController::amount(const std::string& text) {
    const auto v = parseLedgerAmount(text);
    if (!v) s_.prompter.message("\"" + text + "\" ist kein gültiger Betrag; es wurde nichts gebucht.");
    return v;
}

BookingResult PlayersController::bookStake() {
    const auto answer = s_.prompter.stakeDialog(formatGeneral(m_.price));
    if (!answer) return BookingResult::Nothing;
    const auto v = amount(*answer);
    if (!v) return BookingResult::Refused;
    m_.price = *v;
    if (*v == 0) return BookingResult::Nothing;
    return commit(ledger_.bookStake(*v));
}

BookingResult PlayersController::bookWinnings() {
    const std::string proposal = formatGeneral(m_.winningsSum);
    // Cancelling the box leaves the proposal as the answer.
    const std::string answer =
        s_.prompter.input("Was haben Sie gewonnen: ", "Eintragen des Gewinnes", proposal).value_or(proposal);
    const auto v = amount(answer);
    if (!v) return BookingResult::Refused;
    m_.winningsSum = *v;
    if (*v == 0) return BookingResult::Nothing;
    return commit(ledger_.bookWinnings(*v));
}

BookingResult PlayersController::payment(const std::string& title, int row) {
    const auto answer = s_.prompter.input(title, "Ein-/Auszahlung (Auszahlung z.B.-10):", "10");
    if (!answer) return BookingResult::Nothing;
    const auto v = amount(*answer);
    if (!v) return BookingResult::Refused;
    if (*v == 0) return BookingResult::Nothing;
    return commit(row ? ledger_.bookPayment(row, *v) : ledger_.bookPaymentForAll(*v));
}

BookingResult PlayersController::bookPaymentForAll() { return payment("Guthaben Einzahlung/Auszahlung für alle", 0); }

BookingResult PlayersController::bookPaymentCurrent() {
    if (!ledger_.isPlayer(currentRow_)) {
        s_.prompter.message("Sie haben noch keinen Namen gewählt! Wollen Sie einen Neuen Namen eingeben, klicken Sie "
                            "in die List und Tragen Sie diesen in die erste Spalte ein und anschließen die Anteile "
                            "(z.B. 1) und das Guthaben...");
        return BookingResult::Nothing;
    }
    return payment("Guthaben Einzahlung/Auszahlung für " + ledger_.row(currentRow_)[ColName], currentRow_);
}

BookingResult PlayersController::deleteCurrent() {
    // A row without a player has nothing to pay out and nothing to protocol.
    if (!ledger_.isPlayer(currentRow_)) return BookingResult::Nothing;
    const std::string name = ledger_.row(currentRow_)[ColName];
    if (!s_.prompter.questionTitled(name + " löschen?", "Soll der Mitspieler wirklich gelöscht werden?"))
        return BookingResult::Nothing;
    return commit(ledger_.deletePlayer(currentRow_));
}

BookingResult PlayersController::reload() {
    if (!s_.prompter.questionTitled("Neu laden? Änderungen gehen verloren!", "Wollen Sie die Spielerdaten neu laden?"))
        return BookingResult::Nothing;
    // A file that cannot be read now leaves the table as it is.
    std::string probe;
    if (fileExists(splPath()) && !readFile(splPath(), probe)) {
        s_.prompter.message("Die Mitspieler-Datei " + splPath() +
                            " kann nicht gelesen werden; die Tabelle bleibt, wie sie ist.");
        return BookingResult::Refused;
    }
    const auto problems = load();
    if (!problems.empty()) {
        std::string text;
        for (const auto& p : problems) text += (text.empty() ? "" : "\n") + p;
        s_.prompter.message(text);
        return BookingResult::Refused;
    }
    return BookingResult::Booked;
}

void PlayersController::showProtocol() {
    const std::string path = protocolPath();
    if (!fileExists(path)) {
        s_.prompter.message("Es gibt noch kein Kontoprotokoll (" + path + ").");
        return;
    }
    if (!s_.shell.open(path)) s_.prompter.message("Das Kontoprotokoll " + path + " konnte nicht geöffnet werden.");
}

BookingResult PlayersController::bookHandOver(double cost) {
    if (!appendLine(ticketProtocolLine(cost))) return BookingResult::Refused;
    m_.price = cost;
    return bookStake();
}

bool PlayersController::appendLine(const std::string& line) {
    std::string error;
    if (appendProtocol(protocolPath(), s_.clock.now(), {line}, &error)) return true;
    s_.prompter.message(error);
    return false;
}

} // namespace zf
