#include "app/players/PlayersController.h"

#include "app/Model.h"
#include "base/FileWriter.h"
#include "base/SystemError.h"
#include "base/Text.h"
#include "core/players/PlayersFile.h"
#include "core/players/Protocol.h"

namespace zf {

namespace {

// Another program changed the table between the question and the booking.
Booking samePlayerGone(const std::string& name, int row) {
    Booking b;
    b.error = "Der Mitspieler \"" + name + "\" steht nicht mehr in Zeile " + std::to_string(row) +
              " (die Mitspieler-Datei wurde inzwischen geändert); es wurde nichts gebucht.";
    return b;
}

} // namespace

std::string PlayersController::splPath() const { return m_.home + "lotto.spl"; }
std::string PlayersController::protocolPath() const { return m_.home + "lotto.prt"; }

void PlayersController::changedTable() {
    dirty_ = true;
    m_.notify(ChangePlayers);
}

bool PlayersController::readStored(std::string& bytes, bool& exists, std::string& error) const {
    bytes.clear();
    exists = fileExists(splPath());
    if (!exists) return true;
    return readRegularFile(splPath(), bytes, kMaxPlayersFileBytes, &error);
}

// The table as the file holds it; records that end early are kept for a backup before the next save.
void PlayersController::takeLoaded(std::string bytes) {
    PlayersContent c = decodePlayers(bytes);
    trailingBytes_ = c.trailingBytes;
    records_ = std::move(c.records);
    ledger_.setRows(std::move(c.rows));
    records_.resize(static_cast<size_t>(ledger_.rowCount()));
    loadedBytes_ = std::move(bytes);
    file_ = FileState::Read;
    dirty_ = false;
}

std::vector<std::string> PlayersController::load() {
    std::vector<std::string> problems;
    ledger_.clear();
    records_.assign(static_cast<size_t>(ledger_.rowCount()), std::string());
    loadedBytes_.clear();
    trailingBytes_ = 0;
    dirty_ = false;
    file_ = FileState::Missing;
    const std::string path = splPath();
    std::string bytes, error;
    bool exists = false;
    if (!readStored(bytes, exists, error)) {
        file_ = FileState::Unreadable;
        problems.push_back(error + " Die Mitspieler-Datei wird nicht überschrieben.");
    } else if (exists) {
        takeLoaded(std::move(bytes));
        if (trailingBytes_)
            problems.push_back("Die Mitspieler-Datei " + path + " endet mit einem unvollständigen Datensatz (" +
                               std::to_string(trailingBytes_) +
                               " Byte); vor dem nächsten Speichern wird sie als lotto.spl.bak gesichert.");
    }
    m_.notify(ChangePlayers);
    return problems;
}

// Under the players file's lock: the table is brought to what the file holds now, so that a booking
// of another program that ran meanwhile is booked on, not overwritten. Typed changes that are not
// stored yet cannot be merged with another program's: then nothing is booked.
std::optional<std::string> PlayersController::catchUp() {
    const std::string path = splPath();
    if (file_ == FileState::Unreadable)
        return "Die Mitspieler-Datei " + path +
               " konnte beim Start nicht gelesen werden und bleibt unverändert; es wurde nichts gebucht.";
    std::string bytes, error;
    bool exists = false;
    if (!readStored(bytes, exists, error)) return error + " Es wurde nichts gebucht.";
    if (exists == (file_ == FileState::Read) && bytes == loadedBytes_) return std::nullopt;
    if (dirty_)
        return "Die Mitspieler-Datei " + path +
               " wurde inzwischen von einem anderen Programm geändert; holen Sie mit \"neu Laden\" den neuen "
               "Stand. Es wurde nichts gebucht.";
    if (exists) {
        takeLoaded(std::move(bytes));
    } else {
        ledger_.clear();
        records_.assign(static_cast<size_t>(ledger_.rowCount()), std::string());
        loadedBytes_.clear();
        trailingBytes_ = 0;
        file_ = FileState::Missing;
    }
    m_.notify(ChangePlayers);
    return std::nullopt;
}

// Writes the players file; the caller holds its lock and has checked that it is the one loaded.
bool PlayersController::storeLocked(const std::string& bytes, std::string& error) {
    if (file_ == FileState::Read && bytes == loadedBytes_) {
        dirty_ = false;
        return true;
    }
    if (!backUpTruncated(error)) return false;
    if (!writeFileAtomic(splPath(), bytes, &error)) return false;
    tookStored(bytes);
    return true;
}

// A file that ended in half a record is kept as lotto.spl.bak before it is first replaced.
bool PlayersController::backUpTruncated(std::string& error) {
    if (!trailingBytes_ || writeFileAtomic(m_.home + "lotto.spl.bak", loadedBytes_, &error)) return true;
    error = "die Sicherung lotto.spl.bak konnte nicht geschrieben werden: " + error;
    return false;
}

// The rows keep the records now stored; a later save compares with these bytes.
void PlayersController::tookStored(const std::string& bytes) {
    loadedBytes_ = bytes;
    file_ = FileState::Read;
    trailingBytes_ = 0;
    PlayersContent c = decodePlayers(bytes);
    records_.assign(static_cast<size_t>(ledger_.rowCount()), std::string());
    size_t k = 0;
    for (int r = 1; r <= ledger_.rowCount(); ++r)
        if (ledger_.isPlayer(r) && k < c.records.size()) records_[static_cast<size_t>(r - 1)] = c.records[k++];
    dirty_ = false;
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
    if (file_ == FileState::Read && bytes == loadedBytes_) {
        dirty_ = false;
        return true;
    }
    // The backup and the file under one lock; the file must still be the one loaded, or another
    // program's players would go.
    FileLock lock(path);
    std::string error = lock.error();
    if (lock.locked() && backUpTruncated(error)) {
        const auto expected = file_ == FileState::Read ? std::optional<std::string>(loadedBytes_) : std::nullopt;
        switch (writeIfUnchanged(path, expected, bytes, &error)) {
        case GuardedWrite::Written:
            tookStored(bytes);
            return true;
        case GuardedWrite::ChangedMeanwhile:
            failures.push_back("Die Mitspieler-Datei " + path +
                               " wurde inzwischen von einem anderen Programm geändert und bleibt so; die Änderungen "
                               "an den Mitspielern wurden nicht gespeichert.");
            return false;
        case GuardedWrite::Failed:
            break;
        }
    }
    failures.push_back("Die Mitspieler konnten nicht nach " + path + " geschrieben werden (" + error + ").");
    return false;
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

// A booking is in lotto.spl and lotto.prt or in neither: both files stay locked from reading the table
// to the last write, the protocol lines go first and are cut off again when the table cannot be stored.
BookingResult PlayersController::book(const std::function<Booking(const Ledger&)>& make) {
    const std::string path = splPath();
    auto refuse = [&](const std::string& text) {
        s_.prompter.message(text);
        return BookingResult::Refused;
    };
    FileLock lock(path);
    if (!lock.locked()) return refuse(lock.error() + " Es wurde nichts gebucht.");
    if (auto why = catchUp()) return refuse(*why);
    Booking b = make(ledger_);
    if (!b.ok()) return refuse(b.error);
    if (b.lines.empty()) return BookingResult::Nothing;
    std::vector<std::string> records = records_;
    records.resize(b.rows.size());
    for (size_t i = 0; i < b.rows.size(); ++i)
        if (b.rows[i][ColName].empty()) records[i].clear();
    std::string bytes;
    if (auto e = encodePlayers(b.rows, records, bytes)) return refuse(*e + " Es wurde nichts gebucht.");
    ProtocolAppend protocol(protocolPath(), s_.clock.now(), b.lines);
    if (!protocol.ok()) return refuse(protocol.error());
    const Ledger before = ledger_;
    const std::vector<std::string> recordsBefore = records_;
    ledger_.setRows(b.rows);
    records_ = std::move(records);
    std::string error;
    if (!storeLocked(bytes, error)) {
        protocol.rollback();
        ledger_ = before;
        records_ = recordsBefore;
        m_.notify(ChangePlayers);
        return refuse("Die Mitspieler-Datei " + path + " kann nicht geschrieben werden (" + error +
                      "); es wurde nichts gebucht.");
    }
    m_.notify(ChangePlayers);
    return BookingResult::Booked;
}

std::optional<double> PlayersController::amount(const std::string& text) {
    const auto v = parseDecimal(text);
    if (!v) s_.prompter.message("\"" + text + "\" ist kein gültiger Betrag; es wurde nichts gebucht.");
    return v;
}

BookingResult PlayersController::bookStake() {
    const auto answer = s_.dialogs.players.stakeDialog(formatGeneral(m_.price));
    if (!answer) return BookingResult::Nothing;
    const auto v = amount(*answer);
    if (!v) return BookingResult::Refused;
    m_.price = *v;
    if (*v == 0) return BookingResult::Nothing;
    return book([&](const Ledger& l) { return l.bookStake(*v); });
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
    return book([&](const Ledger& l) { return l.bookWinnings(*v); });
}

BookingResult PlayersController::payment(const std::string& title, int row) {
    const auto answer = s_.prompter.input(title, "Ein-/Auszahlung (Auszahlung z.B.-10):", "10");
    if (!answer) return BookingResult::Nothing;
    const auto v = amount(*answer);
    if (!v) return BookingResult::Refused;
    if (*v == 0) return BookingResult::Nothing;
    const std::string name = row ? ledger_.row(row)[ColName] : std::string();
    return book([&](const Ledger& l) {
        if (!row) return l.bookPaymentForAll(*v);
        if (l.isPlayer(row) && l.row(row)[ColName] != name) return samePlayerGone(name, row);
        return l.bookPayment(row, *v);
    });
}

BookingResult PlayersController::bookPaymentForAll() { return payment("Guthaben Einzahlung/Auszahlung für alle", 0); }

BookingResult PlayersController::bookPaymentCurrent() {
    if (!ledger_.isPlayer(currentRow_)) {
        s_.prompter.message("Sie haben noch keinen Namen gewählt! Wollen Sie einen Neuen Namen eingeben, klicken Sie "
                            "in die List und Tragen Sie diesen in die erste Spalte ein und anschließen die Anteile "
                            "(z.B. 1) und das Guthaben...");
        return BookingResult::Refused;
    }
    return payment("Guthaben Einzahlung/Auszahlung für " + ledger_.row(currentRow_)[ColName], currentRow_);
}

BookingResult PlayersController::deleteCurrent() {
    // A row without a player has nothing to pay out and nothing to protocol.
    if (!ledger_.isPlayer(currentRow_)) {
        s_.prompter.message("In Zeile " + std::to_string(currentRow_) +
                            " steht kein Mitspieler; es wurde nichts gelöscht.");
        return BookingResult::Refused;
    }
    const std::string name = ledger_.row(currentRow_)[ColName];
    if (!s_.prompter.questionTitled(name + " löschen?", "Soll der Mitspieler wirklich gelöscht werden?"))
        return BookingResult::Nothing;
    const int row = currentRow_;
    return book([&](const Ledger& l) {
        if (l.row(row)[ColName] != name) return samePlayerGone(name, row);
        return l.deletePlayer(row);
    });
}

BookingResult PlayersController::reload() {
    if (!s_.prompter.questionTitled("Neu laden? Änderungen gehen verloren!", "Wollen Sie die Spielerdaten neu laden?"))
        return BookingResult::Nothing;
    // A file that cannot be read now leaves the table as it is.
    std::string probe, error;
    bool exists = false;
    if (!readStored(probe, exists, error)) {
        s_.prompter.message(error + " Die Tabelle bleibt, wie sie ist.");
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
