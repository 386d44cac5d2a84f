#pragma once
// "Eingeben": a draw typed in by hand in the number dialog, which shows its date picker and the
// five Plus 5 digit fields for this. Stored after the last draw or in its place by date.
#include "app/Services.h"

namespace zf {

class Model;
class Browser;
struct NumberChoice;

// Puts the number dialog into its entry mode (date picker on `proposedDate`) and back.
void prepareDrawEntry(NumberChoice& f, double proposedDate);
void endDrawEntry(NumberChoice& f);

class ManualEntry {
public:
    ManualEntry(Model& m, Services& s, Browser& browser) : m_(m), s_(s), browser_(browser) {}

    // Returns true when a draw was stored.
    bool enterDraw();

private:
    // A German reason why the dialog's entry is no draw, or empty when it is one.
    std::string refusal(const NumberChoice& f) const;

    Model& m_;
    Services& s_;
    Browser& browser_;
};

} // namespace zf
