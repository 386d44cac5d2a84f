// The click-script route of the hand-over (AutoWebScript) and the script dialog's helpers.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "app/Model.h"
#include "app/submission/SubmissionController.h"
#include "base/Text.h"
#include "core/submission/CartAddress.h"

namespace zf {

namespace {

const std::string kMachineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvane\\Klicker";
const std::string kUserKey = "HKEY_CURRENT_USER\\SOFTWARE\\Orvane\\Klicker";
const char* kDefaultTemplate = "Script/Lotto_de_KENO.kcs";

std::string textValue(const SettingsStore& store, const std::string& key, const std::string& name) {
    const auto v = store.get(key, name);
    return v && v->type == RegType::String ? v->str : std::string();
}

// "Wed, 21 Oct 2015 07:28:00 GMT" as seconds since 1970; nothing for another form.
std::optional<long long> httpDate(const std::string& text) {
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char mon[4] = {};
    int day = 0, year = 0, h = 0, mi = 0, sec = 0;
    if (std::sscanf(text.c_str(), "%*3s, %d %3s %d %d:%d:%d GMT", &day, mon, &year, &h, &mi, &sec) != 6)
        return std::nullopt;
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (std::string(mon) == months[i]) month = i + 1;
    if (month == 0) return std::nullopt;
    using namespace std::chrono;
    const sys_days d = year_month_day{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                                      std::chrono::day(static_cast<unsigned>(day))};
    return d.time_since_epoch().count() * 86400LL + h * 3600 + mi * 60 + sec;
}

} // namespace

std::optional<std::string> SubmissionController::findKlicker() {
    for (const std::string& root : {kMachineKey, kUserKey}) {
        if (!s_.settings.keyExists(root)) continue;
        return textValue(s_.settings, root + "\\Settings", "Path") + "/Klicker.exe";
    }
    const std::string fallback = klickerFallbackPath(m_.home);
    if (fileExists(fallback)) return fallback;
    return std::nullopt;
}

void SubmissionController::fillTemplateList(ScriptDialogState& st) {
    const std::string remembered = st.templatePath;
    st.templateList.clear();
    const std::string folder = m_.home + "Script/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        if (!e.is_directory(ec) && e.path().extension() == ".kcs") st.templateList.push_back(e.path().string());
    }
    std::sort(st.templateList.begin(), st.templateList.end()); // the same order on every file system
    if (remembered.empty() && !st.templateList.empty()) st.templatePath = st.templateList.back();
}

void SubmissionController::updateScript(const std::string& templatePath) {
    if (!http_ || !fileExists(templatePath)) return;
    const std::string name = std::filesystem::path(templatePath).filename().string();
    HttpRequest req;
    req.url = joinUrl(m_.scriptServer, "scripts/" + name + ".txt");
    req.userAgent = "Mozilla/3.0 (compatible; Indy Library)";
    req.maxBodyBytes = kMaxTemplateBytes;
    req.timeoutMs = 10000;
    const HttpResponse r = http_->get(req);
    if (r.error || r.status != 200) return;
    const auto served = httpDate(r.lastModified);
    if (!served) return;
    std::error_code ec;
    const auto local = std::filesystem::last_write_time(templatePath, ec);
    if (ec) return;
    const auto localSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(local).time_since_epoch())
            .count();
    if (*served <= localSeconds) return;
    writeFileAtomic(templatePath, r.body); // a failure leaves the old template; nothing to report
}

bool SubmissionController::handOverScripts(GameOptions& o, const std::string& templatePath,
                                           const std::string& klickerExe) {
    const auto& lines = m_.tipLines;
    if (lines.empty()) {
        s_.prompter.message("Die Tippliste ist leer. Es wurde nichts abgegeben.");
        return false;
    }
    std::string bytes, error;
    if (!readRegularFile(templatePath, bytes, kMaxTemplateBytes, &error)) {
        s_.prompter.message("Die Script-Vorlage \"" + templatePath + "\" kann nicht gelesen werden (" + error + ").");
        return false;
    }
    const ScriptText tmpl = decodeScript(bytes);
    const std::string folder = ticketFolder();
    const ScriptDialogState& p = scriptState;
    size_t i = 0;
    while (i < lines.size()) {
        ScriptValues v;
        v.tipsPerTicket = m_.num(Num::TipsPerTicket).pos;
        v.kenoType = m_.num(Num::KenoType).pos;
        for (int k = 0; k < v.tipsPerTicket && i < lines.size(); ++k, ++i) v.tipLines.push_back(lines[i]);
        if (v.tipLines.size() < static_cast<size_t>(v.tipsPerTicket)) i = lines.size();
        v.plus5 = o.plus5;
        v.stakeText = o.stakeText;
        v.durationText = o.durationText;
        for (int d = 0; d < 5; ++d) v.digits.push_back(o.digitText(d));
        std::string bad;
        const auto filled = fillScript(tmpl.utf8, v, &bad);
        if (!filled) {
            s_.prompter.message("Die Tippzeile \"" + bad + "\" enthält etwas, das keine Zahl ist.");
            return false;
        }
        const std::string path = nextTicketFile(folder, s_.clock.now());
        std::string error;
        if (!writeFileAtomic(path, encodeScript(*filled, tmpl.encoding), &error)) {
            s_.prompter.message(error);
            return false;
        }
        if (!klickerExe.empty()) {
            const bool linked = dde_ && dde_->execute(kKlickerService, kKlickerTopic, klickerCommand(path));
            if (!linked) {
                const std::string params = klickerParameterLine(path, p.zahl1, p.text1, p.zahl2, p.text2);
                if (params.size() >= kMaxKlickerLine || klickerExe.size() >= kMaxKlickerLine) {
                    s_.prompter.message("Der Aufruf von Klicker ist zu lang (höchstens " +
                                        std::to_string(kMaxKlickerLine - 1) +
                                        " Zeichen). Kürzen Sie die Parameter oder den Pfad.");
                    return false;
                }
                if (!s_.shell.open(klickerExe, params)) {
                    s_.prompter.message("Klicker konnte nicht gestartet werden.");
                    return false;
                }
            }
        }
        if (onScript) onScript(path);
        if (i < lines.size()) {
            if (!klickerExe.empty()) s_.prompter.message("Wenn der erste Schein abgegeben ist, klicken Sie auf OK!");
            neverDrawnTicket(o);
        }
    }
    return true;
}

bool SubmissionController::scriptRoute(GameOptions& o) {
    const auto klicker = findKlicker();
    ScriptDialogState& st = scriptState;
    if (klicker) {
        s_.settings.createKey(kUserKey);
        const std::string stored = textValue(s_.settings, kUserKey, "KenoScript");
        const std::string tmpl = stored.empty() ? m_.home + kDefaultTemplate : stored;
        st.zahl1 = textValue(s_.settings, kUserKey, "KenoZahl1");
        st.text1 = textValue(s_.settings, kUserKey, "KenoText1");
        st.zahl2 = textValue(s_.settings, kUserKey, "KenoZahl2");
        st.text2 = textValue(s_.settings, kUserKey, "KenoText2");
        if (fileExists(*klicker)) {
            st.scriptFolder = m_.home + "Script/";
            if (fileExists(tmpl)) st.templatePath = tmpl;
            fillTemplateList(st);
            st.onOk = [this](const std::string& path) { updateScript(path); };
            const bool ok = s_.dialogs.submission.scriptDialog(st);
            st.onOk = nullptr;
            if (!ok) return false; // cancelled: nothing handed over, nothing said
            if (st.zahl1.empty()) st.zahl1 = "0";
            if (st.zahl2.empty()) st.zahl2 = "0";
            s_.settings.set(kUserKey, "KenoScript", RegValue::ofString(st.templatePath));
            s_.settings.set(kUserKey, "KenoZahl1", RegValue::ofString(st.zahl1));
            s_.settings.set(kUserKey, "KenoText1", RegValue::ofString(st.text1));
            s_.settings.set(kUserKey, "KenoZahl2", RegValue::ofString(st.zahl2));
            s_.settings.set(kUserKey, "KenoText2", RegValue::ofString(st.text2));
            if (!handOverScripts(o, st.templatePath, *klicker)) return false;
            if (m_.on(Opt::WriteProtocol) && o.stakeItem >= 0) m_.stakeItem = o.stakeItem;
            finishHandOver(o);
            return true;
        }
    }
    if (s_.prompter.questionTitled("Orvanes Klicker installieren?", "Klicker jetzt installieren?"))
        s_.shell.open(joinUrl(m_.klickerDownload, "dateien/klickerp.exe"));
    return false;
}

} // namespace zf
