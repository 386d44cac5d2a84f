#include "ui/generator/OptionLayout.h"

namespace zf {

std::string OptionDef::caption() const {
    std::string s;
    for (const OptionPiece& p : pieces) {
        if (p.kind != OptionPiece::Kind::Text) continue;
        if (!s.empty()) s += ' ';
        s += p.text;
    }
    return s;
}

const std::vector<OptionDef>& optionTable() {
    using P = OptionPage;
    using K = OptionPiece::Kind;
    auto text = [](std::string t) { return OptionPiece{K::Text, std::move(t), 0}; };
    auto num = [](int n) { return OptionPiece{K::UpDown, {}, n}; };
    static const std::vector<OptionDef> table = {
        // main page, beside the tip list
        {P::KenoTipp, 0, "Label20", {text("Zahlen pro Tipp"), num(18)}, ""},
        {P::KenoTipp, 0, "Label22", {text("Gesamt-Tipps"), num(9)}, "Wieviele Tipps wollen Sie berechnen?"},
        {P::KenoTipp,
         28,
         "",
         {text("Löschen vor Berechnung")},
         "Wollen Sie weitere Tipps mit veränderten Optionen berechnen, löschen Sie die Markierung"},
        {P::KenoTipp, 0, "Label21", {text("Tipps pro Schein"), num(8)}, ""},

        // Statistisch
        {P::Statistisch,
         2,
         "",
         {text("Zahlen die besonders oft gezogen wurden bevorzugen"), num(12)},
         "Bevorzugt die häufig gezogenen Zahlen; die Zahl ist die Breite des bevorzugten Bereichs in Prozent"},
        {P::Statistisch,
         14,
         "",
         {text("Zahlen die besonders selten gezogen wurden bevorzugen"), num(14)},
         "Bevorzugt die selten gezogenen Zahlen; die Zahl ist die Breite des bevorzugten Bereichs in Prozent"},
        {P::Statistisch,
         10,
         "",
         {text("Zahlen die am längsten überfällig sind"), num(13)},
         "Bevorzugt die am längsten nicht gezogenen Zahlen; die Zahl ist die Breite des bevorzugten Bereichs in "
         "Prozent"},
        {P::Statistisch,
         9,
         "",
         {text("Tipp darf noch keinen"), num(6), text("er aus der Datenbank entsprechen")},
         "Verwirft einen Tipp, von dem eine Ziehung des Statistikzeitraums so viele Zahlen oder mehr hat"},
        {P::Statistisch,
         17,
         "",
         {text("Tipp darf keinen"), num(19), text("er  in den letzten"), num(20), text("Ziehungen entsprechen")},
         "Verwirft einen Tipp, von dem eine der letzten Ziehungen so viele Zahlen oder mehr hat"},
        {P::Statistisch,
         4,
         "",
         {text("maximal"), num(4), text("und minimal"), num(21), text("Zahl der letzten Ziehung zulassen")},
         "Treffer des Tipps mit der letzten Ziehung; ein Höchstwert 0 nimmt ihre Zahlen aus dem Pool"},
        {P::Statistisch,
         5,
         "",
         {text("maximal"), num(5), text("und minimal"), num(22), text("Zahl der vorletzten Ziehung zulassen")},
         "Treffer des Tipps mit der vorletzten Ziehung; ein Höchstwert 0 nimmt ihre Zahlen aus dem Pool"},
        {P::Statistisch,
         23,
         "",
         {text("maximal"), num(11), text("und minimal"), num(23), text("Zahl der vorvorletzten Ziehung zulassen")},
         "Treffer des Tipps mit der vorvorletzten Ziehung; ein Höchstwert 0 nimmt ihre Zahlen aus dem Pool"},
        {P::Statistisch, 0, "Label62", {text("Spezial-Einstellung:")}, "", 0, true},
        {P::Statistisch,
         31,
         "",
         {text("Zahlen der letzte"), OptionPiece{K::ComboBox3, {}, 0}, text("Ziehungen verwenden")},
         "Die Zahlen der letzten 1, 2 oder 3 Ziehungen kommen in den Pool"},
        {P::Statistisch,
         30,
         "",
         {text("Zahlen der Ziehungen eines Datums in allen Jahren"), OptionPiece{K::DateTimePicker3, {}, 0}},
         "Die Zahlen der Ziehungen an diesem Tag und Monat in jedem Jahr des Statistikzeitraums kommen in den "
         "Pool; das Jahr des Datums ist das letzte"},
        {P::Statistisch,
         29,
         "",
         {text("pro Tipp nur eine Zahl pro Zehner (ist 7 Zahlen)")},
         "Keine zwei Zahlen eines Tipps im selben Zehner"},

        // Schein Optimierung
        {P::ScheinOptimierung,
         3,
         "",
         {text("maximal"), num(3), text("Übereinstimmungen mit anderen Tipps")},
         "Kein anderer Tipp der Liste darf mehr Zahlen mit dem neuen Tipp gemeinsam haben"},
        {P::ScheinOptimierung,
         24,
         "",
         {text("minimal"), num(1), text("Übereinstimmungen mit anderen Tipps")},
         "Jeder andere Tipp der Liste muss mindestens so viele Zahlen mit dem neuen Tipp gemeinsam haben"},
        {P::ScheinOptimierung,
         32,
         "",
         {text("maximal"), num(24), text("Vorkommen einer Zahl in allen Tipps")},
         "Keine Zahl darf in mehr Tipps der Liste vorkommen"},
        {P::ScheinOptimierung,
         8,
         "",
         {text("eine Paarbildung pro Tipp erzwingen")},
         "Jeder Tipp enthält zwei aufeinander folgende Zahlen"},
        {P::ScheinOptimierung,
         18,
         "",
         {text("keine Dreie, Vierer... Paare")},
         "Kein Tipp enthält drei aufeinander folgende Zahlen"},
        {P::ScheinOptimierung, 1, "", {text("Zahlen mit einer häufigen Paarebildung bevorzugen")}, ""},
        {P::ScheinOptimierung, 11, "", {text("seltensten")}, "Statt der häufigsten die seltensten Paare bevorzugen", 1},
        {P::ScheinOptimierung, 6, "", {text("Zahlen mit einer häufigen Dreiergruppenbildung bevorzugen")}, ""},
        {P::ScheinOptimierung,
         12,
         "",
         {text("seltensten")},
         "Statt der häufigsten die seltensten Dreier bevorzugen",
         6},
        {P::ScheinOptimierung, 7, "", {text("Zahlen mit einer häufigen Viergruppenbildung bevorzugen")}, ""},
        {P::ScheinOptimierung,
         13,
         "",
         {text("seltensten")},
         "Statt der häufigsten die seltensten Vierer bevorzugen",
         7},

        // Mathematisch
        {P::Mathematisch,
         0,
         "Label42",
         {text("Quersummer von"), num(2), text("bis"), num(15), text("im Tipp zulassen")},
         "Quersumme des Tipps, hochgerechnet auf 20 Zahlen"},
        {P::Mathematisch,
         22,
         "",
         {text("mindestens"), num(10), text("Primzahlen in jedem Tipp")},
         "Die 1 zählt als Primzahl"},
        {P::Mathematisch, 25, "", {text("mindestens"), num(16), text("gerade Zahlen in jedem Tipp")}, ""},
        {P::Mathematisch, 26, "", {text("mindestens"), num(17), text("ungerade Zahlen in jedem Tipp")}, ""},

        // Allgemein (above them the main window keeps "Gewinn Sound spielen")
        {P::Allgemein,
         20,
         "",
         {text("Liste bearbeiten")},
         "Vor der Berechnung wird der Zahlenpool zum Bearbeiten gezeigt"},
        {P::Allgemein, 19, "", {text("benachbarte Zahlen der letzten Ziehung bevorzugen")}, ""},
        {P::Allgemein,
         15,
         "",
         {text("für den Tipp nur bevorzugte Zahlen verwenden!")},
         "Ohne Markierung steht jede Zahl 1 bis 70 zusätzlich einmal im Pool"},
        {P::Allgemein,
         0,
         "",
         {text("Max.Berechnungsläufe"), num(7), text("Tausend")},
         "So viele tausend Versuche darf die Berechnung für einen Tipp machen"},
    };
    return table;
}

} // namespace zf
