#pragma once
// The credit balance as the balance screen shows it.

#include <string>

namespace modes {

// Skype's PSTN_BALANCE text (hundredths of the currency) as units with two
// decimals and a decimal point whatever the process's locale: "1234" gives
// "12.34". A text that is no number reads as 0, as the C library's atof does.
std::string BalanceText(const std::string& reported);

}  // namespace modes
