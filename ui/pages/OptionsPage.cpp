#include "ui/pages/OptionsPage.h"

#include <QCheckBox>
#include <QTabWidget>

#include "app/Session.h"
#include "ui/generator/GeneratorOptionsPage.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

OptionsPage::OptionsPage(Session& session, QWidget* parent) : CanvasPage("TabSheet2", parent), session_(session) {
    optionTabs_ = make<QTabWidget>(canvas(), "PageControl2");
    place(optionTabs_, 2, 2, 630, 502);
    struct Tab {
        const char* name;
        const char* caption;
        OptionPage which;
    };
    const Tab tabs[] = {{"TabSheetStatistisch", "Statistisch", OptionPage::Statistisch},
                        {"TabSheetScheinOptimierung", "Schein Optimierung", OptionPage::ScheinOptimierung},
                        {"TabSheetMathematisch", "Mathematisch", OptionPage::Mathematisch},
                        {"TabSheetAllgemein", "Allgemein", OptionPage::Allgemein}};
    std::vector<QWidget*> sheets;
    for (const Tab& t : tabs) {
        sheets.push_back(make<QWidget>(nullptr, t.name));
        optionTabs_->addTab(sheets.back(), t.caption);
    }
    Model& m = session_.model;
    winSound_ = checkBox(sheets.back(), "CheckBox36", "Gewinn Sound spielen", {12, 12, 300, 26});
    connect(winSound_, &QCheckBox::toggled, this, [&m](bool on) { m.checkBoxes[36] = on; });
    for (size_t i = 0; i < sheets.size(); ++i)
        optionPages_.push_back(new GeneratorOptionsPage(m, session_.generator, sheets[i], tabs[i].which,
                                                        tabs[i].which == OptionPage::Allgemein ? winSound_ : nullptr));
}

void OptionsPage::refresh(unsigned what) {
    if (!(what & ChangeOptions)) return;
    setChecked(winSound_, session_.model.on(Opt::WinSound));
    for (auto* page : optionPages_) page->refresh();
}

} // namespace zf::ui
