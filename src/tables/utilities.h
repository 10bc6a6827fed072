// The small routines every command uses: fixed-width text, wildcard erase,
// diagnostic notes, dialog activation with the readit table, condition
// checks and zap.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/value.h"
#include "tables/context.h"

namespace qv::tables {

// FILLIT: text padded with blanks or cut to exactly width characters.
std::string FillIt(std::string_view text, int width);
// ERASEFL: erases every file matching the pattern in its folder (the data
// folder when the pattern names none).
void EraseFl(Context& ctx, std::string_view pattern);
// MG: diagnostic note. NIL shows where it was called from; a text starting
// with "." is evaluated (blanks read as dots); anything else is shown, a
// text with its blanks turned into dots. The selected area stays. True.
bool Mg(Context& ctx, const rt::Value& value);
// READIT: runs dialog modally, keeping PROCESSNO in step with the readit
// table's record (PREPROCESS while open, PROCESS after). centred: a third
// argument other than NIL was given. init and valid: code blocks or NIL. True.
bool ReadIt(Context& ctx, const rt::Value& dialog, int record, bool centred, const rt::Value& init,
            const rt::Value& valid);
// CHECKIT: when condition is false, a timed "Alert" note. Returns condition.
rt::Value CheckIt(Context& ctx, const rt::Value& condition, std::string_view text,
                  double seconds = 2);
// CHECKDATA: evaluates the expression; false shows message 208 with message.
rt::Value CheckData(Context& ctx, std::string_view expression, std::string_view message);
// DBZAP: removes every record of the current table (which must be open
// exclusively; otherwise the run-time error dialog tells). True.
bool DbZap(Context& ctx);
// MALIAS, MGALIAS, MGD: notes naming the current table. True.
bool MAlias(Context& ctx);
bool MgAlias(Context& ctx);
bool MgD(Context& ctx);

}  // namespace qv::tables
