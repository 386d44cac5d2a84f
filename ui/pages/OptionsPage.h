#pragma once
// The tab "Optionen": the inner tabs "Statistisch", "Schein Optimierung", "Mathematisch" and
// "Allgemein" with the generator's options, and "Gewinn Sound spielen" at the top of "Allgemein".
#include <vector>

#include "ui/pages/CanvasPage.h"

class QCheckBox;
class QTabWidget;

namespace zf {
class Session;
}

namespace zf::ui {

class GeneratorOptionsPage;

class OptionsPage : public CanvasPage {
public:
    explicit OptionsPage(Session& session, QWidget* parent = nullptr);

    // Shows the options when ChangeOptions is among `what`.
    void refresh(unsigned what);

private:
    Session& session_;
    QTabWidget* optionTabs_ = nullptr; // PageControl2
    QCheckBox* winSound_ = nullptr;    // CheckBox36
    std::vector<GeneratorOptionsPage*> optionPages_;
};

} // namespace zf::ui
