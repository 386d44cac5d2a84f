#include "ui/pages/InternetOptionsPage.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "app/Session.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

InternetOptionsPage::InternetOptionsPage(Session& session, QWidget* parent)
    : CanvasPage("TabSheet6", parent), session_(session) {
    QWidget* p = canvas();
    Model& m = session_.model;
    QFrame* proxy = panel(p, "Panel11", {8, 8, 618, 128});
    // Each caption is its field's buddy; a field writes what is typed into the model at once.
    auto field = [&](const char* labelName, const char* caption, QRect labelRect, const char* name, QRect r,
                     std::string Model::*value) {
        QLabel* l = label(proxy, labelName, caption, labelRect);
        QLineEdit* e = lineEdit(proxy, name, r);
        l->setBuddy(e);
        connect(e, &QLineEdit::textEdited, this, [&m, value](const QString& t) { m.*value = t.toStdString(); });
        return e;
    };
    proxyHost_ =
        field("Label47", "Proxy-Server", {10, 10, 130, 28}, "ProxyHostEdit", {144, 10, 300, 28}, &Model::proxyHost);
    proxyPort_ =
        field("Label48", "Porxy-Port", {10, 46, 130, 28}, "ProxyPortEdit", {144, 46, 80, 28}, &Model::proxyPort);
    downloadServer_ = field("LabelDownloadServer", "Download-Server", {236, 46, 124, 28}, "DownloadServerEdit",
                            {360, 46, 250, 28}, &Model::downloadServer);
    downloadServer_->setToolTip("Adresse des Servers, der die Ziehungen liefert (zahlen/keno.asp?Datei=JJJJMMTT.txt)");
    fee_ = field("Label49", "Bearb.gebühr:", {10, 82, 130, 28}, "Edit3", {144, 82, 80, 28}, &Model::feeText);
    label(proxy, "Label50", "EUR je Abgabe", {230, 82, 200, 28});
    writeProtocol_ =
        checkBox(p, "CheckBox16", "Abgabeprotokoll erstellen und Spieleinsätz eintragen", {8, 144, 618, 28});
    connect(writeProtocol_, &QCheckBox::toggled, this, [&m](bool on) { m.checkBoxes[16] = on; });
    buildLinks(p);
}

void InternetOptionsPage::buildLinks(QWidget* p) {
    struct Link {
        const char* introName;
        const char* intro;
        const char* name;
        std::string Model::*address; // a setting; empty stands for the help page that comes with the program
    };
    const Link links[] = {
        {"Label51", "Zahlfuchs im Internet:", "Label52", &Model::productLink},
        {"Label53", "Neuigkeiten und Updates:", "Label54", &Model::newsLink},
        {"Label55", "Weitere Programme von Orvane:", "Label56", &Model::programsLink},
        {"Label62", "Hilfe und Fragen zu Zahlfuchs:", "Label63", &Model::helpLink},
        {"Label65", "Die offiziellen KENO-Seiten:", "Label66", &Model::kenoLink},
    };
    QFrame* linkPanel = panel(p, "Panel12", {8, 180, 618, 300});
    QFont underlined = pageFont(kPagePoints);
    underlined.setUnderline(true);
    int y = 10;
    for (const Link& l : links) {
        label(linkPanel, l.introName, QString::fromUtf8(l.intro), {10, y, 598, 24});
        QLabel* link = label(linkPanel, l.name, {}, {28, y + 24, 580, 26});
        links_.emplace_back(link, l.address);
        link->setCursor(Qt::PointingHandCursor);
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, pal.color(QPalette::Link));
        link->setPalette(pal);
        setDesignFont(link, underlined);
        // A link opens the address it shows.
        onClick(link, [this, link] { session_.services.shell.open(link->text().toStdString()); });
        y += 56;
    }
}

void InternetOptionsPage::refresh(unsigned what) {
    if (!(what & ChangeOptions)) return;
    const Model& m = session_.model;
    setText(proxyHost_, m.proxyHost);
    setText(proxyPort_, m.proxyPort);
    setText(fee_, m.feeText);
    setText(downloadServer_, m.downloadServer);
    setChecked(writeProtocol_, m.on(Opt::WriteProtocol));
    for (const auto& [link, address] : links_) {
        const QString text = QString::fromStdString(m.linkTarget(m.*address));
        link->setText(text);
        link->setToolTip(text);
    }
}

} // namespace zf::ui
