// Small value helpers shared by the commands: the one-letter answers "Y" and
// "N", name and address capitalisation, and blanks shown as dots in notes.
#pragma once

#include <string>
#include <string_view>

namespace qv::ui {

// "Y" when flag is true, else "N".
std::string YesNo(bool flag);

// True when text begins with an upper-case "Y" ("" and "y..." give false).
bool TrueFalse(std::string_view text);

// The text capitalised as a name or address: runs of blanks become one,
// the letter after a blank or period is raised, "Mc" raises the letter after
// it (also inside a word), compass points NW/NE/SE/SW between separators are
// raised; letters are never lowered. Trimmed, then padded with blanks to the
// argument's length.
std::string Proper(std::string_view text);

// Every blank replaced by ".".
std::string Dots(std::string_view text);

}  // namespace qv::ui
