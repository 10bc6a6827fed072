// Memory-variable files (.mem), read and written through the Env in the
// layout real xBase runtimes use: per variable a 32-byte header (name cut to
// 10 characters, type letter with bit 7 set, width/decimals or length) and the
// value; then 0x1A. Only C, N, D and L variables are stored; arrays, blocks,
// objects and NIL are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/env.h"
#include "platform/fs/status.h"
#include "platform/runtime/value.h"

namespace qv::rt {

class Session;

struct MemVariable {
  std::string name;  // upper case, at most 10 characters
  Value value;       // logical, number, string or date
};

// The file image of vars: names cut to 10 characters (a later duplicate of a
// cut name is dropped), written in descending byte order of the names,
// unstorable types skipped, strings longer than 65534 bytes cut.
std::string EncodeMem(const std::vector<MemVariable>& vars);
// Reads a file image. The type byte is read without bit 7; unknown types,
// a truncated record or a missing final 0x1A byte before the end are
// Corruption naming file_name and the offset.
Result<std::vector<MemVariable>> DecodeMem(std::string_view bytes, std::string_view file_name);

// SAVE TO host_path ALL LIKE pattern (except false) or ALL EXCEPT pattern
// (except true): the visible variables whose names match the wildcard
// pattern ('*', '?', case-insensitive). "*" saves all. The file is replaced.
Status SaveMem(fs::Env& env, const std::string& host_path, const Session& session,
               std::string_view pattern = "*", bool except = false);
// RESTORE FROM host_path [ADDITIVE]: each variable is assigned to the visible
// variable of that name when there is one, else becomes a private of the
// current routine. Without additive the current routine's privates are
// released first (publics are kept). NotFound when the file is missing.
Status RestoreMem(fs::Env& env, const std::string& host_path, Session& session, bool additive);

}  // namespace qv::rt
