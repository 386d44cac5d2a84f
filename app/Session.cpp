#include "app/Session.h"

#include "core/players/Protocol.h"

namespace zf {

Session::Session(Prompter& prompter, Dialogs dialogs, Shell& shell, SoundPlayer& sound, Clock& clock,
                 SettingsStore& settings, HttpClient* http, DdeClient* dde)
    : services{prompter, dialogs, shell, sound, clock, settings}, browser(model, services), stats(model, prompter),
      tips(model, services, browser), generator(model, services, browser), enumeration(model, prompter),
      tipSearch(model, services, browser), backtest(model, services, browser, generator),
      exporter(model, services, browser), entry(model, services, browser), importer(model, services, browser),
      update(http ? std::make_unique<UpdateController>(model, services, browser, *http) : nullptr),
      players(model, services), mail(model, services, players),
      app(model, services, browser, tips, stats, update.get()), submission(model, services, http, dde) {
    generator.setEnumeration(&enumeration);
    app.setPlayers(&players);
    // A hand-over's protocol line and its stake, booked with the co-players once it is complete.
    submission.stakeBooking = [this](double wholeCost) {
        model.price = wholeCost;
        if (players.appendLine(ticketProtocolLine(wholeCost))) players.bookStake();
    };
}

void Session::setEventPump(const std::function<void()>& pump) {
    generator.eventPump = pump;
    enumeration.eventPump = pump;
    tipSearch.eventPump = pump;
    mail.eventPump = pump;
    backtest.eventPump = pump;
    if (update) update->pumpEvents = pump;
    submission.pumpEvents = pump;
}

} // namespace zf
