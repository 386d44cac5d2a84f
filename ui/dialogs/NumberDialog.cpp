#include "ui/dialogs/NumberDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
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
#include "core/ports/Seams.h"
#include "ui/widgets/GermanDateEdit.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {
namespace {

QColor colourOf(BoxColour c, const QPalette& pal) {
    switch (c) {
    case BoxColour::Info:
    case BoxColour::Tooltip:
        return pal.color(QPalette::ToolTipBase);
    case BoxColour::Yellow:
        return QColor(Qt::yellow);
    default:
        return pal.color(QPalette::Window);
    }
}

} // namespace

NumberDialog::NumberDialog(Random& random, Prompter& files, std::function<double()> today,
                           std::function<std::string()> home, QWidget* parent)
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

    entryPanel_ = new QWidget(this);
    entryPanel_->setObjectName("EntryPanel");
    place(entryPanel_, 0, 232, kDesignWidth, 96);
    entryDate_ = new GermanDateEdit(entryPanel_);
    entryDate_->setObjectName("DateTimePicker1");
    entryDate_->setDisplayFormat("dd.MM.yyyy");
    entryDate_->setCalendarPopup(true);
    entryDate_->setMinimumDate(QDate(2004, 2, 1));
    place(entryDate_, 12, 8, 120, 26);
    plus5Label_ = new QLabel("Gewinnzahl Plus 5:", entryPanel_);
    plus5Label_->setObjectName("Label1");
    place(plus5Label_, 12, 48, 130, 24);
    for (int i = 0; i < 5; ++i) {
        auto* sb = new QSpinBox(entryPanel_);
        sb->setObjectName(QString("UpDown%1").arg(i + 3));
        if (auto* e = sb->findChild<QLineEdit*>()) e->setObjectName(QString("Edit%1").arg(i + 3));
        sb->setRange(0, 9);
        place(sb, 148 + i * 46, 46, 42, 26);
        plus5Digits_[static_cast<size_t>(i)] = sb;
    }
    entryPanel_->hide();

    auto makeButton = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    okButton_ = makeButton("BitBtn1", "OK");
    okButton_->setDefault(true);
    computeButton_ = makeButton("BitBtn3", "&Rechnen");
    cancelButton_ = makeButton("BitBtn2", "Abbrechen");
    randomButton_ = makeButton("BitBtn4", "&Zufall");
    saveListButton_ = new QToolButton(this);
    saveListButton_->setObjectName("SpeedButton1");
    saveListButton_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveListButton_->setToolTip("Speichern der Liste");
    loadListButton_ = new QToolButton(this);
    loadListButton_->setObjectName("SpeedButton2");
    loadListButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    loadListButton_->setToolTip("Laden der Liste");
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar1");
    statusBar_->setSizeGripEnabled(false);

    randomTimer_ = new QTimer(this);
    randomTimer_->setObjectName("Timer1");
    randomTimer_->setInterval(25);

    connect(okButton_, &QPushButton::clicked, this, [this] { finish(ModalResult::Ok); });
    connect(computeButton_, &QPushButton::clicked, this, [this] { finish(ModalResult::Retry); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { finish(ModalResult::Abort); });
    connect(randomButton_, &QPushButton::clicked, this, &NumberDialog::randomClicked);
    connect(saveListButton_, &QToolButton::clicked, this, &NumberDialog::saveWeightListFile);
    connect(loadListButton_, &QToolButton::clicked, this, &NumberDialog::loadWeightListFile);
    connect(randomTimer_, &QTimer::timeout, this, &NumberDialog::randomTick);
    placeSize(this, kDesignWidth, kDesignHeight);
}

ModalResult NumberDialog::run(NumberChoice& state) {
    state_ = &state;
    result_ = ModalResult::Abort;
    const int extra = state.entryVisible ? kEntryExtra : 0;
    // Buttons below the boxes, or below the entry fields in the entry mode.
    const int y = 236 + extra;
    place(okButton_, 12, y, 90, 28);
    place(computeButton_, 12, y, 90, 28); // on top of OK: the generator's pool reaches OK with Enter only
    place(cancelButton_, 108, y, 90, 28);
    place(randomButton_, 204, y, 90, 28);
    place(saveListButton_, 316, y, 32, 28);
    place(loadListButton_, 352, y, 32, 28);
    place(statusBar_, 0, y + 34, kDesignWidth, 24);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    placeSize(this, kDesignWidth, kDesignHeight + extra);
    setFixedSize(size());
    if (state.entryVisible) {
        entryDate_->setDate(toQDate(state.entryDate));
        for (size_t i = 0; i < 5; ++i) plus5Digits_[i]->setValue(state.entryDigits[i]);
    }
    render();
    computeButton_->raise();
    exec();
    if (state.entryVisible) {
        state.entryDate = toDateValue(entryDate_->date());
        for (size_t i = 0; i < 5; ++i) state.entryDigits[i] = plus5Digits_[i]->value();
    }
    randomTimer_->stop();
    state.closed();
    state_ = nullptr;
    return result_;
}

void NumberDialog::finish(ModalResult r) {
    result_ = r;
    randomTimer_->stop();
    if (state_) state_->closed();
    if (r == ModalResult::Ok)
        accept();
    else
        done(r == ModalResult::Retry ? 2 : QDialog::Rejected);
}

void NumberDialog::closeEvent(QCloseEvent* e) {
    result_ = ModalResult::Abort;
    randomTimer_->stop();
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
    computeButton_->setVisible(s.computeVisible);
    randomButton_->setVisible(s.randomVisible);
    randomButton_->setText(QString::fromStdString(s.randomCaption));
    saveListButton_->setVisible(s.saveListVisible);
    loadListButton_->setVisible(s.loadListVisible);
    entryPanel_->setVisible(s.entryVisible);
    statusBar_->showMessage(QString::fromStdString(s.status));
}

void NumberDialog::boxPressed(int k, bool right) {
    if (!state_) return;
    state_->mouseDown(k, right);
    render();
}

void NumberDialog::randomClicked() {
    if (!state_) return;
    state_->randomClick();
    if (state_->timerRunning)
        randomTimer_->start();
    else
        randomTimer_->stop();
    render();
}

void NumberDialog::randomTick() {
    if (!state_) return;
    state_->timerTick(random_);
    render();
}

FileDialogSetup NumberDialog::weightListDialog() const {
    FileDialogSetup setup;
    setup.defaultExt = "kwl";
    setup.filter = "Werteliste|*.kwl";
    setup.proposedName = NumberChoice::proposedListName(today_());
    setup.folder = home_();
    return setup;
}

void NumberDialog::saveWeightListFile() {
    if (!state_) return;
    const auto path = files_.saveFileName(weightListDialog());
    if (!path) return;
    std::string error;
    if (!writeTextLines(*path, state_->weightListLines(), &error))
        files_.message("Die Werteliste " + *path + " konnte nicht geschrieben werden (" + error + ").");
    render();
}

void NumberDialog::loadWeightListFile() {
    if (!state_) return;
    const auto path = files_.openFileName(weightListDialog());
    if (!path) return;
    std::vector<std::string> lines;
    if (!readTextLines(*path, lines)) {
        files_.message("Die Werteliste " + *path + " kann nicht gelesen werden.");
        return;
    }
    if (lines.size() != 70)
        statusBar_->showMessage(QString("Die Werteliste hat %1 statt 70 Zeilen.").arg(lines.size()));
    state_->loadWeightList(lines);
    render();
    if (lines.size() != 70)
        statusBar_->showMessage(QString("Die Werteliste hat %1 statt 70 Zeilen.").arg(lines.size()));
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
        statusBar_->showMessage(QString::fromStdString(state_->status));
        return false;
    default:
        return QDialog::eventFilter(watched, e);
    }
}

} // namespace zf::ui
