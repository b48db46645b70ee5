// The shell's notification area, through the ANSI call and the
// first-version record.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "tray/tray_icon.h"

namespace mivra {

class ShellTrayArea : public TrayArea {
public:
    bool Notify(NotifyOp op, const NotifyRecord& record) override;
};

} // namespace mivra
