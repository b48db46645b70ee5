// Failures the program goes on past, as its behaviour asks, are still seen
// by a developer: each goes to one sink, which the Windows program points at
// the debugger's output (a debugger or DebugView shows it). No user sees it,
// and nothing is written anywhere.
#pragma once

namespace mivra {

// `what` failed with `code` (a status or an error number).
using TraceSink = void (*)(const char* what, long code);

// Where failures go from now on; none until it is set.
void SetTraceSink(TraceSink sink);
void TraceFailure(const char* what, long code);

} // namespace mivra
