// Dropped failures of Windows calls, traced to the debugger's output (a
// debugger or DebugView shows them).
#pragma once

#include <windows.h>

#include "base/trace.h"

namespace mivra {

inline void TraceToDebugger() {
    traceSink = [](const char* what, long code) {
        wchar_t line[160];
        wsprintfW(line, L"Mivra: %.100hs failed (%ld)\n", what, code);
        OutputDebugStringW(line);
    };
}

// For a call whose result nothing acts on: its failure, with the last error.
inline void TraceIfFailed(bool ok, const char* what) {
    if (!ok) TraceFailure(what, static_cast<long>(GetLastError()));
}

} // namespace mivra
