#include "ui/pages/PlayersPage.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "app/Session.h"
#include "ui/widgets/DesignScale.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

PlayersPage::PlayersPage(Session& session, QWidget* parent) : CanvasPage("TabSheet7", parent), session_(session) {
    QWidget* p = canvas();
    auto* ledger = make<QTableWidget>(p, "StringGrid1");
    ledger->setColumnCount(6);
    ledger->setRowCount(49);
    ledger->setHorizontalHeaderLabels({"Spieler", "An.", "Guthaben", "Gewinne", "Einsatz", "Email-Adresse"});
    placeColumns(ledger, {93 + 16, 22 + 16, 69 + 16, 71 + 16, 63 + 16, 121 + 16});
    ledger->horizontalHeader()->setStretchLastSection(true);
    place(ledger, 8, 8, 618, 320);
    notYetBuilt(ledger);

    label(p, "Label32", "0 Spieler", {8, 332, 250, 28});
    label(p, "Label33", "0,00 €", {174, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);
    label(p, "Label34", "0,00 €", {260, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);
    label(p, "Label45", "0,00 €", {340, 332, 92, 28}, Qt::AlignRight | Qt::AlignVCenter);

    notYetBuilt(button(p, "BitBtn12", "Einsatz eintragen", {8, 366, 200, 32},
                       "Spieleinsatz auf jeden Mitspieler entsprechend seines  Anteils verteilen"));
    notYetBuilt(button(p, "BitBtn13", "Gewinn eintragen", {212, 366, 200, 32},
                       "Spielgewinn auf jeden Mitspieler entsprechend seines  Anteils verteilen"));
    notYetBuilt(button(p, "BitBtn17", "Löschen", {416, 366, 210, 32}, "Löschen des gewählten Mitspielers"));
    notYetBuilt(button(p, "BitBtn15", "Für alle Ein- oder Auszahlung", {8, 402, 306, 32},
                       "Ein- bzw. Auszahlung in das Guthaben aller Mitspieler"));
    notYetBuilt(button(p, "BitBtn16", "Ein-/Auzahlung für akt.Mitspieler", {318, 402, 308, 32},
                       "Ein- bzw. Auszahlung für das Guthaben eines Mitspielers"));
    notYetBuilt(button(p, "BitBtn14", "neu Laden", {8, 438, 140, 32}, "neu Laden der Daten"));
    notYetBuilt(button(p, "Protokoll", "Protokoll anzeigen", {152, 438, 170, 32}));
    notYetBuilt(button(p, "BitBtn18", "Email senden", {326, 438, 150, 32}));
    sendDirectly_ = checkBox(p, "CheckBox35", "Direkt senden", {484, 438, 142, 32});
    notYetBuilt(sendDirectly_);
    Model& m = session_.model;
    connect(sendDirectly_, &QCheckBox::toggled, this, [&m](bool on) { m.checkBoxes[35] = on; });
}

void PlayersPage::refresh(unsigned what) {
    if (what & ChangeOptions) setChecked(sendDirectly_, session_.model.on(Opt::SendDirectly));
}

} // namespace zf::ui
