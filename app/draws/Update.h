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

#include "app/Services.h"
#include "core/draws/DrawRecord.h"
#include "core/draws/DrawText.h"
#include "core/ports/HttpClient.h"

namespace zf {

class Model;
class Browser;

class UpdateController {
public:
    UpdateController(Model& m, Services& s, Browser& browser, HttpClient& http);

    // Lets pending window events run; called after every day.
    std::function<void()> pumpEvents;
    // Called after each requested day, once its status texts are set (the batch program prints them).
    std::function<void(double day)> afterDay;

    int timeoutMs = 20000;                           // per request
    static constexpr size_t kMaxAnswerBytes = 65536; // an answer is about 80 bytes

    // "Datenbank aktualisieren" (BitBtn1) and the update button of the main tab (SpeedButton10).
    void runUpdate();
    // The stop button: hides itself, which ends the update before the next day.
    void stop();
    // "Datenbank neu anlegen": the history is set aside as Keno.dat.bak and read again from the start.
    void rebuildHistory();

    bool running() const { return running_; }
    // Whether the last update ended on a failure (file, proxy, server address, answer, no answer)
    // rather than on today or the stop button.
    bool failed() const { return failed_; }
    int requestsSent() const { return requests_; }

private:
    // What one day brought; false when the update has to end after it (`failed_` says whether in failure).
    bool fetchDay(const std::string& url, double day, const HttpRequest& base);
    void setButtons(bool runningNow);

    Model& m_;
    Services& s_;
    Browser& browser_;
    HttpClient& http_;
    bool running_ = false;
    bool failed_ = false;
    int requests_ = 0;
};

} // namespace zf
