#pragma once
// "Tipps in DB suchen": walks the draws of the statistics window from the oldest to the newest, runs
// the hit check against each and asks whether to go on wherever the best tip reaches a threshold.
#include <functional>

#include "app/Services.h"

namespace zf {

class Model;
class Browser;

class TipSearch {
public:
    TipSearch(Model& m, Services& s, Browser& browser) : m_(m), s_(s), browser_(browser) {}

    // The whole command: threshold box, the walk with its questions, then the browser's step to the next draw.
    // False when the walk did not start (a threshold that is no whole number, draws that cannot be read;
    // a message said why) or another one is going on.
    bool run();
    bool running() const { return running_; }
    // Ends the walk before its next draw (the window closing).
    void stop() { stopRequested_ = true; }

    std::function<void()> eventPump; // lets the front end show each draw and handle pending events
    // Told the draw's date and the best hits just before each question (the batch program prints them).
    std::function<void(double date, int best)> onHit;

private:
    Model& m_;
    Services& s_;
    Browser& browser_;
    bool running_ = false; // the pump must not start a second walk inside the first
    bool stopRequested_ = false;
};

} // namespace zf
