// Dropped failures of Windows calls, traced to the debugger's output.
#pragma once

#include <windows.h>

#include "base/trace.h"

namespace mivra {

// Sends every traced failure to OutputDebugStringW.
void TraceToDebugger();

// For a call whose result nothing acts on: traces its failure with the
// thread's last error.
inline void TraceIfFailed(bool ok, const char* what) {
    if (!ok) TraceFailure(what, static_cast<long>(GetLastError()));
}

} // namespace mivra
