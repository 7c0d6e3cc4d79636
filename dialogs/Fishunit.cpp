#include "Fishunit.h"

#include "Fishingunit.h"

#include <QPushButton>

using namespace varkelo;

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* owner)
    : TEntryDialog(owner, Form1->TripData(), QStringLiteral("Выловленная рыба"), Qt::Dialog) {
    setObjectName(QStringLiteral("Form2"));
    std::vector<QWidget*> tabOrder = AddColumn(TGroup::Fish, {5, 10}, 80);
    AddButtons({5, 415}, {70, 415}, true);
    tabOrder.push_back(OkButton);
    tabOrder.push_back(CancelButton);
    setFixedSize(136, 451);
    FinishLayout(tabOrder);
}
