#include "app/draws/Export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/draws/Update.h"
#include "base/GermanFormat.h"
#include "base/SystemError.h"
#include "base/Text.h"

namespace zf {
namespace {

// A small file written directly: thousands of them must not each wait for the disk.
bool writeSmallFile(const std::string& path, const std::string& text, std::string* error) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        *error = systemReason(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) *error = systemReason(errno);
    return written && closed;
}

} // namespace

bool DrawExport::exportText() {
    const FileDialogSetup setup{"txt", kExportFilter, m_.home + "KenoZahlen", m_.home, "Export nach Text"};
    // The file type chosen in the dialog picks the layout.
    const std::optional<FileChoice> choice = s_.prompter.saveFileChoice(setup);
    if (!choice || choice->path.empty()) return false;
    const int layout = choice->filterIndex >= 1 && choice->filterIndex <= 5 ? choice->filterIndex : 1;

    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (!m_.draws.refresh(&error)) {
        s_.prompter.message("Die Ziehungen können nicht gelesen werden; es wurde nichts exportiert.\n" + error);
        return false;
    }
    const double from = m_.browseDate;
    m_.workDate = from;
    std::vector<std::string> lines;
    for (const DrawRecord& r : m_.draws.records())
        if (r.datum >= from) lines.push_back(exportLine(r, layout));
    if (!writeTextLines(choice->path, lines, &error)) {
        s_.prompter.message("Die Datei " + choice->path + " kann nicht geschrieben werden (" + error + ").");
        return false;
    }
    m_.setStatus(1, std::to_string(lines.size()) + " Ziehungen exportiert nach " + choice->path);
    return true;
}

int DrawExport::exportSingleFiles() {
    m_.draws.setPath(m_.kenoPath());
    if (!m_.draws.refresh() || m_.draws.empty() || m_.drawDate <= 0) {
        s_.prompter.message("Lesen Sie zuerst die Daten der Ziehungen ein");
        return 0;
    }
    int written = 0;
    for (;;) {
        DrawRecord r;
        r.datum = m_.drawDate;
        for (size_t i = 0; i < 20; ++i) r.zahl[i] = static_cast<uint8_t>(m_.drawNumbers[i + 1]);
        for (size_t i = 0; i < 5; ++i) r.zahl5[i] = static_cast<uint8_t>(m_.drawPlus5[i + 1]);
        r.flags = m_.drawHasPlus5 ? 0 : kFlagNoPlus5;
        const std::string name = formatYmdCompact(r.datum) + ".txt";
        std::string error;
        if (!writeSmallFile(name, drawAnswerText(r), &error)) {
            s_.prompter.message("Die Datei " + name + " kann nicht geschrieben werden (" + error + ").");
            break;
        }
        ++written;
        const double previous = m_.drawDate;
        browser_.next();
        if (m_.drawDate == previous) break;
    }
    return written;
}

} // namespace zf
