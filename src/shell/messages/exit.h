// Leaving the program: the orderly part (NORMAL_DOWN), the exit command
// CANCELNOW and the about message ABOUT.
//
// How "end the process now with exit code N" is signalled: the routine
// throws rt::QuitRequest{N} (platform/runtime/error.h). Nothing between it
// and main() may catch it: the command dispatcher and the event loop let it
// pass, main() catches it and exits with N at once, without closing the main
// window and without running further script lines. CANCELNOW throws it with
// the exit code NORMAL_DOWN has just set (0); any routine that ends the
// program after NORMAL_DOWN (the table layer's refused lock) does the same.
#pragma once

#include "tables/context.h"

namespace qv::shell {

// NORMAL_DOWN, in a call frame of its own: releases this workstation's lock
// marker, resource "000" + XXVTERMNO, through UNLOCKIT (called by name, with
// RESOURCE a private of this frame, so the caller's RESOURCE is untouched),
// then sets the process exit code to 0.
void NormalDown(tables::Context& ctx);
// The same for a caller already in NORMAL_DOWN's frame (the registry).
void NormalDownInFrame(tables::Context& ctx);

// CANCELNOW: asks message 234 ("Exit ZENTHOR Now. Y/N") with No as the
// default. No: returns and nothing changes. Yes: NORMAL_DOWN, then throws
// rt::QuitRequest with the exit code it set.
void AskExitNow(tables::Context& ctx);

// ABOUT: message 238 as an information box. Returns true.
bool About(tables::Context& ctx);

}  // namespace qv::shell
