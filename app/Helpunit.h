#pragma once

#include "Platform.h"

#include <string>

// The program's help: what it does, its keys, how the profit is reckoned and what every item
// is worth. Not modal; Esc closes it.
class THelpForm : public varkelo::TForm {
public:
    THelpForm();
    void FormKeyDown(int key) override;
};

// The help as Markdown; the tables of items come from the catalogue the calculation uses.
std::string HelpText();
