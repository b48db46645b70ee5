#include "platform/trace_win32.h"

#include <string>

#include "base/decimal.h"

namespace mivra {

void TraceToDebugger() {
    SetTraceSink([](const char* what, long code) {
        std::wstring line = L"Mivra: ";
        for (const char* c = what; *c; ++c)
            line.push_back(static_cast<unsigned char>(*c));
        line += L" failed (" + DecimalW(code) + L")\n";
        OutputDebugStringW(line.c_str());
    });
}

} // namespace mivra
