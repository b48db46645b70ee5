// The system date and the user's regional settings.
#pragma once

#include "app/services.h"

namespace mivra {

class SystemClock : public Clock {
public:
    Date Today() override;
};

class UserDateText : public DateText {
public:
    std::wstring MonthYear(const Date& d) override;
    std::wstring ShortDate(const Date& d) override;
    std::wstring LongDate(const Date& d) override;
};

} // namespace mivra
