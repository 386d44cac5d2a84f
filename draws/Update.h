#pragma once
// The internet update: asks the download server for every day after the last stored draw up to
// today, one request per day, and appends each draw it receives to Keno.dat. It runs on the caller's
// thread and lets the window's events run between days, so the stop button and the other commands
// stay usable.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Services.h"
#include "draws/DrawRecord.h"
#include "platform/HttpClient.h"

namespace zf {

class Model;
class Browser;

// "zahlen/keno.asp?Datei=yyyymmdd.txt" for one day, appended to the server's base address.
// Nothing when the base is no http or https address.
std::optional<std::string> drawRequestUrl(const std::string& base, double day);

// The answer text of one draw: "dd.mm.yyyy", then "," and each of the 20 numbers, then "," and the
// five Plus 5 digits run together. A draw whose Plus 5 number is unknown ends after the last ",".
std::string drawAnswerText(const DrawRecord& r);

// One day's answer, read and checked completely before anything is stored.
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

class UpdateController {
public:
    UpdateController(Model& m, Services& s, Browser& browser, HttpClient& http);

    // Lets pending window events run; called after every day.
    std::function<void()> pumpEvents;
    // Called after each requested day, once its status texts are set (the batch program prints them).
    std::function<void(double day)> afterDay;

    int timeoutMs = 20000;                        // per request
    static constexpr size_t kMaxAnswerBytes = 65536; // an answer is about 80 bytes

    // "Datenbank aktualisieren" (BitBtn1) and the update button of the main tab (SpeedButton10).
    void runUpdate();
    // The stop button: hides itself, which ends the update before the next day.
    void stop();
    // "Datenbank neu anlegen": the history is set aside as Keno.dat.bak and read again from the start.
    void rebuildHistory();

    bool running() const { return running_; }
    int requestsSent() const { return requests_; }

private:
    // What one day brought; false when the update has to end after it.
    bool fetchDay(const std::string& url, double day, const HttpRequest& base);
    void setButtons(bool runningNow);

    Model& m_;
    Services& s_;
    Browser& browser_;
    HttpClient& http_;
    bool running_ = false;
    int requests_ = 0;
};

} // namespace zf
