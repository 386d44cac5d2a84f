#include "ui/dialogs/GameOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

namespace {

const char* kTicketHint = "Erzeugt Scheinnummern die noch nie gezogen wurdenZahlenFile";

// The item whose caption is exactly the text, or -1 for a typed text.
int itemOf(const QComboBox* box) { return box->findText(box->currentText(), Qt::MatchExactly); }

} // namespace

GameOptionsDialog::GameOptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm5");
    setWindowTitle("Onlineabgabe des Tippscheins");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setDesignFont(this, QFont("DejaVu Sans", 9));

    label(this, "Label5", "Spieldauer auswählen", {16, 12, 190, 20});
    duration_ = make<QComboBox>(this, "combobox1");
    duration_->setEditable(true);
    for (const DurationItem& d : durationItems()) duration_->addItem(QString::fromUtf8(d.caption));
    place(duration_, 16, 34, 190, 28);
    label(this, "Label6", "Einsatz pro Feld", {226, 12, 190, 20});
    stake_ = make<QComboBox>(this, "ComboBox2");
    stake_->setEditable(true);
    for (const StakeItem& s : stakeItems()) stake_->addItem(QString::fromUtf8(s.caption));
    place(stake_, 226, 34, 120, 28);

    plus5_ = checkBox(this, "CheckBox3", "plus 5", {16, 80, 80, 26});
    ticketLabel_ = label(this, "Label7", "Schein:", {100, 80, 56, 26});
    ticketLabel_->setCursor(Qt::PointingHandCursor);
    ticketLabel_->setToolTip("Zufällige Schein-Nummer");
    ticketLabel_->installEventFilter(this);
    for (int i = 0; i < 5; ++i) {
        const QByteArray up = "UpDown" + QByteArray::number(i + 3), edit = "Edit" + QByteArray::number(i + 3);
        digits_[static_cast<size_t>(i)] = upDown(this, up.constData(), edit.constData(), {160 + i * 40, 79, 38, 28});
        digits_[static_cast<size_t>(i)]->setRange(0, 9);
    }
    neverDrawnButton_ = toolButton(this, "SpeedButton1", {364, 79, 28, 28}, kTicketHint);
    neverDrawnButton_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    checkButton_ = toolButton(this, "SpeedButton2", {396, 79, 28, 28}, kTicketHint);
    checkButton_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    plus5Note_ = label(this, "Plus5Note", "", {16, 112, 408, 34});
    plus5Note_->setWordWrap(true);
    QPalette notePalette = plus5Note_->palette(); // a palette, not a style sheet: the font keeps scaling
    notePalette.setColor(QPalette::WindowText, QColor(0x7a, 0x4a, 0x00));
    plus5Note_->setPalette(notePalette);

    label(this, "Label3", "Kosten:", {16, 150, 70, 26});
    cost_ = label(this, "Label4", "", {90, 150, 200, 26});
    QFont bold = designFont(this);
    bold.setBold(true);
    setDesignFont(cost_, bold);

    auto* text = label(this, "Label1",
                       "„Warenkorb“ legt die Tipps direkt in den Warenkorb des Anbieters. „Klicker“ gibt sie über das "
                       "Web-Automationsprogramm Klicker ab, das auch selbst geschriebene Script-Dateien ausführt.",
                       {16, 182, 408, 54}, Qt::AlignLeft | Qt::AlignTop);
    text->setWordWrap(true);
    auto* hidden = checkBox(this, "CheckBox5", "Schein zum Test mit anzeigen", {16, 200, 200, 24});
    hidden->hide();

    abortButton_ = button(this, "BitBtn1", "Abbrechen", {16, 246, 110, 32});
    klickerButton_ = button(this, "BitBtn3", "&Klicker", {200, 246, 110, 32});
    cartButton_ = button(this, "BitBtn2", "Warenkorb", {314, 246, 110, 32});
    for (QPushButton* b : {abortButton_, klickerButton_, cartButton_}) b->setAutoDefault(false);
    klickerButton_->setDefault(true); // Enter chooses Klicker; Esc cancels (reject)

    connect(duration_, &QComboBox::currentTextChanged, this, &GameOptionsDialog::costChanged);
    connect(stake_, &QComboBox::currentTextChanged, this, &GameOptionsDialog::costChanged);
    connect(plus5_, &QCheckBox::toggled, this, &GameOptionsDialog::costChanged);
    connect(neverDrawnButton_, &QToolButton::clicked, this, &GameOptionsDialog::neverDrawnClicked);
    connect(checkButton_, &QToolButton::clicked, this, &GameOptionsDialog::checkClicked);
    connect(abortButton_, &QPushButton::clicked, this, [this] {
        choice_ = GameChoice::Abort;
        reject();
    });
    connect(klickerButton_, &QPushButton::clicked, this, [this] {
        choice_ = GameChoice::Klicker;
        accept();
    });
    connect(cartButton_, &QPushButton::clicked, this, [this] {
        choice_ = GameChoice::Cart;
        accept();
    });
    placeSize(this, kDesignWidth, kDesignHeight);
}

GameChoice GameOptionsDialog::run(GameOptions& options, GameOptionsActions& actions) {
    options_ = &options;
    actions_ = &actions;
    choice_ = GameChoice::Abort;
    render();
    // The size of the current scale, fixed while it shows (the controls do not flow).
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    placeSize(this, kDesignWidth, kDesignHeight);
    setFixedSize(size());
    if (exec() != QDialog::Accepted) choice_ = GameChoice::Abort;
    take();
    options_->computeCost();
    options_ = nullptr;
    actions_ = nullptr;
    return choice_;
}

void GameOptionsDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    costChanged(); // FormActivate
}

bool GameOptionsDialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ticketLabel_ && e->type() == QEvent::MouseButtonRelease) {
        randomClicked();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void GameOptionsDialog::take() {
    if (!options_) return;
    GameOptions& o = *options_;
    o.durationText = duration_->currentText().toStdString();
    o.durationItem = itemOf(duration_);
    o.stakeText = stake_->currentText().toStdString();
    o.stakeItem = itemOf(stake_);
    o.plus5 = plus5_->isChecked();
    for (size_t i = 0; i < 5; ++i) o.digits[i] = digits_[i]->value();
}

void GameOptionsDialog::render() {
    if (!options_) return;
    const GameOptions& o = *options_;
    rendering_ = true;
    duration_->setCurrentIndex(o.durationItem);
    duration_->setEditText(QString::fromStdString(o.durationText));
    stake_->setCurrentIndex(o.stakeItem);
    stake_->setEditText(QString::fromStdString(o.stakeText));
    plus5_->setChecked(o.plus5);
    for (size_t i = 0; i < 5; ++i) digits_[i]->setValue(o.digits[i]);
    plus5Note_->setText(QString::fromStdString(o.plus5Note));
    plus5Note_->setVisible(!o.plus5Note.empty());
    cost_->setText(QString::fromStdString(o.costText()));
    rendering_ = false;
}

void GameOptionsDialog::costChanged() {
    if (!options_ || rendering_) return;
    take();
    options_->computeCost();
    cost_->setText(QString::fromStdString(options_->costText()));
}

void GameOptionsDialog::randomClicked() {
    if (!options_ || !actions_) return;
    take();
    actions_->randomTicket(*options_);
    render();
}

void GameOptionsDialog::neverDrawnClicked() {
    if (!options_ || !actions_) return;
    take();
    actions_->neverDrawnTicket(*options_);
    render();
}

void GameOptionsDialog::checkClicked() {
    if (!options_ || !actions_) return;
    take();
    actions_->checkTicket(*options_);
}

} // namespace zf::ui
