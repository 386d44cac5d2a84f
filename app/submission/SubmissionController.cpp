#include "app/submission/SubmissionController.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/Model.h"
#include "base/Parse.h"
#include "base/Text.h"
#include "core/submission/CartAddress.h"

namespace zf {

SubmissionController::SubmissionController(Model& m, Services& s, HttpClient* http, DdeClient* dde)
    : m_(m), s_(s), http_(http), dde_(dde) {}

bool SubmissionController::loadDraws(std::string* error) {
    m_.draws.setPath(m_.kenoPath());
    return m_.draws.refresh(error);
}

void SubmissionController::randomTicket(GameOptions& o) { o.randomTicket(m_.random); }

void SubmissionController::neverDrawnTicket(GameOptions& o) {
    std::string error;
    if (!loadDraws(&error)) {
        s_.prompter.message(error); // the digits keep their value
        return;
    }
    o.neverDrawnTicket(m_.random, m_.draws.records());
}

void SubmissionController::checkTicket(const GameOptions& o) {
    std::string error;
    if (!loadDraws(&error)) {
        s_.prompter.message(error);
        return;
    }
    for (const std::string& text : ticketCheckMessages(o.ticketNumber(), m_.draws.records())) s_.prompter.message(text);
}

GameOptions SubmissionController::prepareOptions() {
    GameOptions o = m_.gameOptions; // the dialog keeps its controls between showings
    const auto fee = feeOf(m_.feeText);
    if (!fee)
        s_.prompter.message("Die Bearbeitungsgebühr \"" + m_.feeText.substr(0, 40) +
                            "\" liegt nicht zwischen 0 und 1.000 €; es werden 0,25 € berechnet.");
    o.fee = fee.value_or(kFeeWhenNoNumber);
    o.plus5 = m_.plus5;
    o.tips = static_cast<int>(m_.tipLines.size());
    if (m_.stakeItem < 0 || m_.stakeItem >= static_cast<int>(stakeItems().size())) m_.stakeItem = 0;
    o.stakeItem = m_.stakeItem;
    o.stakeText = stakeItems()[static_cast<size_t>(o.stakeItem)].caption;
    for (size_t i = 0; i < 5; ++i) o.digits[i] = m_.plus5Ticket[i + 1];
    o.computeCost();
    std::string error;
    o.plus5Note = loadDraws(&error) && !anyKnownPlus5(m_.draws.records())
                      ? "Die Ziehungen der Datenbank haben keine bekannte Plus-5-Zahl."
                      : "";
    if (o.ticketNumber() == 0) neverDrawnTicket(o);
    return o;
}

bool SubmissionController::handOver() {
    GameOptions o = prepareOptions();
    const GameChoice choice = s_.dialogs.submission.gameOptionsDialog(o, *this);
    m_.gameOptions = o;
    for (size_t i = 0; i < 5; ++i) m_.plus5Ticket[i + 1] = o.digits[i];
    m_.price = o.price;
    bool done = false;
    if (choice == GameChoice::Cart)
        done = cartRoute(o);
    else if (choice == GameChoice::Klicker)
        done = scriptRoute(o);
    m_.gameOptions = o; // the ticket numbers drawn between tickets stay
    for (size_t i = 0; i < 5; ++i) m_.plus5Ticket[i + 1] = o.digits[i];
    m_.plus5 = o.plus5;
    m_.notify(ChangeOptions);
    return done;
}

std::string SubmissionController::ticketFolder() {
    const std::string folder = m_.home + "Tipps/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec); // a missing folder is made, not an error
    return folder;
}

void SubmissionController::pause() {
    if (!pumpEvents || pauseMs <= 0) return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(pauseMs);
    while (std::chrono::steady_clock::now() < end) {
        pumpEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SubmissionController::finishHandOver(const GameOptions& o) {
    if (m_.on(Opt::WriteProtocol) && stakeBooking) stakeBooking(o.price);
}

// The template of the cart route; nothing after an error (the message is shown). A message page of
// the server is written to "Meldung.htm" and opened instead.
std::optional<std::string> SubmissionController::cartTemplate(bool& messagePage) {
    messagePage = false;
    std::optional<std::string> body = templateAnswer;
    if (!body && requestTemplate && http_) {
        const auto port = parseInt32(m_.proxyPort);
        if (!m_.proxyHost.empty() && (!port || *port < 1 || *port > 65535)) {
            s_.prompter.message("Der Proxy-Port \"" + m_.proxyPort + "\" ist keine gültige Zahl.");
            return std::nullopt;
        }
        HttpRequest req;
        req.url = templateRequestUrl(m_.cart, m_.portal, m_.num(Num::TipsPerTicket).pos);
        req.proxyHost = m_.proxyHost;
        req.proxyPort = port.value_or(80);
        req.maxBodyBytes = kMaxTemplateBytes;
        const HttpResponse r = http_->get(req);
        if (r.error) {
            s_.prompter.message("Die Vorlage für den Warenkorb konnte nicht geholt werden (" + r.statusText +
                                "). Es wurde nichts abgegeben.");
            return std::nullopt;
        }
        if (r.status > 0 && r.status <= 200) body = r.body;
    }
    if (!body) return builtInCartTemplate(m_.cart);
    if (body->find("Mitteilung") != std::string::npos) {
        messagePage = true;
        const std::string page = m_.home + "Meldung.htm";
        std::string error;
        if (!writeFileAtomic(page, *body, &error)) {
            s_.prompter.message(error);
            return std::nullopt;
        }
        s_.shell.open(page);
        if (onOpened) onOpened(page);
        return std::nullopt;
    }
    return body;
}

bool SubmissionController::cartRoute(GameOptions& o) {
    bool messagePage = false;
    const auto tmpl = cartTemplate(messagePage);
    if (!tmpl) return messagePage; // a message page is the server's answer, no error
    if (!isWebAddress(*tmpl)) {
        s_.prompter.message("Die Vorlage für den Warenkorb ist keine Internetadresse. Es wurde nichts abgegeben.");
        return false;
    }
    if (!stakeCents(o.stakeText)) {
        s_.prompter.message("Der Einsatz \"" + o.stakeText + "\" beginnt nicht mit einem Betrag in Euro.");
        return false;
    }
    const auto& lines = m_.tipLines;
    if (lines.empty()) {
        s_.prompter.message("Die Tippliste ist leer. Es wurde nichts abgegeben.");
        return true;
    }
    const bool direct = m_.portal == kDirectPortal;
    const int perTicket = m_.num(Num::TipsPerTicket).pos;
    const std::string folder = ticketFolder();
    size_t i = 0;
    while (i < lines.size()) {
        CartValues v;
        for (int k = 1; k <= perTicket; ++k, ++i) {
            if (i >= lines.size()) {
                v.fields.emplace_back();
                continue;
            }
            const auto field = cartFieldText(lines[i]);
            if (!field) {
                s_.prompter.message("Die Tippzeile \"" + lines[i] + "\" enthält etwas, das keine Zahl ist.");
                return false;
            }
            v.fields.push_back(*field);
        }
        v.plus5 = o.plus5;
        v.stakeText = o.stakeText;
        v.durationText = o.durationText;
        for (int d = 0; d < 5; ++d) v.digits.push_back(o.digitText(d));
        std::string text = fillCartTemplate(*tmpl, v);
        if (!direct) text = percentEncode(text);
        const std::string address(trimView(direct ? text : partnerRedirectPrefix(m_.cart) + text));
        if (address.size() >= kMaxAddressLength) {
            s_.prompter.message("Die Adresse des Warenkorbs ist mit " + std::to_string(address.size()) +
                                " Zeichen zu lang (höchstens " + std::to_string(kMaxAddressLength - 1) +
                                "). Dieser Schein wurde nicht abgegeben.");
            return false;
        }
        std::string error;
        if (!writeTextLines(nextTicketFile(folder, s_.clock.now()), {text}, &error)) {
            s_.prompter.message(error);
            return false;
        }
        if (!s_.shell.open(address)) {
            s_.prompter.message("Der Browser konnte die Adresse des Warenkorbs nicht öffnen.");
            return false;
        }
        if (onOpened) onOpened(address);
        if (i < lines.size()) {
            neverDrawnTicket(o);
            pause();
        }
    }
    if (o.stakeItem >= 0) m_.stakeItem = o.stakeItem;
    finishHandOver(o);
    return true;
}

} // namespace zf
