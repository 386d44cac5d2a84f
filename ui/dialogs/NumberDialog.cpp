#include "ui/dialogs/NumberDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "base/GermanFormat.h"
#include "base/Random.h"
#include "base/Text.h"
#include "platform/Seams.h"
#include "ui/DesignScale.h"

namespace zf::ui {
namespace {

QDate toQDate(double v) {
    const Ymd d = ymdOf(v);
    return QDate(d.year, d.month, d.day);
}

double fromQDate(const QDate& d) { return dateValue(d.year(), d.month(), d.day()); }

QColor colourOf(BoxColour c, const QPalette& pal) {
    switch (c) {
    case BoxColour::Info:
    case BoxColour::Tooltip: return pal.color(QPalette::ToolTipBase);
    case BoxColour::Yellow: return QColor(Qt::yellow);
    default: return pal.color(QPalette::Window);
    }
}

} // namespace

NumberDialog::NumberDialog(Random& random, Prompter& files, std::function<double()> today, std::function<std::string()> home,
               QWidget* parent)
    : QDialog(parent), random_(random), files_(files), today_(std::move(today)), home_(std::move(home)) {
    setObjectName("TForm6");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QFont font("DejaVu Sans", 9);
    setDesignFont(this, font);

    for (int k = 1; k <= 70; ++k) {
        auto* cb = new QCheckBox(QString::number(k), this);
        cb->setObjectName(QString("CheckBox%1").arg(k));
        cb->setAutoFillBackground(true);
        cb->setFocusPolicy(Qt::NoFocus);
        cb->installEventFilter(this);
        cb->setAttribute(Qt::WA_Hover);
        const int row = (k - 1) / 7, col = (k - 1) % 7;
        place(cb, 12 + col * 53, 10 + row * 22, 50, 20);
        boxes_[static_cast<size_t>(k)] = cb;
    }

    entry_ = new QWidget(this);
    entry_->setObjectName("EntryPanel");
    place(entry_, 0, 232, kDesignWidth, 96);
    DateTimePicker1_ = new QDateEdit(entry_);
    DateTimePicker1_->setObjectName("DateTimePicker1");
    DateTimePicker1_->setDisplayFormat("dd.MM.yyyy");
    DateTimePicker1_->setCalendarPopup(true);
    DateTimePicker1_->setMinimumDate(QDate(2004, 2, 1));
    place(DateTimePicker1_, 12, 8, 120, 26);
    Label1_ = new QLabel("Gewinnzahl Plus 5:", entry_);
    Label1_->setObjectName("Label1");
    place(Label1_, 12, 48, 130, 24);
    for (int i = 0; i < 5; ++i) {
        auto* sb = new QSpinBox(entry_);
        sb->setObjectName(QString("UpDown%1").arg(i + 3));
        sb->setRange(0, 9);
        place(sb, 148 + i * 46, 46, 42, 26);
        digits_[static_cast<size_t>(i)] = sb;
    }
    entry_->hide();

    auto makeButton = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1_ = makeButton("BitBtn1", "OK");
    BitBtn1_->setDefault(true);
    BitBtn3_ = makeButton("BitBtn3", "&Rechnen");
    BitBtn2_ = makeButton("BitBtn2", "Abbrechen");
    BitBtn4_ = makeButton("BitBtn4", "&Zufall");
    SpeedButton1_ = new QToolButton(this);
    SpeedButton1_->setObjectName("SpeedButton1");
    SpeedButton1_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton1_->setToolTip("Speichern der Liste");
    SpeedButton2_ = new QToolButton(this);
    SpeedButton2_->setObjectName("SpeedButton2");
    SpeedButton2_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    SpeedButton2_->setToolTip("Laden der Liste");
    StatusBar1_ = new QStatusBar(this);
    StatusBar1_->setObjectName("StatusBar1");
    StatusBar1_->setSizeGripEnabled(false);

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName("Timer1");
    Timer1_->setInterval(25);

    connect(BitBtn1_, &QPushButton::clicked, this, [this] { finish(ModalResult::Ok); });
    connect(BitBtn3_, &QPushButton::clicked, this, [this] { finish(ModalResult::Retry); });
    connect(BitBtn2_, &QPushButton::clicked, this, [this] { finish(ModalResult::Abort); });
    connect(BitBtn4_, &QPushButton::clicked, this, &NumberDialog::randomClicked);
    connect(SpeedButton1_, &QToolButton::clicked, this, &NumberDialog::saveWeightListFile);
    connect(SpeedButton2_, &QToolButton::clicked, this, &NumberDialog::loadWeightListFile);
    connect(Timer1_, &QTimer::timeout, this, &NumberDialog::Timer1Timer);
    placeSize(this, kDesignWidth, kDesignHeight);
}

ModalResult NumberDialog::run(NumberChoice& state) {
    state_ = &state;
    result_ = ModalResult::Abort;
    const int extra = state.entryVisible ? kEntryExtra : 0;
    // Buttons below the boxes, or below the entry fields in the entry mode.
    const int y = 236 + extra;
    place(BitBtn1_, 12, y, 90, 28);
    place(BitBtn3_, 12, y, 90, 28); // on top of OK: the generator's pool reaches OK with Enter only
    place(BitBtn2_, 108, y, 90, 28);
    place(BitBtn4_, 204, y, 90, 28);
    place(SpeedButton1_, 316, y, 32, 28);
    place(SpeedButton2_, 352, y, 32, 28);
    place(StatusBar1_, 0, y + 34, kDesignWidth, 24);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    placeSize(this, kDesignWidth, kDesignHeight + extra);
    setFixedSize(size());
    if (state.entryVisible) {
        DateTimePicker1_->setDate(toQDate(state.entryDate));
        for (size_t i = 0; i < 5; ++i) digits_[i]->setValue(state.entryDigits[i]);
    }
    render();
    BitBtn3_->raise();
    exec();
    if (state.entryVisible) {
        state.entryDate = fromQDate(DateTimePicker1_->date());
        for (size_t i = 0; i < 5; ++i) state.entryDigits[i] = digits_[i]->value();
    }
    Timer1_->stop();
    state.closed();
    state_ = nullptr;
    return result_;
}

void NumberDialog::finish(ModalResult r) {
    result_ = r;
    Timer1_->stop();
    if (state_) state_->closed();
    if (r == ModalResult::Ok) accept();
    else done(r == ModalResult::Retry ? 2 : QDialog::Rejected);
}

void NumberDialog::closeEvent(QCloseEvent* e) {
    result_ = ModalResult::Abort;
    Timer1_->stop();
    if (state_) state_->closed();
    QDialog::closeEvent(e);
}

void NumberDialog::render() {
    if (!state_) return;
    const NumberChoice& s = *state_;
    setWindowTitle(QString::fromStdString(s.caption));
    for (int k = 1; k <= 70; ++k) {
        QCheckBox* cb = boxes_[static_cast<size_t>(k)];
        const QSignalBlocker block(cb);
        cb->setChecked(s.ticked[static_cast<size_t>(k)]);
        cb->setToolTip(QString::fromStdString(s.hint[static_cast<size_t>(k)]));
        QPalette pal = cb->palette();
        pal.setColor(QPalette::Window, colourOf(s.colour[static_cast<size_t>(k)], palette()));
        cb->setPalette(pal);
    }
    BitBtn3_->setVisible(s.computeVisible);
    BitBtn4_->setVisible(s.randomVisible);
    BitBtn4_->setText(QString::fromStdString(s.randomCaption));
    SpeedButton1_->setVisible(s.saveListVisible);
    SpeedButton2_->setVisible(s.loadListVisible);
    entry_->setVisible(s.entryVisible);
    StatusBar1_->showMessage(QString::fromStdString(s.status));
}

void NumberDialog::boxPressed(int k, bool right) {
    if (!state_) return;
    state_->mouseDown(k, right);
    render();
}

void NumberDialog::randomClicked() {
    if (!state_) return;
    state_->randomClick();
    if (state_->timerRunning) Timer1_->start();
    else Timer1_->stop();
    render();
}

void NumberDialog::Timer1Timer() {
    if (!state_) return;
    state_->timerTick(random_);
    render();
}

void NumberDialog::saveWeightListFile() {
    if (!state_) return;
    const auto path =
        files_.saveFileName({"kwl", "Werteliste|*.kwl", NumberChoice::proposedListName(today_()), home_()});
    if (!path) return;
    std::string error;
    if (!writeTextLines(*path, state_->weightListLines(), &error))
        files_.message("Die Werteliste " + *path + " konnte nicht geschrieben werden (" + error + ").");
    render();
}

void NumberDialog::loadWeightListFile() {
    if (!state_) return;
    const auto path =
        files_.openFileName({"kwl", "Werteliste|*.kwl", NumberChoice::proposedListName(today_()), home_()});
    if (!path) return;
    std::vector<std::string> lines;
    if (!readTextLines(*path, lines)) {
        files_.message("Die Werteliste " + *path + " kann nicht gelesen werden.");
        return;
    }
    if (lines.size() != 70)
        StatusBar1_->showMessage(QString("Die Werteliste hat %1 statt 70 Zeilen.").arg(lines.size()));
    state_->loadWeightList(lines);
    render();
    if (lines.size() != 70)
        StatusBar1_->showMessage(QString("Die Werteliste hat %1 statt 70 Zeilen.").arg(lines.size()));
}

bool NumberDialog::eventFilter(QObject* watched, QEvent* e) {
    auto* cb = qobject_cast<QCheckBox*>(watched);
    if (!cb || !state_) return QDialog::eventFilter(watched, e);
    const int k = cb->text().toInt();
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(e);
        boxPressed(k, me->button() == Qt::RightButton);
        return true; // the model decides the ticked state; the box only shows it
    }
    case QEvent::MouseButtonRelease:
        return true;
    case QEvent::Enter:
    case QEvent::HoverMove:
        state_->hover(k);
        StatusBar1_->showMessage(QString::fromStdString(state_->status));
        return false;
    default:
        return QDialog::eventFilter(watched, e);
    }
}

} // namespace zf::ui
