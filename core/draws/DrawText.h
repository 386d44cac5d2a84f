#pragma once
// Draws as text: the lines the browser shows, the export layouts, and the download server's
// address and answer format. Pure functions of a record.
#include <optional>
#include <string>
#include <string_view>

#include "core/draws/DrawRecord.h"

namespace zf {

// The draw line "DDD dd.mm.yy" + separator + two blanks before each number.
std::string drawLine(const DrawRecord& r, int separatorBlanks);
std::string plus5Line(const DrawRecord& r, int separatorBlanks);

inline const std::string kExportFilter =
    "Textdatei(Datum,Zahlen;)|*.txt|Textdatei(nur Zahlen mit Leerzeichen)|*.txt|CSV-Datei(Komma getrennt)|*.csv|"
    "CSV-Datei(Semikolon getrennt)|*.csv|CSV-Datei(Tabulator getrennt)|*.csv";

// One export line (without its line end) in layout 1..5, the file type chosen in the save dialog.
std::string exportLine(const DrawRecord& r, int layout);

// "zahlen/keno.asp?Datei=yyyymmdd.txt" for one day, appended to the server's base address.
// Nothing when the base is no http or https address.
std::optional<std::string> drawRequestUrl(const std::string& base, double day);

// The answer text of one draw: "dd.mm.yyyy", then "," and each of the 20 numbers, then "," and the
// five Plus 5 digits run together. A draw whose Plus 5 number is unknown ends after the last ",".
std::string drawAnswerText(const DrawRecord& r);

// One day's answer, read and checked completely before anything is stored. After the twentieth
// number's "," come the five Plus 5 digits (any text after them is ignored), or nothing at all: that
// is a draw without a Plus 5 number, stored with kFlagNoPlus5 and the digits 0.
struct DrawAnswer {
    enum Kind {
        Draw,    // a complete, valid draw in `record`
        Skip,    // no draw in it (blank, blank date, first number 0): nothing to store, nothing to say
        Invalid, // not a valid draw; `problem` says why, in German
    } kind = Invalid;
    DrawRecord record;
    std::string problem;
};
// `today` bounds the date: a draw cannot lie in the future.
DrawAnswer parseDrawAnswer(std::string_view body, double today);

// The answer's way of writing a whole number (blanks around it, a sign, at most nine digits).
std::optional<int> answerNumber(std::string_view piece);

} // namespace zf
