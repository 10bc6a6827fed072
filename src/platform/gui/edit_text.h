// What an entry field shows for its bound value and how typed text becomes
// the value again, with the field's edit picture applied as typing would
// apply it. Shared by every front end, so a typed answer and a keyboard
// entry give the same value.
//
// Pictures: an optional function part "@" + letters ("@!" raises letters to
// upper case), then, after a blank, a template: '9' and '#' take digits
// (and '#' also blanks and signs), 'A' letters, 'N' letters and digits,
// 'X' anything, '!' anything raised to upper case; any other template
// character is shown as it is and skipped by typing.
#pragma once

#include <string>
#include <string_view>

#include "platform/fs/status.h"
#include "platform/runtime/date.h"
#include "platform/runtime/value.h"

namespace qv::gui {

// The text of value in an entry field: strings as they are, numbers as STR()
// gives them without width, dates as mm/dd/yy; with a template, strings are
// laid over it. REQUIRES: value is a string, number or date.
std::string EditTextOf(const rt::Value& value, std::string_view picture);

// The value typed text gives a field bound to current (which fixes the type,
// the string length and the number's width and decimals): a date read as
// mm/dd/yy (blank text: the empty date), a number read as its digits, a
// string padded with blanks or cut to current's length; then the picture.
// InvalidArgument when the text is not a date, or current is of another type.
Result<rt::Value> ValueFromTyping(const rt::Value& current, std::string_view typed,
                                  std::string_view picture, const rt::DateSettings& dates);

// The picture applied to typed characters: template positions take typed
// characters in turn (characters the position refuses are dropped), literal
// positions keep their literal, the result is as long as the template (or
// as the text without one); "@!" and '!' raise a-z to upper case.
std::string ApplyPicture(std::string_view typed, std::string_view picture);

}  // namespace qv::gui
