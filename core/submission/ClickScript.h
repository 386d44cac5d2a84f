#pragma once
// Click scripts for Klicker: a template with placeholders, filled once per ticket, kept in the
// encoding the template came in, and the command line that starts Klicker with one.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zf {

// Marks a number position the ticket leaves empty (no Keno number is 71).
inline const char* kEmptyPosition = "71";
inline const char* kKlickerService = "klicker";
inline const char* kKlickerTopic = "ddeklicker";
// Klicker takes an executable path and a parameter line of at most this many characters.
constexpr size_t kMaxKlickerLine = 1024;

// What a ticket puts into the template.
struct ScriptValues {
    std::vector<std::string> tipLines; // the ticket's tips; fewer than tipsPerTicket at the end of the list
    int tipsPerTicket = 5;
    int kenoType = 10; // numbers per tip
    bool plus5 = false;
    std::string stakeText;           // "[PREIS]" as shown
    std::string durationText;        // "[ZIEHUNGEN]"
    std::vector<std::string> digits; // "[LOS1]".."[LOS5]"
};

// The template with every placeholder of a ticket filled; nothing when a number of a tip line is no
// whole number (`badLine` then names the line).
std::optional<std::string> fillScript(std::string text, const ScriptValues& v, std::string* badLine = nullptr);

// A template file's text and the encoding it came in.
enum class TextEncoding {
    Ansi,    // no byte-order mark: Windows-1252
    Utf8Bom, // EF BB BF
    Utf16Le, // FF FE
    Utf16Be  // FE FF
};
struct ScriptText {
    std::string utf8;
    TextEncoding encoding = TextEncoding::Ansi;
};
ScriptText decodeScript(std::string_view bytes);
// The lines of `utf8`, each ended by CR LF, in `encoding` (with its byte-order mark).
std::string encodeScript(std::string_view utf8, TextEncoding encoding);

// The script dialog (TKcsForm): the template and Klicker's four free parameters.
struct ScriptDialogState {
    std::string templatePath;              // LabeledEdit1
    std::vector<std::string> templateList; // its drop-down: the "*.kcs" files of "Script/"
    std::string zahl1 = "0", text1 = "Login", zahl2 = "0", text2 = "Passwort"; // LabeledEdit2..5
    std::string scriptFolder;                                                  // where the file dialog opens
    // Called by OK before the dialog closes: the script update (BitBtn2Click).
    std::function<void(const std::string& templatePath)> onOk;
};

// Klicker's DDE execute command: "SCRIPT", the path, each line ended, and a closing zero byte.
std::string klickerCommand(const std::string& scriptPath);
// "START" and the five arguments, each in double quotes. A double quote inside an argument is
// written as three double quotes, which the launcher reads as one literal quote inside the argument.
std::string klickerParameterLine(const std::string& scriptPath, const std::string& zahl1, const std::string& text1,
                                 const std::string& zahl2, const std::string& text2);
// Klicker's executable: the registered folder + "/Klicker.exe", or, when none is registered, the
// program folder cut after the word "ORVANE" (any case) and the character behind it, + "Klicker/klicker.exe".
std::string klickerFallbackPath(const std::string& programFolder);

} // namespace zf
