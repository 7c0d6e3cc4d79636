#pragma once

#include "EntryDialog.h"

// Caught fish: one count per species, stored into Fish[0..19].
class TForm2 : public TEntryDialog {
public:
    explicit TForm2(varkelo::TTripData& record);
};

extern TForm2* Form2;
