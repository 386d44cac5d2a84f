#include "app/draws/Update.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "base/GermanFormat.h"
#include "base/Text.h"

namespace zf {
namespace {

// Proxy port as typed: a whole number 0..65535.
std::optional<int> portNumber(std::string_view text) {
    const auto v = answerNumber(text);
    if (!v || *v < 0 || *v > 65535) return std::nullopt;
    return v;
}

// RAII: whatever happens inside the update, it ends as not running.
struct RunningFlag {
    bool& flag;
    explicit RunningFlag(bool& f) : flag(f) { flag = true; }
    ~RunningFlag() { flag = false; }
};

} // namespace

UpdateController::UpdateController(Model& m, Services& s, Browser& browser, HttpClient& http)
    : m_(m), s_(s), browser_(browser), http_(http) {}

void UpdateController::setButtons(bool runningNow) {
    m_.updateButtonEnabled = !runningNow;
    m_.mainUpdateEnabled = !runningNow;
    m_.stopUpdateVisible = runningNow;
    m_.notify(ChangeOptions | ChangeStatus);
}

void UpdateController::stop() {
    if (!m_.stopUpdateVisible) return;
    m_.stopUpdateVisible = false;
    m_.notify(ChangeOptions);
    http_.cancel(); // a request still waiting for the server ends now, not after its timeout
}

void UpdateController::runUpdate() {
    if (running_) return; // the buttons are disabled meanwhile; a second start would only interleave
    RunningFlag flag(running_);
    failed_ = false;
    setButtons(true);

    double day = 0; // the day being requested, kept here so a seek meanwhile cannot move it
    bool mayRequest = true;
    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (!m_.draws.createEmptyIfMissing(&error) || !m_.draws.refresh(&error)) {
        s_.prompter.message("Die Ziehungen können nicht aktualisiert werden.\n" + error);
        mayRequest = false;
        failed_ = true;
    }
    const double last = m_.draws.lastDate();
    day = last > 0 ? std::max(last + 1, kFirstDrawDay) : kFirstDrawDay;
    m_.setBrowseDate(day);
    m_.workDate = day;
    m_.notify(ChangeDates);

    HttpRequest request;
    request.timeoutMs = timeoutMs;
    request.maxBodyBytes = kMaxAnswerBytes;
    request.proxyHost = std::string(trimView(m_.proxyHost));
    if (mayRequest && !request.proxyHost.empty()) {
        // Without a proxy host the port means nothing and is not looked at.
        if (const auto port = portNumber(m_.proxyPort)) {
            request.proxyPort = *port;
        } else {
            s_.prompter.message("Der Proxy-Port \"" + m_.proxyPort +
                                "\" ist keine Portnummer (eine ganze Zahl von 0 bis 65535).\n"
                                "Die Ziehungen wurden nicht aktualisiert.");
            mayRequest = false;
            failed_ = true;
        }
    }
    // Taken once, like the proxy: an edit of the field meanwhile applies to the next update.
    const std::string server = m_.downloadServer;
    if (mayRequest && !drawRequestUrl(server, day)) {
        s_.prompter.message("Die Adresse des Download-Servers \"" + m_.downloadServer +
                            "\" ist keine http- oder https-Adresse.\nDie Ziehungen wurden nicht aktualisiert.");
        mayRequest = false;
        failed_ = true;
    }

    while (mayRequest && day <= std::floor(s_.clock.now()) && m_.stopUpdateVisible) {
        const bool goOn = fetchDay(*drawRequestUrl(server, day), day, request);
        if (afterDay) afterDay(day);
        if (!goOn) m_.stopUpdateVisible = false;
        day += 1;
        m_.setBrowseDate(day);
        m_.notify(ChangeDates | ChangeOptions);
        if (pumpEvents) pumpEvents();
    }

    setButtons(false);
    // The day after the last one requested: the seek makes the latest stored draw current.
    m_.setBrowseDate(day);
    m_.drawTextMain = m_.drawText;
    browser_.seekDate();
    checkAllTips(m_, s_.sound);
    m_.notify(ChangeDraw | ChangeDates | ChangeHits | ChangeStatus);
}

bool UpdateController::fetchDay(const std::string& url, double day, const HttpRequest& base) {
    m_.setStatus(0, "Loading");
    HttpRequest request = base;
    request.url = url;
    ++requests_;
    const HttpResponse r = http_.get(request);
    m_.setStatus(0, "Received " + std::to_string(r.body.size()) + " bytes");
    m_.setStatus(1, "Alle Angaben ohne Gewähr!!");

    if (r.error && !m_.stopUpdateVisible) {
        m_.setStatus(1, "Aktualisierung abgebrochen.");
        return false;
    }
    if (r.error) {
        // No answer at all: the next days would only wait for the same timeout, and a day skipped
        // now would stay a gap, as the next update starts after the last stored draw.
        m_.setStatus(0, "Failed : " + std::to_string(r.status) + " " + r.statusText);
        m_.setStatus(1, "Keine verwertbare Antwort vom Server, Aktualisierung beendet.");
        failed_ = true;
        return false;
    }
    if (r.status > 200 || r.body.empty()) {
        if (r.status == 500)
            m_.setStatus(0, formatDate(day) + " noch nicht verfügbar!");
        else
            m_.setStatus(0, "Failed : " + std::to_string(r.status) + " " + r.statusText);
        return true;
    }

    const DrawAnswer answer = parseDrawAnswer(r.body, s_.clock.now());
    switch (answer.kind) {
    case DrawAnswer::Skip:
        return true;
    case DrawAnswer::Invalid:
        m_.setStatus(0, formatDate(day) + " fehlerhaft: " + answer.problem);
        m_.setStatus(1, "Nichts gespeichert, Aktualisierung beendet.");
        failed_ = true;
        return false;
    case DrawAnswer::Draw:
        break;
    }

    std::string error;
    m_.draws.setPath(m_.kenoPath());
    if (!m_.draws.refresh(&error)) {
        s_.prompter.message("Die Ziehung vom " + formatDate(answer.record.datum) + " kann nicht gespeichert werden.\n" +
                            error);
        failed_ = true;
        return false;
    }
    // The history is only ever extended here; an answer for a date already covered is left out
    // rather than rewriting stored draws from the network.
    if (answer.record.datum <= m_.draws.lastDate() || m_.draws.hasDate(answer.record.datum)) {
        m_.setStatus(0, formatDate(answer.record.datum) + " schon vorhanden");
        return true;
    }
    browser_.makeCurrent(answer.record, 3, 3);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw);
    if (!m_.draws.append(answer.record, &error)) {
        s_.prompter.message("Die Ziehung vom " + formatDate(answer.record.datum) + " kann nicht gespeichert werden.\n" +
                            error);
        failed_ = true;
        return false;
    }
    m_.workDate = answer.record.datum;
    return true;
}

void UpdateController::rebuildHistory() {
    if (running_) return;
    const std::string path = m_.kenoPath();
    m_.draws.setPath(path);
    if (m_.draws.fileExists()) {
        // Reading everything again takes thousands of requests; if that fails half-way the old
        // history must still be there. Copied and emptied through the writer, a linked or
        // write-protected Keno.dat keeps its link and its protection.
        const std::string backup = path + ".bak";
        const std::string why = [&]() -> std::string {
            FileLock lock(path);
            if (!lock.locked()) return lock.error();
            std::string error, old;
            if (!mayReplace(path, &error)) return error;
            if (!readFile(path, old)) return "Keno.dat kann nicht gelesen werden.";
            if (!writeFileAtomic(backup, old, &error) || !writeFileAtomic(path, {}, &error)) return error;
            return {};
        }();
        if (!why.empty()) {
            s_.prompter.message("Keno.dat kann nicht nach " + backup +
                                " gesichert werden; die Datenbank wird nicht neu angelegt.\n" + why);
            return;
        }
        m_.draws.refresh();
    }
    runUpdate();
}

} // namespace zf
