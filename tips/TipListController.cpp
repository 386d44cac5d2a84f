#include "tips/TipListController.h"

#include <cmath>
#include <cstdio>

#include "app/GermanFormat.h"
#include "app/Model.h"
#include "app/Text.h"
#include "draws/Browser.h"
#include "evaluation/TipCheck.h"
#include "evaluation/Winnings.h"
#include "tips/TipLine.h"

namespace zf {

std::pair<std::string, std::string> ticketLabels(int index, int tipsPerTicket) {
    const int n = tipsPerTicket < 1 ? 1 : tipsPerTicket;
    return {std::to_string(index / n + 1) + ".Schein", std::to_string(index % n + 1) + ".Tipp"};
}

std::vector<std::string> printoutLines(const std::vector<std::string>& tips, int gesamtTipps, int tipsPerTicket,
                                       double today) {
    const Ymd d = ymdOf(today);
    char date[64];
    std::snprintf(date, sizeof date, "%s %02d.%02d.%02d", longWeekdayName(weekdayOf(today)), d.day, d.month,
                  d.year % 100);
    std::vector<std::string> out = {std::string("Zahlfuchs Tipp vom ") + date, std::string(39, '~'), ""};
    const long long n = tipsPerTicket < 1 ? 1 : tipsPerTicket;
    const long long tickets = gesamtTipps / n + (gesamtTipps % n ? 1 : 0);
    char num[16];
    for (long long i = 1; i <= tickets; ++i) {
        for (long long j = 1; j <= n; ++j) {
            const long long index = (i - 1) * n + j - 1;
            if (index < static_cast<long long>(tips.size())) {
                std::snprintf(num, sizeof num, "%2lld", j);
                out.push_back(std::string(num) + ". Tipp:  " + tips[static_cast<size_t>(index)]);
            }
        }
        out.emplace_back(" ");
    }
    return out;
}

void TipListController::hitCheck() {
    Komplettcheck(m_, s_.sound);
    m_.notify(ChangeTips | ChangeHits);
}

void TipListController::SpeedButton36Click() {
    const int at = m_.ListBox1Index >= 0 && m_.ListBox1Index < static_cast<int>(m_.ListBox1.size())
                       ? m_.ListBox1Index + 1
                       : static_cast<int>(m_.ListBox1.size());
    m_.ListBox1.insert(m_.ListBox1.begin() + at, std::string());
    m_.ListBox1Index = at;
    m_.notify(ChangeTips);
    SpeedEditClick();
}

void TipListController::SpeedEditClick() {
    if (m_.ListBox1.empty()) {
        m_.ListBox1.emplace_back();
        m_.ListBox1Index = 0;
    }
    if (m_.ListBox1Index < 0 || m_.ListBox1Index >= static_cast<int>(m_.ListBox1.size())) {
        s_.prompter.message("Wählen Sie zuerst einen Tipp aus");
        return;
    }
    NumberChoice& f = m_.TForm6;
    f.BitBtn4Visible = true;
    f.BitBtn3Visible = false;
    f.maxtipp = m_.UpDown[18].pos;
    f.untickAll(BoxColour::Info);
    for (const std::string& piece : splitPieces(m_.ListBox1[static_cast<size_t>(m_.ListBox1Index)])) {
        const std::string_view p = trimView(piece);
        int v = 0;
        bool ok = !p.empty() && p.size() <= 9;
        for (char c : p) ok = ok && c >= '0' && c <= '9';
        if (!ok) break; // a piece that is no number ends the preparation
        for (char c : p) v = v * 10 + (c - '0');
        if (v >= 1 && v <= 70) {
            f.ticked[static_cast<size_t>(v)] = true;
            f.colour[static_cast<size_t>(v)] = BoxColour::Yellow;
        }
    }
    const ModalResult result = s_.prompter.numberDialog(f);
    f.closed();
    if (result == ModalResult::Ok && m_.ListBox1Index >= 0 && m_.ListBox1Index < static_cast<int>(m_.ListBox1.size())) {
        std::vector<int> numbers = f.tickedNumbers();
        if (static_cast<int>(numbers.size()) > m_.UpDown[18].pos) numbers.resize(static_cast<size_t>(m_.UpDown[18].pos));
        m_.ListBox1[static_cast<size_t>(m_.ListBox1Index)] = formatTipLine(numbers);
    }
    f.BitBtn3Visible = true;
    f.BitBtn4Visible = false;
    for (int k = 1; k <= 70; ++k) f.colour[static_cast<size_t>(k)] = BoxColour::Info;
    f.caption = "Zahlen für Berechnung wählen";
    // The hit check drops an empty line: the selection must not point behind the list.
    hitCheck();
    if (m_.ListBox1Index >= static_cast<int>(m_.ListBox1.size())) m_.ListBox1Index = -1;
}

void TipListController::SpeedButton32Click() {
    if (m_.ListBox1Index < 0 || m_.ListBox1Index >= static_cast<int>(m_.ListBox1.size())) return;
    m_.ListBox1.erase(m_.ListBox1.begin() + m_.ListBox1Index);
    m_.ListBox1Index = -1;
    hitCheck();
}

void TipListController::SpeedButton11Click() {
    if (!s_.prompter.questionTitled("Tipps löschen?", "Sollen alle Tipps gelöscht werden?")) return;
    m_.ListBox1.clear();
    m_.ListBox2.clear();
    m_.ListBox1Index = -1;
    m_.notify(ChangeTips | ChangeHits);
}

void TipListController::selectLine(int index) {
    if (index < 0 || index >= static_cast<int>(m_.ListBox1.size())) return;
    m_.ListBox1Index = index;
    const auto [ticket, tip] = ticketLabels(index, m_.UpDown[8].pos);
    m_.Label23 = ticket;
    m_.Label24 = tip;
    m_.notify(ChangeTips);
}

void TipListController::ComboBox1Change() {
    static const int factors[] = {1, 2, 5, 10};
    // The selector offers its four items only; anything else counts as the first.
    const int factor = m_.ComboBox1 >= 0 && m_.ComboBox1 <= 3 ? factors[m_.ComboBox1] : 1;
    m_.Preis = static_cast<double>(factor) * m_.UpDown[8].pos * m_.gesamtTipps();
}

std::string gesamtTippsRule(const std::string& typed) {
    long long v = 0;
    bool ok = !typed.empty() && typed.size() <= 12;
    for (char c : typed) {
        if (c < '0' || c > '9') { ok = false; break; }
        v = v * 10 + (c - '0');
    }
    if (!ok || v < 1 || v > 500000) v = 500000;
    return std::to_string(v);
}

std::string TipListController::Edit1Change(const std::string& typed) {
    m_.setGesamtTipps(std::stoi(gesamtTippsRule(typed)));
    m_.notify(ChangeOptions);
    return m_.Edit1;
}

void TipListController::Edit1Exit() {
    if (m_.sortieren) hitCheck();
}

bool TipListController::saveTipFile(const std::string& path) {
    std::string error;
    if (!writeTextLines(path, m_.ListBox1, &error)) {
        s_.prompter.message("Die Tippdatei " + path + " konnte nicht geschrieben werden (" + error + ").");
        return false;
    }
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

void TipListController::replaceList(std::vector<std::string> lines) {
    for (auto& l : lines)
        for (char& c : l)
            if (c == '\0') c = ' ';
    const size_t odd = countOddLines(lines);
    const size_t count = lines.size();
    m_.ListBox1 = std::move(lines);
    m_.ListBox1Index = -1;
    m_.setGesamtTipps(static_cast<int>(std::min<size_t>(count, 500000)));
    m_.notify(ChangeTips | ChangeOptions);
    if (odd)
        s_.prompter.message(std::to_string(odd) + " von " + std::to_string(count) +
                            " Zeilen der Tippdatei sind keine gültigen Tipps; sie stehen unverändert in der Liste.");
}

void TipListController::SpeedButton15Click() {
    const auto path = s_.prompter.saveFileName(
        {"ktf", "Tippdatei|*.ktf", formatYmdCompact(m_.DateTimePicker1 + 1) + ".ktf", m_.Home});
    if (path) saveTipFile(*path);
}

void TipListController::SpeedButton16Click() {
    const auto path = s_.prompter.openFileName(
        {"ktf", "Tippdatei|*.ktf", formatYmdCompact(m_.DateTimePicker1 + 1) + ".ktf", m_.Home});
    if (path) {
        // Read first: a file that cannot be read must not cost the user the list.
        std::vector<std::string> lines;
        if (!readTextLines(*path, lines)) {
            s_.prompter.message("Die Tippdatei " + *path + " kann nicht gelesen werden.");
        } else {
            SpeedButton11Click(); // asks; the file replaces the list whatever the answer
            replaceList(std::move(lines));
        }
    }
    browser_.SpeedButton5Click();
}

void TipListController::BitBtn7Click(bool openWithShell) {
    const auto lines = printoutLines(m_.ListBox1, m_.gesamtTipps(), m_.UpDown[8].pos, std::floor(s_.clock.now()));
    const std::string path = m_.Home + "Tipp.txt";
    std::string error;
    if (!writeTextLines(path, lines, &error)) {
        s_.prompter.message("Der Ausdruck " + path + " konnte nicht geschrieben werden (" + error + ").");
        return;
    }
    if (openWithShell) s_.shell.open(path);
}

void TipListController::auswertungClick() {
    ComboBox1Change();
    s_.prompter.message(winningsText(m_.ListBox2, m_.UpDown[18].pos, m_.ComboBox1));
}

} // namespace zf
