#include "Baitunit.h"

#include "Fishingunit.h"

#include <QPushButton>

using namespace varkelo;

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* owner)
    : TEntryDialog(owner, Form1->TripData(), QStringLiteral("Потраченная приманка"), Qt::Dialog) {
    setObjectName(QStringLiteral("Form3"));
    const std::vector<QWidget*> fields = AddColumn(TGroup::Bait, {5, 10}, 90);
    AddButtons({5, 135}, {80, 135}, true);
    setFixedSize(146, 171);
    // Tab goes from the first field to the two buttons, then on to the other fields.
    std::vector<QWidget*> tabOrder{fields.front(), OkButton, CancelButton};
    tabOrder.insert(tabOrder.end(), fields.begin() + 1, fields.end());
    FinishLayout(tabOrder);
}
