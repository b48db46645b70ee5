// The system's colours and its high-contrast setting, asked afresh at every
// paint so that a change shows at the next one.
#pragma once

#include <windows.h>

#include "base/contrast.h"

namespace mivra {

class Win32SystemColors : public SystemColors {
public:
    bool HighContrast() const override {
        HIGHCONTRASTW hc{sizeof(hc)};
        return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) &&
               (hc.dwFlags & HCF_HIGHCONTRASTON);
    }
    Color Get(SysColor c) const override { return GetSysColor(static_cast<int>(c)); }
};

} // namespace mivra
