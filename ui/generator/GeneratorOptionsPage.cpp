#include "ui/generator/GeneratorOptionsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>
#include <set>

#include "app/Model.h"
#include "app/generator/GeneratorController.h"
#include "ui/widgets/GermanDateEdit.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Options that open a new group on their page get a little room above them.
bool opensGroup(const OptionDef& d) {
    static const std::set<int> firsts = {9, 4, 8, 1, 22};
    return d.heading || firsts.count(d.checkBox) > 0 || (d.page == OptionPage::Allgemein && d.checkBox == 0);
}

} // namespace

void UpDownBox::stepBy(int steps) {
    const int target = std::clamp(value() + steps * singleStep(), minimum(), maximum());
    if (changing && target != value()) changing(target);
    QSpinBox::stepBy(steps);
}

void UpDownBox::mousePressEvent(QMouseEvent* e) {
    if (pressed && e->button() == Qt::LeftButton) pressed();
    QSpinBox::mousePressEvent(e);
}

void UpDownBox::mouseReleaseEvent(QMouseEvent* e) {
    QSpinBox::mouseReleaseEvent(e);
    if (released && e->button() == Qt::LeftButton) released();
}

GeneratorOptionsPage::GeneratorOptionsPage(Model& m, GeneratorController& generator, QWidget* page, OptionPage which,
                                           QCheckBox* soundSwitch)
    : QWidget(page), m_(m), gen_(generator), page_(page), which_(which), soundSwitch_(soundSwitch) {
    setObjectName("GeneratorOptions" + page->objectName());
    pageLayout_ = new QVBoxLayout(page);
    pageLayout_->setContentsMargins(12, 10, 12, 8);
    pageLayout_->addWidget(this);

    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(16);
    grid_->setVerticalSpacing(3);
    grid_->setColumnStretch(0, 0);
    grid_->setColumnStretch(1, 1);

    std::vector<const OptionDef*> defs;
    for (const OptionDef& def : optionTable())
        if (def.page == which) defs.push_back(&def);
    int row = 0;
    for (size_t i = 0; i < defs.size();) {
        // Sentences of the same build in a row share columns, so their numbers line up.
        size_t j = i + 1;
        if (!defs[i]->heading && !defs[i]->besideOf && !partnered(*defs[i]))
            while (j < defs.size() && sameShape(*defs[j], *defs[i]) && !opensGroup(*defs[j]) && !partnered(*defs[j]))
                ++j;
        addOptions(
            std::vector<const OptionDef*>(defs.begin() + static_cast<long>(i), defs.begin() + static_cast<long>(j)),
            row);
        i = j;
    }
    grid_->setRowStretch(row, 1);

    if (soundSwitch_) {
        soundSwitch_->installEventFilter(this);
        keepClearOfSoundSwitch();
    }
    refresh();
}

bool GeneratorOptionsPage::partnered(const OptionDef& def) {
    for (const OptionDef& other : optionTable())
        if (def.checkBox && other.besideOf == def.checkBox) return true;
    return false;
}

bool GeneratorOptionsPage::sameShape(const OptionDef& a, const OptionDef& b) {
    if (a.heading || b.heading || a.besideOf || b.besideOf || (a.checkBox == 0) != (b.checkBox == 0)) return false;
    if (a.pieces.size() != b.pieces.size()) return false;
    for (size_t i = 0; i < a.pieces.size(); ++i)
        if (a.pieces[i].kind != b.pieces[i].kind) return false;
    return true;
}

void GeneratorOptionsPage::addOptions(const std::vector<const OptionDef*>& block, int& row) {
    const OptionDef& def = *block.front();
    if (opensGroup(def) && row > 0) {
        grid_->setRowMinimumHeight(row, 8);
        ++row;
    }
    if (def.heading) {
        auto* heading = new QLabel(q(def.caption()), this);
        heading->setObjectName(q(def.label));
        QFont bold;
        bold.setBold(true); // only the weight: size and face follow the page
        heading->setFont(bold);
        grid_->addWidget(heading, row++, 0, 1, 2);
        return;
    }
    if (def.besideOf) {
        // "seltensten" stands in the row of its frequent switch, in a column of its own
        auto* box = switchOf(def, def.caption());
        grid_->addWidget(box, row - 1, 1, Qt::AlignLeft);
        return;
    }
    if (block.size() > 1) {
        auto* columns = new QGridLayout;
        columns->setHorizontalSpacing(6);
        columns->setVerticalSpacing(grid_->verticalSpacing());
        for (size_t r = 0; r < block.size(); ++r) {
            const auto widgets = sentence(*block[r]);
            for (size_t c = 0; c < widgets.size(); ++c)
                columns->addWidget(widgets[c], static_cast<int>(r), static_cast<int>(c),
                                   Qt::AlignLeft | Qt::AlignVCenter);
        }
        columns->setColumnStretch(static_cast<int>(def.pieces.size()), 1);
        grid_->addLayout(columns, row++, 0, 1, 2);
        return;
    }
    auto* line = new QHBoxLayout;
    line->setSpacing(6);
    for (QWidget* w : sentence(def)) line->addWidget(w);
    line->addStretch(1);
    grid_->addLayout(line, row++, 0, 1, partnered(def) ? 1 : 2);
}

QCheckBox* GeneratorOptionsPage::switchOf(const OptionDef& def, const std::string& text) {
    auto* box = new QCheckBox(q(text), this);
    box->setObjectName(QString("CheckBox%1").arg(def.checkBox));
    box->setToolTip(q(def.hint));
    checkBoxes_[def.checkBox] = box;
    connect(box, &QCheckBox::toggled, this,
            [this, n = def.checkBox](bool on) { m_.checkBoxes[static_cast<size_t>(n)] = on; });
    return box;
}

std::vector<QWidget*> GeneratorOptionsPage::sentence(const OptionDef& def) {
    std::vector<QWidget*> out;
    const QString hint = q(def.hint);
    QCheckBox* box = nullptr;
    // A switchless sentence's first words are its label ("Label42"); other words are named after the
    // control they belong to.
    QString owner = def.checkBox ? QString("CheckBox%1").arg(def.checkBox) : q(def.label);
    for (size_t k = 0; owner.isEmpty() && k < def.pieces.size(); ++k)
        if (def.pieces[k].kind == OptionPiece::Kind::UpDown) owner = QString("UpDown%1").arg(def.pieces[k].upDown);
    int textIndex = 0;
    for (size_t i = 0; i < def.pieces.size(); ++i) {
        const OptionPiece& piece = def.pieces[i];
        switch (piece.kind) {
        case OptionPiece::Kind::Text:
            if (i == 0 && def.checkBox) {
                box = switchOf(def, piece.text);
                out.push_back(box);
            } else {
                auto* words = new QLabel(q(piece.text), this);
                words->setTextFormat(Qt::PlainText);
                words->setToolTip(hint);
                words->setObjectName(i == 0 && !def.label.empty() ? q(def.label)
                                                                  : QString("%1Text%2").arg(owner).arg(++textIndex));
                if (box) {
                    sentenceOf_[words] = box;
                    words->installEventFilter(this);
                }
                out.push_back(words);
            }
            break;
        case OptionPiece::Kind::UpDown:
            out.push_back(addUpDown(piece.upDown, hint));
            break;
        case OptionPiece::Kind::ComboBox3:
            recentDraws_ = new QComboBox(this);
            recentDraws_->setObjectName("ComboBox3");
            recentDraws_->addItems({"1", "2", "3"});
            recentDraws_->setToolTip(hint);
            recentDraws_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            connect(recentDraws_, &QComboBox::currentIndexChanged, this, [this](int i) { m_.recentDrawsItem = i; });
            out.push_back(recentDraws_);
            break;
        case OptionPiece::Kind::DateTimePicker3:
            yearlyDate_ = new GermanDateEdit(this);
            yearlyDate_->setObjectName("DateTimePicker3");
            yearlyDate_->setDisplayFormat("dd.MM.yyyy");
            yearlyDate_->setCalendarPopup(true);
            yearlyDate_->setToolTip(hint);
            connect(yearlyDate_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
                // the picker keeps its time of day; only the day changes
                const double time = m_.yearlyDate - std::floor(m_.yearlyDate);
                m_.yearlyDate = toDateValue(d) + time;
            });
            out.push_back(yearlyDate_);
            break;
        }
    }
    return out;
}

UpDownBox* GeneratorOptionsPage::addUpDown(int number, const QString& hint) {
    const UpDownDef& d = upDownDef(number);
    auto* box = new UpDownBox(this);
    box->setObjectName(QString("UpDown%1").arg(number));
    if (auto* edit = box->findChild<QLineEdit*>()) edit->setObjectName(QString::fromLatin1(d.edit));
    box->setAlignment(Qt::AlignRight);
    box->setKeyboardTracking(false); // a typed number counts when it is complete
    box->setToolTip(hint);
    box->setRange(d.min, d.max);
    if (number == 12 || number == 13 || number == 14) box->setSuffix(" %");
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    upDowns_[number] = box;
    connect(box, &QSpinBox::valueChanged, this,
            [this, number](int v) { m_.upDowns[static_cast<size_t>(number)].set(v); });
    couple(number, box);
    return box;
}

void GeneratorOptionsPage::couple(int number, UpDownBox* box) {
    GeneratorController& g = gen_;
    auto after = [this] { afterCoupling(); };
    switch (number) {
    case 3:
    case 24:
        box->pressed = [&g, after] {
            g.fitMinOverlapToMax();
            after();
        };
        break;
    case 1:
        box->released = [&g, after] {
            g.fitMaxOverlapToMin();
            after();
        };
        break;
    case 16:
        box->released = [&g, after] {
            g.fitEvenToOdd();
            after();
        };
        break;
    case 17:
        box->pressed = [&g, after] {
            g.fitEvenToOddPressed();
            after();
        };
        box->released = [&g, after] {
            g.fitOddToEven();
            after();
        };
        break;
    case 21:
        box->changing = [&g, after](int v) {
            g.lastDrawMinChanging(v);
            after();
        };
        break;
    case 22:
        box->changing = [&g, after](int v) {
            g.secondDrawMinChanging(v);
            after();
        };
        break;
    case 23:
        box->changing = [&g, after](int v) {
            g.thirdDrawMinChanging(v);
            after();
        };
        break;
    case 4:
        box->changing = [&g, after](int v) {
            g.lastDrawMaxChanging(v);
            after();
        };
        break;
    case 5:
        box->changing = [&g, after](int v) {
            g.secondDrawMaxChanging(v);
            after();
        };
        break;
    case 11:
        box->changing = [&g, after](int v) {
            g.thirdDrawMaxChanging(v);
            after();
        };
        break;
    case 7:
        box->changing = [&g](int) { g.attemptLimitChanging(); };
        break;
    default:
        break;
    }
}

void GeneratorOptionsPage::afterCoupling() {
    // The handlers change other controls, which may sit on another page: the main window refreshes
    // those; this page shows its own at once.
    refresh();
}

void GeneratorOptionsPage::refresh() {
    for (auto& [n, box] : checkBoxes_) setChecked(box, m_.checkBoxes[static_cast<size_t>(n)]);
    for (auto& [n, box] : upDowns_) setUpDown(box, m_.upDowns[static_cast<size_t>(n)]);
    if (recentDraws_) {
        const QSignalBlocker block(recentDraws_);
        recentDraws_->setCurrentIndex(m_.recentDrawsItem >= 0 && m_.recentDrawsItem <= 2 ? m_.recentDrawsItem : -1);
    }
    if (yearlyDate_) {
        const QSignalBlocker block(yearlyDate_);
        yearlyDate_->setDate(toQDate(m_.yearlyDate));
    }
}

void GeneratorOptionsPage::keepClearOfSoundSwitch() {
    if (!soundSwitch_) return;
    const QMargins mm = pageLayout_->contentsMargins();
    const int top = soundSwitch_->geometry().bottom() + 1 + grid_->verticalSpacing() + 8;
    if (mm.top() != top) pageLayout_->setContentsMargins(mm.left(), top, mm.right(), mm.bottom());
}

bool GeneratorOptionsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == soundSwitch_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        keepClearOfSoundSwitch();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto it = sentenceOf_.find(watched);
        if (it != sentenceOf_.end() && it->second->isEnabled()) {
            it->second->toggle(); // the words of a sentence toggle its switch, as its caption would
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zf::ui
