#pragma once
// "Tipps in den Warenkorb": the game options dialog, then the tips handed over ticket by ticket as
// cart addresses opened in the browser or as click scripts for Klicker.
#include <functional>
#include <optional>
#include <string>

#include "app/Services.h"
#include "core/ports/HttpClient.h"
#include "core/submission/ClickScript.h"
#include "core/submission/GameOptions.h"

namespace zf {

class Model;

// The account protocol entry and the stake booking of a hand-over, with the dialog's whole cost.
// Called once per hand-over, after its last ticket, when the protocol option (CheckBox16) is ticked
// and every ticket was handed over; never after an error or a refusal. The players table fills it;
// until then it is empty and nothing is booked.
using StakeBooking = std::function<void(double wholeCost)>;

class SubmissionController : public GameOptionsActions {
public:
    // Without an HTTP client the cart route uses its built-in template; without a DDE client Klicker
    // is always started by its executable.
    SubmissionController(Model& m, Services& s, HttpClient* http, DdeClient* dde);

    // SpeedButton12Click: prepares and shows the dialog, then runs the route chosen. True when
    // tickets were handed over completely.
    bool handOver();
    // The dialog filled as the command fills it (also what the batch program starts from).
    GameOptions prepareOptions();
    // The cart route (SpeedButton17Click) and the click-script route (AutoWebScript) on options the
    // dialog left; each books through `stakeBooking` when it handed everything over.
    bool cartRoute(GameOptions& o);
    bool scriptRoute(GameOptions& o);

    // Klicker's executable as the registry entries or the program folder name it; found only when
    // the fallback file exists. Nothing when Klicker is not installed.
    std::optional<std::string> findKlicker();
    // Fills one script per ticket from the template, writes it to "Tipps/" and hands it to Klicker
    // (`klickerExe`; empty: the scripts are only written). True when every ticket was done.
    bool handOverScripts(GameOptions& o, const std::string& templatePath, const std::string& klickerExe);
    // The script update (BitBtn2Click): a newer template on the script server replaces the local one.
    // Fails silently; the dialog closes with OK anyway.
    void updateScript(const std::string& templatePath);
    // FormShow of TKcsForm: the "*.kcs" files of "Script/" (created when missing) into the list.
    void fillTemplateList(ScriptDialogState& st);

    // GameOptionsActions: the dialog's own buttons.
    void randomTicket(GameOptions& o) override;
    void neverDrawnTicket(GameOptions& o) override;
    void checkTicket(const GameOptions& o) override;

    StakeBooking stakeBooking;
    ScriptDialogState scriptState; // TKcsForm, kept between showings
    // Lets the window run during the pause between tickets; without it there is no pause.
    std::function<void()> pumpEvents;
    int pauseMs = 2000;
    // The batch program: the template server's answer (status 200) instead of a request, or, when
    // `requestTemplate` is false and no answer is given, the built-in template without a request.
    std::optional<std::string> templateAnswer;
    bool requestTemplate = true;
    // Told of every address opened and every script handed over (the batch program prints them).
    std::function<void(const std::string&)> onOpened;
    std::function<void(const std::string&)> onScript;

private:
    bool loadDraws(std::string* error);
    std::optional<std::string> cartTemplate(bool& messagePage);
    void pause();
    void finishHandOver(const GameOptions& o);
    std::string ticketFolder();

    Model& m_;
    Services& s_;
    HttpClient* http_;
    DdeClient* dde_;
};

} // namespace zf
