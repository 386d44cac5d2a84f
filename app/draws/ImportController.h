#pragma once
// "Ziehungen importieren": draws from a user's text file merged into Keno.dat, with the question about
// dates stored with other numbers and one German summary at the end.
#include <string>
#include <vector>

#include "app/Services.h"

namespace zf {

class Model;
class Browser;

struct ImportOutcome {
    bool failed = false;              // nothing stored because of an error (file unusable, Keno.dat not written)
    std::vector<std::string> summary; // German, one sentence per line
};

class DrawImporter {
public:
    DrawImporter(Model& m, Services& s, Browser& browser) : m_(m), s_(s), browser_(browser) {}

    // The button: asks for the file, imports it and shows the summary. False when nothing was chosen
    // or the import failed.
    bool importDraws();
    // Imports one file. Dates stored with other numbers are replaced only when the prompter says "Ja"
    // (the question defaults to "Nein").
    ImportOutcome importFile(const std::string& path);

private:
    Model& m_;
    Services& s_;
    Browser& browser_;
};

} // namespace zf
