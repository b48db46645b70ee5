// Dropped failures of Windows calls, traced to the debugger's output (a
// debugger or DebugView shows them).
#pragma once

#include <windows.h>

#include "base/trace.h"

namespace mivra {

inline void TraceToDebugger() {
    traceSink = [](const char* what, const char* subject, long code) {
        wchar_t line[200];
        wsprintfW(line, L"Mivra: %.60hs for %.100hs failed (%ld)\n", what, subject, code);
        OutputDebugStringW(line);
    };
}

// For a call whose result nothing acts on: its failure, with the last error.
inline void TraceIfFailed(bool ok, const char* what, const char* subject) {
    if (!ok) TraceFailure(what, subject, static_cast<long>(GetLastError()));
}

} // namespace mivra
