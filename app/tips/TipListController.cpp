#include "app/tips/TipListController.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "base/GermanFormat.h"
#include "base/Parse.h"
#include "base/Text.h"
#include "core/evaluation/ChanceView.h"
#include "core/evaluation/Winnings.h"
#include "core/tips/TipLine.h"

namespace zf {

void TipListController::hitCheck() {
    checkAllTips(m_, s_.sound);
    m_.notify(ChangeTips | ChangeHits);
}

void TipListController::addTip() {
    const int at = m_.selectedTip >= 0 && m_.selectedTip < static_cast<int>(m_.tipLines.size())
                       ? m_.selectedTip + 1
                       : static_cast<int>(m_.tipLines.size());
    m_.tipLines.insert(m_.tipLines.begin() + at, std::string());
    m_.selectedTip = at;
    m_.notify(ChangeTips);
    editTip();
}

void TipListController::editTip() {
    if (m_.tipLines.empty()) {
        m_.tipLines.emplace_back();
        m_.selectedTip = 0;
    }
    if (m_.selectedTip < 0 || m_.selectedTip >= static_cast<int>(m_.tipLines.size())) {
        s_.prompter.message("Wählen Sie zuerst einen Tipp aus");
        return;
    }
    NumberChoice& f = m_.numberChoice;
    f.randomVisible = true;
    f.computeVisible = false;
    f.randomMax = m_.num(Num::KenoType).pos;
    f.untickAll(BoxColour::Info);
    for (const std::string& piece : splitPieces(m_.tipLines[static_cast<size_t>(m_.selectedTip)])) {
        const std::string_view p = trimView(piece);
        const auto number = parseDigits(p, 999999999);
        if (!number) break; // a piece that is no number ends the preparation
        const long long v = *number;
        if (v >= 1 && v <= 70) {
            f.ticked[static_cast<size_t>(v)] = true;
            f.colour[static_cast<size_t>(v)] = BoxColour::Yellow;
        }
    }
    // While the dialog is up the window may be activated again, and each activation runs the hit
    // check, which drops empty lines: the line the dialog fills (a new tip's empty one) must stay put.
    const bool hitCheckWas = m_.hitCheckOn;
    m_.hitCheckOn = false;
    ModalResult result = s_.dialogs.generator.numberDialog(f);
    // More numbers than a tip of the Keno type holds: say so and show the choice again, rather than
    // drop the highest ones.
    while (result == ModalResult::Ok) {
        const int kenoType = m_.num(Num::KenoType).pos;
        const int ticked = static_cast<int>(f.tickedNumbers().size());
        if (ticked <= kenoType) break;
        f.closed();
        const int over = ticked - kenoType;
        s_.prompter.message("Gewählt sind " + std::to_string(ticked) + " Zahlen, ein Tipp hat aber höchstens " +
                            std::to_string(kenoType) + " (\"Zahlen pro Tipp\"). Wählen Sie " + std::to_string(over) +
                            (over == 1 ? " Zahl" : " Zahlen") + " ab.");
        result = s_.dialogs.generator.numberDialog(f);
    }
    m_.hitCheckOn = hitCheckWas;
    f.closed();
    if (result == ModalResult::Ok && m_.selectedTip >= 0 && m_.selectedTip < static_cast<int>(m_.tipLines.size()))
        m_.tipLines[static_cast<size_t>(m_.selectedTip)] = formatTipLine(f.tickedNumbers());
    f.computeVisible = true;
    f.randomVisible = false;
    for (int k = 1; k <= 70; ++k) f.colour[static_cast<size_t>(k)] = BoxColour::Info;
    f.caption = "Zahlen für Berechnung wählen";
    // The hit check drops an empty line: the selection must not point behind the list.
    hitCheck();
    if (m_.selectedTip >= static_cast<int>(m_.tipLines.size())) m_.selectedTip = -1;
}

void TipListController::deleteTip() {
    if (m_.selectedTip < 0 || m_.selectedTip >= static_cast<int>(m_.tipLines.size())) return;
    m_.tipLines.erase(m_.tipLines.begin() + m_.selectedTip);
    m_.selectedTip = -1;
    hitCheck();
}

void TipListController::deleteAll() {
    if (!s_.prompter.questionTitled("Tipps löschen?", "Sollen alle Tipps gelöscht werden?")) return;
    m_.tipLines.clear();
    m_.hits.clear();
    m_.selectedTip = -1;
    m_.notify(ChangeTips | ChangeHits);
}

void TipListController::selectLine(int index) {
    if (index < 0 || index >= static_cast<int>(m_.tipLines.size())) return;
    m_.selectedTip = index;
    const auto [ticket, tip] = ticketLabels(index, m_.num(Num::TipsPerTicket).pos);
    m_.ticketLabel = ticket;
    m_.tipLabel = tip;
    m_.notify(ChangeTips);
}

void TipListController::applyStake() {
    static const int factors[] = {1, 2, 5, 10};
    // The selector offers its four items only; anything else counts as the first.
    const int factor = m_.stakeItem >= 0 && m_.stakeItem <= 3 ? factors[m_.stakeItem] : 1;
    m_.price = static_cast<double>(factor) * m_.num(Num::TipsPerTicket).pos * m_.totalTips();
}

std::string TipListController::totalTipsTyped(const std::string& typed) {
    m_.setTotalTips(std::stoi(totalTipsRule(typed)));
    m_.notify(ChangeOptions);
    return m_.totalTipsText;
}

void TipListController::totalTipsLeft() {
    if (m_.hitCheckOn) hitCheck();
}

bool TipListController::saveTipFile(const std::string& path) {
    std::string error;
    if (!writeTextLines(path, m_.tipLines, &error)) {
        s_.prompter.message("Die Tippdatei " + path + " konnte nicht geschrieben werden (" + error + ").");
        return false;
    }
    m_.setStatus(1, "Tipps gespeichert in " + path);
    return true;
}

bool TipListController::loadTipFile(const std::string& path) {
    std::vector<std::string> lines;
    if (!readTextLines(path, lines)) {
        s_.prompter.message("Die Tippdatei " + path + " kann nicht gelesen werden.");
        return false;
    }
    replaceList(std::move(lines));
    return true;
}

void TipListController::replaceList(std::vector<std::string> lines, size_t keep) {
    for (auto& l : lines)
        for (char& c : l)
            if (c == '\0') c = ' ';
    const size_t odd = countOddLines(lines);
    const size_t fileLines = lines.size();
    m_.tipLines.resize(std::min(keep, m_.tipLines.size()));
    m_.tipLines.insert(m_.tipLines.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    const size_t count = m_.tipLines.size();
    m_.selectedTip = -1;
    m_.setTotalTips(static_cast<int>(std::min<size_t>(count, 500000)));
    m_.notify(ChangeTips | ChangeOptions);
    if (odd)
        s_.prompter.message(std::to_string(odd) + " von " + std::to_string(fileLines) +
                            " Zeilen der Tippdatei sind keine gültigen Tipps; sie stehen unverändert in der Liste.");
}

void TipListController::saveTipFileAs() {
    const auto path =
        s_.prompter.saveFileName({"ktf", "Tippdatei|*.ktf", formatYmdCompact(m_.browseDate + 1) + ".ktf", m_.home});
    if (path) saveTipFile(*path);
}

void TipListController::openTipFile() {
    const auto path =
        s_.prompter.openFileName({"ktf", "Tippdatei|*.ktf", formatYmdCompact(m_.browseDate + 1) + ".ktf", m_.home});
    if (path) {
        // Read first: a file that cannot be read must not cost the user the list.
        std::vector<std::string> lines;
        if (!readTextLines(*path, lines)) {
            s_.prompter.message("Die Tippdatei " + *path + " kann nicht gelesen werden.");
        } else {
            // Asks "Tipps löschen?"; "Nein" keeps the list and puts the file's tips behind it.
            const size_t kept = m_.tipLines.size();
            deleteAll();
            replaceList(std::move(lines), m_.tipLines.empty() ? 0 : kept);
        }
    }
    browser_.seekDate();
}

void TipListController::printTips(bool openWithShell) {
    const auto lines =
        printoutLines(m_.tipLines, m_.totalTips(), m_.num(Num::TipsPerTicket).pos, std::floor(s_.clock.now()));
    const std::string path = m_.home + "Tipp.txt";
    std::string error;
    if (!writeTextLines(path, lines, &error)) {
        s_.prompter.message("Der Ausdruck " + path + " konnte nicht geschrieben werden (" + error + ").");
        return;
    }
    m_.setStatus(1, "Ausdruck gespeichert in " + path);
    if (openWithShell && !s_.shell.open(path))
        s_.prompter.message("Der Ausdruck wurde gespeichert, aber kein Programm konnte ihn öffnen:\n" + path);
}

void TipListController::showWinnings() {
    applyStake();
    const int kenoType = m_.num(Num::KenoType).pos;
    std::string text = winningsText(m_.hits, kenoType, m_.stakeItem);
    // Beside the win in this draw: the list's stake, its average win and how rare this win is.
    if (!m_.tipLines.empty()) text += "\n\n" + outlookText(listOutlook(m_.tipLines, m_.hits, kenoType, m_.stakeItem));
    s_.prompter.message(text);
}

void TipListController::showOdds() {
    if (chanceView_) chanceView_->showOdds(oddsTable(m_.num(Num::KenoType).pos, m_.stakeItem));
}

} // namespace zf
