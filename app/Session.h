#pragma once
// One running program without its window: the model, every controller and the seams they use,
// wired once. The desktop program, the batch program, the tests and the benchmarks each create one.
#include <functional>
#include <memory>

#include "app/AppController.h"
#include "app/Model.h"
#include "draws/Browser.h"
#include "draws/Export.h"
#include "draws/ImportController.h"
#include "draws/ManualEntry.h"
#include "draws/Update.h"
#include "evaluation/Backtest.h"
#include "evaluation/TipSearch.h"
#include "generator/Enumeration.h"
#include "generator/GeneratorController.h"
#include "mail/MailController.h"
#include "platform/HttpClient.h"
#include "platform/Services.h"
#include "players/PlayersController.h"
#include "stats/StatsController.h"
#include "submission/SubmissionController.h"
#include "tips/TipListController.h"

namespace zf {

class Session {
public:
    // Without an HTTP client there is no internet update (`update` stays empty) and the cart route
    // uses its built-in template; without a DDE client Klicker is started by its executable.
    Session(Prompter& prompter, Shell& shell, SoundPlayer& sound, Clock& clock, SettingsStore& settings,
            HttpClient* http = nullptr, DdeClient* dde = nullptr);
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
