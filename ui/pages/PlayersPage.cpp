#include "ui/pages/PlayersPage.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "app/Session.h"
#include "ui/widgets/DesignScale.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

namespace {

// Names and addresses no longer than their fields in lotto.spl: the editor takes no more.
class LedgerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (index.column() == ColName) edit->setMaxLength(static_cast<int>(kMaxNameLength));
            if (index.column() == ColEmail) edit->setMaxLength(static_cast<int>(kMaxEmailLength));
        }
        return w;
    }
};

} // namespace

PlayersPage::PlayersPage(Session& session, QWidget* parent) : CanvasPage("TabSheet7", parent), session_(session) {
    QWidget* p = canvas();
    ledger_ = make<QTableWidget>(p, "StringGrid1");
    ledger_->setColumnCount(kPlayerColumns);
    ledger_->setRowCount(kLedgerRows);
    QStringList headings;
    for (const char* h : kPlayerHeadings) headings << QString::fromUtf8(h);
    ledger_->setHorizontalHeaderLabels(headings);
    placeColumns(ledger_, {93 + 16, 22 + 16, 69 + 16, 71 + 16, 63 + 16, 121 + 16});
    ledger_->horizontalHeader()->setStretchLastSection(true);
    ledger_->setItemDelegate(new LedgerDelegate(ledger_));
    ledger_->setTabKeyNavigation(true);
    ledger_->setSelectionMode(QAbstractItemView::SingleSelection);
    place(ledger_, 8, 8, 618, 320);

    totals_[0] = label(p, "Label32", "0 Spieler", {8, 332, 250, 28});
    totals_[1] = label(p, "Label33", "0,00 €", {174, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);
    totals_[2] = label(p, "Label34", "0,00 €", {260, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);
    totals_[3] = label(p, "Label45", "0,00 €", {340, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);

    PlayersController& players = session_.players;
    auto* stake = button(p, "BitBtn12", "Einsatz eintragen", {8, 366, 200, 32},
                         "Spieleinsatz auf jeden Mitspieler entsprechend seines  Anteils verteilen");
    auto* winnings = button(p, "BitBtn13", "Gewinn eintragen", {212, 366, 200, 32},
                            "Spielgewinn auf jeden Mitspieler entsprechend seines  Anteils verteilen");
    deleteCurrent_ = button(p, "BitBtn17", "Löschen", {416, 366, 210, 32}, "Löschen des gewählten Mitspielers");
    auto* payAll = button(p, "BitBtn15", "Für alle Ein- oder Auszahlung", {8, 402, 306, 32},
                          "Ein- bzw. Auszahlung in das Guthaben aller Mitspieler");
    payCurrent_ = button(p, "BitBtn16", "Ein-/Auzahlung für akt.Mitspieler", {318, 402, 308, 32},
                         "Ein- bzw. Auszahlung für das Guthaben eines Mitspielers");
    auto* reload = button(p, "BitBtn14", "neu Laden", {8, 438, 140, 32}, "neu Laden der Daten");
    auto* protocol = button(p, "Protokoll", "Protokoll anzeigen", {152, 438, 170, 32});
    sendMail_ = button(p, "BitBtn18", "Email senden", {326, 438, 150, 32});
    sendDirectly_ = checkBox(p, "CheckBox35", "Direkt senden", {484, 438, 142, 32});

    // An edit ends before a button's booking reads the table.
    auto run = [this](auto action) {
        return [this, action] {
            if (QWidget* editor = ledger_->focusWidget(); editor && editor != ledger_) ledger_->setFocus();
            action();
        };
    };
    connect(stake, &QPushButton::clicked, this, run([&players] { players.bookStake(); }));
    connect(winnings, &QPushButton::clicked, this, run([&players] { players.bookWinnings(); }));
    connect(payAll, &QPushButton::clicked, this, run([&players] { players.bookPaymentForAll(); }));
    connect(payCurrent_, &QPushButton::clicked, this, run([&players] { players.bookPaymentCurrent(); }));
    connect(deleteCurrent_, &QPushButton::clicked, this, run([&players] { players.deleteCurrent(); }));
    connect(reload, &QPushButton::clicked, this, run([&players] { players.reload(); }));
    connect(protocol, &QPushButton::clicked, this, [&players] { players.showProtocol(); });
    connect(sendMail_, &QPushButton::clicked, this, run([this] {
                sendMail_->setEnabled(false);
                session_.mail.sendStatusMails(session_.model.on(Opt::SendDirectly));
                sendMail_->setEnabled(true);
            }));

    connect(ledger_, &QTableWidget::itemChanged, this, [this, &players](QTableWidgetItem* item) {
        if (showing_) return;
        players.setCell(item->row() + 1, item->column(), item->text().toStdString());
    });
    connect(ledger_, &QTableWidget::currentCellChanged, this, [this, &players](int row, int, int, int) {
        if (!showing_ && row >= 0) players.selectRow(row + 1);
    });

    Model& m = session_.model;
    connect(sendDirectly_, &QCheckBox::toggled, this, [&m](bool on) { m.checkBoxes[35] = on; });
    showLedger();
}

void PlayersPage::showLedger() {
    const PlayersController& players = session_.players;
    const Ledger& ledger = players.ledger();
    showing_ = true;
    if (ledger_->rowCount() != ledger.rowCount()) ledger_->setRowCount(ledger.rowCount());
    for (int r = 1; r <= ledger.rowCount(); ++r) {
        for (int c = 0; c < kPlayerColumns; ++c) {
            const QString text = QString::fromStdString(ledger.row(r)[static_cast<size_t>(c)]);
            QTableWidgetItem* item = ledger_->item(r - 1, c);
            if (!item) {
                item = new QTableWidgetItem(text);
                if (c >= ColShares && c <= ColStakes) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                ledger_->setItem(r - 1, c, item);
            } else if (item->text() != text) {
                item->setText(text);
            }
        }
    }
    const LedgerTotals t = players.totals();
    totals_[0]->setText(QString::fromStdString(t.countText));
    totals_[1]->setText(QString::fromStdString(t.balanceText));
    totals_[2]->setText(QString::fromStdString(t.winningsText));
    totals_[3]->setText(QString::fromStdString(t.stakesText));
    payCurrent_->setText(QString::fromStdString(players.paymentCaption()));
    deleteCurrent_->setText(QString::fromStdString(players.deleteCaption()));
    showing_ = false;
}

void PlayersPage::refresh(unsigned what) {
    if (what & ChangeOptions) setChecked(sendDirectly_, session_.model.on(Opt::SendDirectly));
    if (what & ChangePlayers) showLedger();
}

} // namespace zf::ui
