// PACK: rewrite a table without its deleted records and dead memo blocks,
// so that a process killed at any point leaves either the old or the new
// table, each with its own memo file and bag, never a mix.
//
// Swap protocol (code cites "pack rule (n)"):
//  (1) The table is open exclusively; its share locks keep every other
//      opener out for the whole pack (Pack checks it).
//  (2) Write beside (WriteBeside): "<dbf>.pk-new" with the live records,
//      "<memo>.pk-new" with their memos (text and one 0x1A, each from the
//      next block; dead blocks dropped), and the structural bag rebuilt by
//      OrderBag::BuildBeside at "<bag>.pk-new". Each new file takes the
//      exclusive share lock as it is created, and is synced when complete.
//  (3) Commit point (WriteSwapList): the list of "new old" name pairs and a
//      closing "end" line go to "<dbf>.pk-swap.tmp", which is synced and
//      renamed to "<dbf>.pk-swap"; the folder is synced. From here on the
//      new table is the table.
//  (4) Each new file is renamed over its old name, memo and bag first, the
//      DBF last; the folder is synced (SwapIn).
//  (5) The open table adopts the new files, whose share locks it already
//      holds, so nobody can open them in between; the list is removed.
//  (6) Recovery (RecoverInterruptedPack, on every open), only
//      when an exclusive share lock on the DBF is granted (the packer is
//      gone): a complete list means roll forward (rename the new files that
//      are still there, remove the list); otherwise roll back (remove the
//      stray new files; the old ones were never touched).
#pragma once

#include <string>

#include "platform/fs/env.h"
#include "platform/rdd/table.h"

namespace qv::rdd {

inline constexpr char kPackNewSuffix[] = ".pk-new";
inline constexpr char kPackListSuffix[] = ".pk-swap";
inline constexpr char kPackListTempSuffix[] = ".pk-swap.tmp";

// Packs table by the protocol above. InvalidArgument unless the table is
// open exclusively and writable; NotSupported when it has a structural bag
// on disk that no open bag object can rebuild. After a failure past the
// commit point the next open completes the swap.
Status Pack(Table& table);

// The folder of a host path ("." for a bare name), for syncing renames.
std::string FolderOf(const std::string& path);

// Pack rule (6) for the table at dbf_path; a no-op when nothing was cut off
// or another opener holds the table.
Status RecoverInterruptedPack(fs::Env& env, const std::string& dbf_path);

}  // namespace qv::rdd
