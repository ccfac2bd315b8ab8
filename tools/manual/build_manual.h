#pragma once
// The whole manual from its three sources (the text, the picture list and the style sheet)
// and the game's banks.

#include <string>

#include "bank_set.h"

namespace manual {

struct ManualSources {
    std::string text;      // manual.txt
    std::string pictures;  // pictures.txt
    std::string css;       // style.css
};

struct ManualResult {
    bool ok = false;
    std::string html;
    std::string error;  // names the source the fault is in
};

// Every listed picture must be shown somewhere and every shown one listed. The style
// sheet's colours come from the palette of the first bank.
ManualResult buildManual(const ManualSources& sources, const BankSet& banks);

}  // namespace manual
