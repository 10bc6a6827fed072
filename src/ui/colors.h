// The colour scheme functions. The program switches schemes by calling them
// as statements; on a windowed display they have nothing to switch, so each
// returns the empty string and changes nothing.
#pragma once

#include <array>
#include <string_view>

namespace qv::ui {

inline constexpr std::array<std::string_view, 19> kColorSchemeNames = {
    "NOCOLOR",       "FLSCOLOR",      "REVCOLOR",     "NRMCOLOR",     "DIMCOLOR",
    "UNDCOLOR",      "BLUEONGREY",    "YELLOWONGREY", "YELLOWONBLUE", "YELLOWONMAGENTA",
    "MAGENTAONGREY", "BRIBLUEONGREY", "YELLOWONBK",   "BLACKONGREY",  "BLACKONWHITE",
    "GREYONBLUE",    "WHITEONBLUE",   "WHITEONGREY",  "WHITEONPGREY"};

}  // namespace qv::ui
