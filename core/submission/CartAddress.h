#pragma once
// The cart address of one ticket: the template with its placeholders filled, the encoding for the
// partner redirect, and the names of the files a hand-over keeps in "Tipps/".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zf {

inline const char* kReadyText = "Bitte überprüfen Sie jetzt den Tipp und dann können Sie ihn abgeben!";
// The portal whose cart takes the address as it is; every other one goes through the partner redirect.
inline const char* kDirectPortal = "Lottohelden";
// The shell takes an address of at most this many characters, the terminating zero included.
constexpr size_t kMaxAddressLength = 2048;

// Where the cart route sends its requests; all of it is configuration.
struct CartEndpoints {
    std::string templateServer; // base address in front of "lotto/lotto.asp?..."
    std::string cartServer;     // base address in front of "lotto/warenkorb2.asp"
    std::string redirectServer; // base address in front of "click.asp"
    std::string partnerCode;    // "mc=" of the cart address
    std::string partnerNumber;  // "ref=" of the redirect
    std::string siteNumber;     // "site=" of the redirect
};

// `base` with exactly one "/" before `path`.
std::string joinUrl(const std::string& base, const std::string& path);
std::string templateRequestUrl(const CartEndpoints& e, const std::string& portal, int tipsPerTicket);
// The template used when the template server gives none.
std::string builtInCartTemplate(const CartEndpoints& e);
std::string partnerRedirectPrefix(const CartEndpoints& e);

// What a ticket puts into the template.
struct CartValues {
    std::vector<std::string> fields; // "[KASTEN1]".. in order: the field texts of the ticket's tips
    bool plus5 = false;
    std::string stakeText;           // "2 EUR"
    std::string durationText;        // "14 Ziehungen"
    std::vector<std::string> digits; // "[LOS1]".."[LOS5]"
};

// The numbers of a tip line as a cart field: "03,07,12" gives "3,7,12"; the first empty or "0" piece
// empties the field, later ones are left out. Nothing when a piece is no whole number.
std::optional<std::string> cartFieldText(std::string_view tipLine);
// "[PREIS]": the first two characters of the stake text, trimmed, as a whole number, in cent.
std::optional<int> stakeCents(std::string_view stakeText);
// The duration text up to its first blank ("14 Ziehungen" gives "14").
std::string drawsWord(std::string_view durationText);

// Replaces every occurrence of `what` in `text`, case-sensitively.
void replaceAll(std::string& text, std::string_view what, std::string_view with);
// The placeholders in table order; the stake must have been checked with stakeCents.
std::string fillCartTemplate(std::string text, const CartValues& v);
// "=" ":" "$" "&" "/" "?" in this order as %3D %3A %24 %26 %2F %3F; "%" itself stays.
std::string percentEncode(std::string text);

// A template server's answer is used only when it is one web address (a message page aside): the
// shell must never be handed a file or a program to run.
bool isWebAddress(std::string_view text);

// "Tipps/" + yyyymmdd + "_" + n + ".kcs" with the smallest n not taken yet; both routes share it.
std::string nextTicketFile(const std::string& folder, double today);

} // namespace zf
