#pragma once
// The real draw history shipped with the program (Keno.dat records, without Plus 5 numbers).
#include <cstdint>
#include <span>

namespace zf {

std::span<const uint8_t> bundledHistory();

} // namespace zf
