#include "Baitunit.h"

#include "Fishingunit.h"

#include <QPushButton>

using namespace varkelo;

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* owner)
    : TEntryDialog(owner, Form1->TripData(), QStringLiteral("Потраченная приманка"), Qt::Dialog) {
    setObjectName(QStringLiteral("Form3"));
    std::vector<QWidget*> fields;
    for (const TCatalogueRow& row : CatalogueGroup(TGroup::Bait)) {
        AddRow(row, {5, 10 + 20 * row.Index}, {90, 5 + 20 * row.Index});
        fields.push_back(Control(row.EditName.data()));
    }
    AddButtons({5, 135}, {80, 135}, true);
    setFixedSize(146, 171);
    CentreOnScreen();
    // Tab goes from the first field to the two buttons, then on to the other fields.
    std::vector<QWidget*> tabOrder{fields.front(), OkButton, CancelButton};
    tabOrder.insert(tabOrder.end(), fields.begin() + 1, fields.end());
    FinishLayout(tabOrder);
}
