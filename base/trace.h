// Failures the program goes on past, as its behaviour asks, are still seen
// by a developer: each goes to one sink, which the Windows program points at
// the debugger's output. No user sees it, and nothing is written anywhere.
#pragma once

namespace mivra {

// The call `what` made for `subject` (a window and its part, a registry
// value) failed with `code` (a status or an error number); none until set.
inline void (*traceSink)(const char* what, const char* subject, long code) = nullptr;

inline void TraceFailure(const char* what, const char* subject, long code) {
    if (traceSink) traceSink(what, subject, code);
}

} // namespace mivra
