#pragma once
// The draw history as text for use outside the program: "Export nach Text" in five line layouts,
// and the single-draw files, one per draw in the download server's answer format.
#include <functional>
#include <optional>
#include <string>

#include "app/Services.h"
#include "core/draws/DrawText.h"

namespace zf {

class Model;
class Browser;
struct DrawRecord;

class DrawExport {
public:
    DrawExport(Model& m, Services& s, Browser& browser) : m_(m), s_(s), browser_(browser) {}

    // "Export nach Text": every draw from the date of DateTimePicker1 on. True when a file was written.
    bool exportText();
    // Single-draw files "yyyymmdd.txt" in the current folder, from the current draw to the last.
    // Returns the number of files written.
    int exportSingleFiles();

private:
    Model& m_;
    Services& s_;
    Browser& browser_;
};

} // namespace zf
