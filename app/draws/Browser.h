#pragma once
// The draw browser: makes one draw of Keno.dat current, shows it and walks the history.
// Every step ends with the hit check, so the hits column refers to the draw on display.
#include <cstddef>
#include <string>

#include "app/Services.h"
#include "core/draws/DrawText.h"

namespace zf {

class Model;
struct DrawRecord;

class Browser {
public:
    Browser(Model& m, Services& s) : m_(m), s_(s) {}

    void seekDate();      // seek the date of DateTimePicker1
    void previous();      // previous
    void next();          // next
    bool deleteCurrent(); // "Löschen": delete the current draw; false when nothing was deleted

    // Keno.dat is there and read into the model; otherwise a message says what is wrong.
    bool readHistory();

    // Loads a record into the current-draw fields and rebuilds the labels.
    void makeCurrent(const DrawRecord& r, int drawSeparator = 2, int plus5Separator = 2);

private:
    bool loadDraws(bool reportMissing);
    static constexpr size_t kNone = static_cast<size_t>(-1);
    // The nearest record with a readable date from `i` on in the direction given, else the other way.
    size_t readableNear(size_t i, bool forward) const;
    // Makes record `i` current; a record with broken numbers is shown only with a message saying so.
    void show(size_t i, int drawSeparator = 2);

    Model& m_;
    Services& s_;
};

} // namespace zf
