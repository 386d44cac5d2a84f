#pragma once
// One running program without its window: the model, every controller and the seams they use,
// wired once. The desktop program, the batch program, the tests and the benchmarks each create one.
#include <functional>
#include <memory>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Services.h"
#include "app/draws/Browser.h"
#include "app/draws/Export.h"
#include "app/draws/ImportController.h"
#include "app/draws/ManualEntry.h"
#include "app/draws/Update.h"
#include "app/evaluation/Backtest.h"
#include "app/evaluation/TipSearch.h"
#include "app/generator/Enumeration.h"
#include "app/generator/GeneratorController.h"
#include "app/mail/MailController.h"
#include "app/players/PlayersController.h"
#include "app/stats/StatsController.h"
#include "app/submission/SubmissionController.h"
#include "app/tips/TipListController.h"
#include "core/ports/HttpClient.h"

namespace zf {

class Session {
public:
    // Without an HTTP client there is no internet update (`update` stays empty) and the cart route
    // uses its built-in template; without a DDE client Klicker is started by its executable.
    Session(Prompter& prompter, Dialogs dialogs, Shell& shell, SoundPlayer& sound, Clock& clock,
            SettingsStore& settings, HttpClient* http = nullptr, DdeClient* dde = nullptr);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Lets the front end's pending events run between slices of long work (generator, update).
    void setEventPump(const std::function<void()>& pump);

    Services services;
    Model model;
    Browser browser;
    StatsController stats;
    TipListController tips;
    GeneratorController generator;
    Enumeration enumeration; // "Tipps erzeugen", plugged into the generator's run
    TipSearch tipSearch;     // "Tipps in DB suchen"
    Backtest backtest;       // the seven historic analyses of the tab "Datenbank"
    DrawExport exporter;
    ManualEntry entry;
    DrawImporter importer; // "Ziehungen importieren"
    std::unique_ptr<UpdateController> update;
    PlayersController players; // the tab "Mitspieler"
    MailController mail;       // the mail dialog and the players' status mail
    AppController app;
    SubmissionController submission; // "Tipps in den Warenkorb"; its stakeBooking is the players' hook
};

} // namespace zf
