#pragma once
// The contents of one page of "Optionen" ("Statistisch", "Schein Optimierung", "Mathematisch",
// "Allgemein"): every generator option of that page as one readable sentence with its numbers
// standing in it, built from the option table, bound to the model and running the coupling handlers.
//
// The widgets carry the names of the controls they stand for: check boxes "CheckBox9", up-downs
// "UpDown6" (a spin box whose edit is "Edit42"), "ComboBox3", "DateTimePicker3".
#include <QSpinBox>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "ui/generator/OptionLayout.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QVBoxLayout;

namespace zf {
class Model;
class GeneratorController;
} // namespace zf

namespace zf::ui {

// An up-down control with its edit field. The arrows (mouse, wheel, arrow keys) report the value
// they are about to set and the mouse button going down and up on them; typing reports nothing.
class UpDownBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    std::function<void(int)> changing;
    std::function<void()> pressed;
    std::function<void()> released;
    void stepBy(int steps) override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

class GeneratorOptionsPage : public QWidget {
public:
    // Fills `page` (one page of PageControl2) with the options of `which`. On "Allgemein" the
    // options start below `soundSwitch` ("Gewinn Sound spielen"), which the "Optionen" tab keeps at
    // the top of the page.
    GeneratorOptionsPage(Model& m, GeneratorController& generator, QWidget* page, OptionPage which,
                         QCheckBox* soundSwitch = nullptr);

    // Shows the model's values and ranges; the "Optionen" tab calls it when the options changed.
    void refresh();
    OptionPage which() const { return which_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool partnered(const OptionDef& def);
    static bool sameShape(const OptionDef& a, const OptionDef& b);
    void addOptions(const std::vector<const OptionDef*>& block, int& row);
    std::vector<QWidget*> sentence(const OptionDef& def);
    QCheckBox* switchOf(const OptionDef& def, const std::string& text);
    UpDownBox* addUpDown(int number, const QString& hint);
    void couple(int number, UpDownBox* box);
    void afterCoupling();
    void keepClearOfSoundSwitch();

    Model& m_;
    GeneratorController& gen_;
    QWidget* page_;
    OptionPage which_;
    QVBoxLayout* pageLayout_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QCheckBox* soundSwitch_ = nullptr;
    std::map<int, QCheckBox*> checkBoxes_;
    std::map<int, UpDownBox*> upDowns_;
    std::map<QObject*, QCheckBox*> sentenceOf_; // a sentence's words toggle its switch
    QComboBox* recentDraws_ = nullptr;          // ComboBox3
    QDateEdit* yearlyDate_ = nullptr;           // DateTimePicker3
};

} // namespace zf::ui
