#include "Fishunit.h"

using namespace varkelo;

TForm2* Form2 = nullptr;

namespace {

// The 20 fields in row order, then OK and Cancel.
constexpr auto kControls = [] {
    TControlList<2 * kFishCount + 2> list;
    AddColumn(list, {.Group = TGroup::Fish,
                     .LabelLeft = 5,
                     .FirstLabelTop = 10,
                     .EditLeft = 80,
                     .FirstTab = 0,
                     .NextTab = 1});
    list.Add(OkButtonAt(5, 415, 20));
    list.Add(CancelButtonAt(70, 415, 21, kDiscardHint));
    return list.Full();
}();

constexpr TFormDesc kLayout = {.Name = "Form2",
                               .Caption = "Выловленная рыба",
                               .Border = TBorder::Dialog,
                               .Width = 136,
                               .Height = 451,
                               .Controls = kControls};

} // namespace

TForm2::TForm2(TTripData& record) : TEntryDialog(kLayout, CatalogueGroup(TGroup::Fish), record) {}
