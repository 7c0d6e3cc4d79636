#pragma once

#include "EntryDialog.h"

// Spent tackle: items used up, stored into SpentTackle[0..6], then the longevity left on the
// items in use, stored into TackleLongevity[0..6].
class TForm4 : public TEntryDialog {
public:
    explicit TForm4(varkelo::TTripData& record);
};

extern TForm4* Form4;
