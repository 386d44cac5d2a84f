#pragma once
// The tip list of the main tab: add, edit, delete, tickets, stake, tip files and the printout.
#include <string>
#include <vector>

#include "app/Services.h"
#include "core/tips/TipListRules.h"

namespace zf {

class Model;
class Browser;
class ChanceView;

class TipListController {
public:
    TipListController(Model& m, Services& s, Browser& browser) : m_(m), s_(s), browser_(browser) {}

    void addTip();              // add a tip behind the selected one
    void editTip();             // edit the selected tip in the number dialog
    void deleteTip();           // delete the selected tip
    void deleteAll();           // delete all (asks)
    void selectLine(int index); // selection follow-up of both lists
    void applyStake();          // stake rule
    // "Gesamt-Tipps" typed: returns the text the field shows afterwards.
    std::string totalTipsTyped(const std::string& typed);
    void totalTipsLeft();

    void saveTipFileAs();                      // save the tip list to a tip file
    void openTipFile();                        // load a tip file
    void printTips(bool openWithShell = true); // printout "Tipp.txt"
    void showWinnings();                       // "Gewinne", with what the list wins on average
    void showOdds();                           // "Chancen": the odds of a tip of the Keno type and stake

    // The window of the odds; none: "Chancen" shows nothing.
    void setChanceView(ChanceView* view) { chanceView_ = view; }

    // Loads a tip file into the list; false with a German message when it cannot be read.
    bool loadTipFile(const std::string& path);
    bool saveTipFile(const std::string& path);

private:
    void hitCheck();
    // The file's lines behind the first `keep` lines of the list (0: instead of the list).
    void replaceList(std::vector<std::string> lines, size_t keep = 0);

    Model& m_;
    Services& s_;
    Browser& browser_;
    ChanceView* chanceView_ = nullptr;
};

} // namespace zf
