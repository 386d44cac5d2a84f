#pragma once
// The draw browser: makes one draw of Keno.dat current, shows it and walks the history.
// Every step ends with the hit check, so the hits column refers to the draw on display.
#include <string>

#include "draws/DrawText.h"
#include "platform/Services.h"

namespace zf {

class Model;
struct DrawRecord;

class Browser {
public:
    Browser(Model& m, Services& s) : m_(m), s_(s) {}

    void seekDate();      // seek the date of DateTimePicker1
    void previous();      // previous
    void next();          // next
    void deleteCurrent(); // "Löschen": delete the current draw

    // Loads a record into the current-draw fields and rebuilds the labels.
    void makeCurrent(const DrawRecord& r, int drawSeparator = 2, int plus5Separator = 2);

private:
    bool loadDraws(bool reportMissing);

    Model& m_;
    Services& s_;
};

} // namespace zf
