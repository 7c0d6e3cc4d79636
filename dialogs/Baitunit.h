#pragma once

#include "EntryDialog.h"

// Spent bait: portions of each bait, stored into Bait[0..5].
class TForm3 : public TEntryDialog {
public:
    explicit TForm3(varkelo::TTripData& record);
};

extern TForm3* Form3;
