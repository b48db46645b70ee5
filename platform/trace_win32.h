// Dropped failures of Windows calls, traced to the debugger's output (a
// debugger or DebugView shows them).
#pragma once

#include <windows.h>

#include "base/decimal.h"
#include "base/trace.h"

namespace mivra {

inline void TraceToDebugger() {
    traceSink = [](const char* what, long code) {
        std::wstring line = L"Mivra: ";
        for (const char* c = what; *c; ++c)
            line.push_back(static_cast<unsigned char>(*c));
        OutputDebugStringW((line + L" failed (" + DecimalW(code) + L")\n").c_str());
    };
}

// For a call whose result nothing acts on: its failure, with the last error.
inline void TraceIfFailed(bool ok, const char* what) {
    if (!ok) TraceFailure(what, static_cast<long>(GetLastError()));
}

} // namespace mivra
