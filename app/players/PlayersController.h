#pragma once
// The tab "Mitspieler" without its widgets: the ledger, the current player, the bookings with their
// questions, the protocol, and the players file at start and close.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Services.h"
#include "core/players/Ledger.h"

namespace zf {

class Model;

// How a booking ended: booked, nothing to do (cancelled, amount 0, answered "Nein"), or refused with a
// message (an amount or a cell that is no number, a protocol that cannot be written).
enum class BookingResult {
    Booked,
    Nothing,
    Refused
};

// The most a players file may hold: 100 000 player records.
constexpr size_t kMaxPlayersFileBytes = 344 * 100000;

class PlayersController {
public:
    PlayersController(Model& m, Services& s) : m_(m), s_(s) {}

    const Ledger& ledger() const { return ledger_; }
    LedgerTotals totals() const { return ledger_.totals(); }
    std::string splPath() const;
    std::string protocolPath() const;

    // Start-up: loads lotto.spl when it exists. Problems (unreadable, truncated) come back in German.
    std::vector<std::string> load();
    // Close: writes lotto.spl when the table changed since it was loaded. False with German reasons
    // in `failures` when it could not be stored.
    bool save(std::vector<std::string>& failures);
    bool changed() const { return dirty_; }

    // `StringGrid1SetEditText`: a cell typed into the table. A refused text gives the message.
    bool setCell(int row, int column, const std::string& text);
    // `StringGrid1SelectCell`
    void selectRow(int row);
    int currentRow() const { return currentRow_; }
    // The captions of the payment and the delete button after a selection (design texts before).
    std::string paymentCaption() const;
    std::string deleteCaption() const;

    BookingResult bookStake();          // "Einsatz eintragen" (`BitBtn12Click`), also the ticket hand-over
    BookingResult bookWinnings();       // "Gewinn eintragen" (`BitBtn13Click`)
    BookingResult bookPaymentForAll();  // `BitBtn15Click`
    BookingResult bookPaymentCurrent(); // `BitBtn16Click`
    BookingResult deleteCurrent();      // `BitBtn17Click`
    BookingResult reload();             // "neu Laden" (`BitBtn14Click`)
    void showProtocol();                // "Protokoll anzeigen"
    // One line of its own into the protocol (the ticket hand-over's); false after the message.
    bool appendLine(const std::string& line);
    // A ticket hand-over with the protocol option: its protocol line, then the stake booking with the
    // hand-over's cost proposed. Nothing is booked when the line cannot be written.
    BookingResult bookHandOver(double cost);

private:
    BookingResult book(const std::function<Booking(const Ledger&)>& make);
    std::optional<std::string> catchUp();
    bool storeLocked(const std::string& bytes, std::string& error);
    bool backUpTruncated(std::string& error);
    void tookStored(const std::string& bytes);
    bool readStored(std::string& bytes, bool& exists, std::string& error) const;
    void takeLoaded(std::string bytes);
    std::optional<double> amount(const std::string& text);
    BookingResult payment(const std::string& title, int row);
    void changedTable();

    Model& m_;
    Services& s_;
    Ledger ledger_;
    std::vector<std::string> records_; // per row: the record it was loaded from
    int currentRow_ = 1;               // `SelectZeile`
    bool selected_ = false;
    bool dirty_ = false;
    enum class FileState {
        Missing,
        Read,
        Unreadable
    };
    FileState file_ = FileState::Missing;
    std::string loadedBytes_;
    size_t trailingBytes_ = 0;
};

} // namespace zf
