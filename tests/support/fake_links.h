// The shell's "open" of the home page and the mail link, noted instead of
// done.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/shortcuts.h"

namespace mivra::test {

class RecordingLinks : public LinkOpener {
public:
    std::vector<std::wstring> opened;
    void Open(std::wstring_view target) override { opened.emplace_back(target); }
};

} // namespace mivra::test
