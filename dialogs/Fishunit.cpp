#include "Fishunit.h"

#include "Fishingunit.h"

#include <QPushButton>

using namespace varkelo;

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* owner)
    : TEntryDialog(owner, Form1->TripData(), QStringLiteral("Выловленная рыба"), Qt::Dialog) {
    setObjectName(QStringLiteral("Form2"));
    std::vector<QWidget*> tabOrder;
    for (const TCatalogueRow& row : CatalogueGroup(TGroup::Fish)) {
        AddRow(row, {5, 10 + 20 * row.Index}, {80, 5 + 20 * row.Index});
        tabOrder.push_back(Control(row.EditName.data()));
    }
    AddButtons({5, 415}, {70, 415}, true);
    tabOrder.push_back(OkButton);
    tabOrder.push_back(CancelButton);
    setFixedSize(136, 451);
    CentreOnScreen();
    FinishLayout(tabOrder);
}
