#pragma once
// The tip check (one tip line against the current draw) and the hit check of the whole tip list.
#include <string_view>

namespace zf {

class Model;
class SoundPlayer;

// Splits one tip line into TippZahl and counts its hits against Zahl into Gewinn.
void checkTip(Model& m, std::string_view line);

// The hit check of the whole list: hits column, Statistik, win sound, status text. Returns the best.
int checkAllTips(Model& m, SoundPlayer& sound);

} // namespace zf
