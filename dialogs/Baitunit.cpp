#include "Baitunit.h"

using namespace varkelo;

TForm3* Form3 = nullptr;

namespace {

// Tab goes from the first field to the two buttons, then on to the other fields.
constexpr auto kControls = [] {
    TControlList<2 * kBaitCount + 2> list;
    AddColumn(list, {.Group = TGroup::Bait,
                     .LabelLeft = 5,
                     .FirstLabelTop = 10,
                     .EditLeft = 90,
                     .FirstTab = 0,
                     .NextTab = 3});
    list.Add(OkButtonAt(5, 135, 1));
    list.Add(CancelButtonAt(80, 135, 2, kDiscardHint));
    return list.Full();
}();

constexpr TFormDesc kLayout = {.Name = "Form3",
                               .Caption = "Потраченная приманка",
                               .Border = TBorder::Dialog,
                               .Width = 146,
                               .Height = 171,
                               .Controls = kControls};

} // namespace

TForm3::TForm3(TTripData& record) : TEntryDialog(kLayout, CatalogueGroup(TGroup::Bait), record) {}
