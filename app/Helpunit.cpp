#include "Helpunit.h"

#include "Catalogue.h"

using namespace varkelo;

namespace {

constexpr TControlDesc kControls[] = {
    {.Kind = TControlKind::Document, .Name = "HelpText", .Text = "Помощь", .TabIndex = 0},
};

constexpr TFormDesc kLayout = {.Name = "HelpForm",
                               .Caption = "Помощь",
                               .Border = TBorder::Sizeable,
                               .MaximiseButton = true,
                               .Width = 460,
                               .Height = 560,
                               .Position = TPosition::OverMainForm,
                               .Controls = kControls};

// Russian style: a decimal comma, "2,7".
std::string Money(const TCatalogueRow& row) {
    std::string text = std::to_string(row.WholeValue());
    if (row.HasFraction()) {
        text += ',';
        text += std::to_string(row.ValueTenths % 10);
    }
    return text;
}

std::string ItemTable(std::string_view heading, std::string_view column, TGroup group) {
    std::string text = "### " + std::string(heading) + "\n\n| Название | " + std::string(column) +
                       " |\n|:--|--:|\n";
    for (const TCatalogueRow& row : CatalogueGroup(group)) {
        const std::string_view name = row.Caption.substr(0, row.Caption.size() - 1); // the colon
        text += "| " + std::string(name) + " | " + Money(row) + " |\n";
    }
    return text + "\n";
}

} // namespace

std::string HelpText() {
    std::string text =
        "## Варкело\n\n"
        "Калькулятор прибыли одной рыбалки. Введите, сколько рыбы каждого вида поймано, сколько "
        "приманки и снастей потрачено и сколько долговечности осталось у снастей в работе, и "
        "программа покажет чистую прибыль в НВ. Ничего не сохраняется: при каждом запуске все "
        "поля начинаются с исходных значений.\n\n"
        "### Клавиши\n\n"
        "- **F1** — выловленная рыба\n"
        "- **F2** — потраченная приманка\n"
        "- **F3** — потраченные снасти\n"
        "- **F4** — расчёт прибыли (в главном окне также Enter)\n"
        "- **F5** — эта помощь\n"
        "- **F6** — выход (в главном окне также Esc)\n"
        "- **Enter** — в окне ввода: запомнить введённые данные\n"
        "- **Esc** — в окне ввода или помощи: закрыть, ничего не запоминая\n\n"
        "F1–F6 работают из любого окна программы. В поле можно ввести целое число до шести "
        "знаков, со знаком минус или без него. Если в поле не число, ничего не запоминается, и "
        "курсор встаёт в это поле.\n\n"
        "### Как считается прибыль\n\n"
        "Доход от рыбы: число рыб каждого вида, умноженное на её цену; дробная часть суммы "
        "отбрасывается. Из дохода вычитается стоимость потраченной приманки и снастей по их "
        "ценам. За снасть в работе берётся один НВ за каждую единицу потерянной "
        "долговечности: новая снасть имеет долговечность, равную её цене.\n\n";
    text += ItemTable("Рыба", "Цена, НВ", TGroup::Fish);
    text += ItemTable("Приманка", "Цена порции, НВ", TGroup::Bait);
    text += ItemTable("Снасти", "Цена и долговечность, НВ", TGroup::SpentTackle);
    return text;
}

THelpForm::THelpForm() : TForm(kLayout) {
    SetText("HelpText", HelpText());
}

void THelpForm::FormKeyDown(int key) {
    if (key == kKeyEscape)
        Hide();
}
