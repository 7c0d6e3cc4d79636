#include "Rodunit.h"

using namespace varkelo;

TForm4* Form4 = nullptr;

namespace {

// Tab goes from the first count field to the two buttons, on to the other count fields and
// then to the longevities. Cancel has no hint here.
constexpr auto kControls = [] {
    TControlList<2 + 4 * kTackleCount + 2> list;
    list.Add({.Name = "CaptionLabel",
              .Text = "Полностью потраченных снастей:",
              .Left = 44,
              .Top = 10,
              .Height = 13,
              .Cursor = TCursor::Cross});
    AddColumn(list, {.Group = TGroup::SpentTackle,
                     .LabelLeft = 5,
                     .FirstLabelTop = 40,
                     .EditLeft = 205,
                     .FirstTab = 0,
                     .NextTab = 3});
    list.Add({.Name = "Caption2Label",
              .Text = "Остаток долговечности у ваших снастей:",
              .Left = 26,
              .Top = 190,
              .Height = 13,
              .Cursor = TCursor::Cross});
    AddColumn(list, {.Group = TGroup::TackleLongevity,
                     .LabelLeft = 5,
                     .FirstLabelTop = 220,
                     .EditLeft = 205,
                     .FirstTab = 9,
                     .NextTab = 10});
    list.Add(OkButtonAt(60, 370, 1));
    list.Add(CancelButtonAt(140, 370, 2, {}));
    return list.Full();
}();

// An ordinary resizable frame, whose whole size, frame included, is given.
constexpr TFormDesc kLayout = {.Name = "Form4",
                               .Caption = "Потраченные снасти",
                               .Border = TBorder::Sizeable,
                               .Width = 268,
                               .Height = 433,
                               .OuterSize = true,
                               .Controls = kControls};

} // namespace

TForm4::TForm4(TTripData& record)
    : TEntryDialog(kLayout, CatalogueGroups(TGroup::SpentTackle, TGroup::TackleLongevity), record) {
}
