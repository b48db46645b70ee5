// The system date and the user's regional settings.
#pragma once

#include <string>
#include <utility>

#include "app/services.h"

namespace mivra {

class SystemClock : public Clock {
public:
    Date Today() override;
};

// The title names the grid's month whatever calendar the user has chosen:
// the locale's Gregorian month name (nominative) and the Gregorian year. The
// short date follows the user's regional format, calendar included.
class UserDateText : public DateText {
public:
    // A locale name such as "th-TH"; empty for the user's own settings.
    explicit UserDateText(std::wstring locale = {}) : locale_(std::move(locale)) {}
    std::wstring MonthYear(const Date& d) override;
    std::wstring ShortDate(const Date& d) override;
    std::wstring LongDate(const Date& d) override;

private:
    const wchar_t* Locale() const;
    std::wstring locale_;
};

} // namespace mivra
