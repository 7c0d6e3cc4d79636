#include "Fishingunit.h"

#include "Profit.h"

#include "Baitunit.h"
#include "Fishunit.h"
#include "Helpunit.h"
#include "Rodunit.h"

using namespace varkelo;

TForm1* Form1 = nullptr;

namespace {

constexpr TControlDesc kControls[] = {
    {.Kind = TControlKind::Button,
     .Name = "CalculationButton",
     .Text = "Расчёт",
     .Left = 82,
     .Top = 20,
     .Width = 60,
     .Height = 30,
     .Cursor = TCursor::HandPoint,
     .Hint = "Произвести расчёт прибыли",
     .TabIndex = 0,
     .OnClick = On<&TForm1::CalculationButtonClick>},
};

// One row an item; the items after a heading stand in its menu.
// clang-format off
constexpr TMenuItemDesc kMenu[] = {
    {.Name = "N1", .Caption = "Меню", .Heading = true},
    {.Name = "N2", .Caption = "Выловленная рыба", .FunctionKey = 1, .OnClick = On<&TForm1::N2Click>},
    {.Name = "N3", .Caption = "Потраченная приманка", .FunctionKey = 2, .OnClick = On<&TForm1::N3Click>},
    {.Name = "N4", .Caption = "Потраченные снасти", .FunctionKey = 3, .OnClick = On<&TForm1::N4Click>},
    {.Name = "N7", .Caption = "Расчёт", .FunctionKey = 4, .OnClick = On<&TForm1::N7Click>},
    {.Name = "N8", .Caption = "Выход", .FunctionKey = 6, .OnClick = On<&TForm1::N8Click>},
    {.Name = "N5", .Caption = "Дополнительно", .Heading = true},
    {.Name = "N6", .Caption = "Помощь", .FunctionKey = 5, .OnClick = On<&TForm1::N6Click>},
};
// clang-format on

constexpr TFormDesc kLayout = {.Name = "Form1",
                               .Caption = "Варкело",
                               .Border = TBorder::Single,
                               .Width = 225,
                               .Height = 74,
                               .Controls = kControls,
                               .Menu = kMenu};

} // namespace

TForm1::TForm1() : TForm(kLayout) {
    ResetTripData(m_tripData);
}

TForm1::~TForm1() = default;

void TForm1::ShowProfit() {
    CalculateProfit(m_tripData);
    platform::ShowMessage(FormatProfitMessage(m_tripData.NetProfit));
}

void TForm1::CalculationButtonClick() {
    ShowProfit();
}
void TForm1::N2Click() {
    Form2->Show();
}
void TForm1::N3Click() {
    Form3->Show();
}
void TForm1::N4Click() {
    Form4->Show();
}
void TForm1::N7Click() {
    ShowProfit();
}
void TForm1::N8Click() {
    Application->Terminate();
}

void TForm1::Prepare() {
    TForm::Prepare();
    // Not one of the program's forms, so built here: start-up need not pay for it.
    if (m_helpForm == nullptr)
        m_helpForm = std::make_unique<THelpForm>();
}

void TForm1::N6Click() {
    Prepare();
    m_helpForm->Show();
}

void TForm1::FormKeyDown(int key) {
    if (key == kKeyEnter)
        ShowProfit();
    if (key == kKeyEscape)
        Application->Terminate();
}
