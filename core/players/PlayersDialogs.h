#pragma once
// The players' dialog port.
#include <optional>
#include <string>

namespace zf {

class PlayersDialogs {
public:
    virtual ~PlayersDialogs() = default;
    // The stake dialog `TForm9` ("Einsatz bei den Mitspielern eintragen") with `proposal` in its edit:
    // the edit's text after OK, nothing after "Abbrechen".
    virtual std::optional<std::string> stakeDialog(const std::string& proposal) { return proposal; }
};

} // namespace zf
