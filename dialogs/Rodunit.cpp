#include "Rodunit.h"

#include "Fishingunit.h"
#include "Platform.h"

#include <QPushButton>

using namespace varkelo;

TForm4* Form4 = nullptr;

namespace {

// The whole window, frame included.
constexpr QSize kOuterSize(268, 433);

} // namespace

TForm4::TForm4(QWidget* owner)
    : TEntryDialog(owner, Form1->TripData(), QStringLiteral("Потраченные снасти"),
                   kNoMaximiseWindow) { // an ordinary resizable frame
    setObjectName(QStringLiteral("Form4"));
    AddLabel(QStringLiteral("CaptionLabel"), QStringLiteral("Полностью потраченных снастей:"),
             {44, 10});
    AddLabel(QStringLiteral("Caption2Label"),
             QStringLiteral("Остаток долговечности у ваших снастей:"), {26, 190});
    const std::vector<QWidget*> counts = AddColumn(TGroup::SpentTackle, {5, 40}, 205);
    const std::vector<QWidget*> longevities = AddColumn(TGroup::TackleLongevity, {5, 220}, 205);
    AddButtons({60, 370}, {140, 370}, false);
    resize(kOuterSize); // until a window manager tells the frame
    // The first count field, the two buttons, the other count fields, then the longevities.
    std::vector<QWidget*> tabOrder{counts.front(), OkButton, CancelButton};
    tabOrder.insert(tabOrder.end(), counts.begin() + 1, counts.end());
    tabOrder.insert(tabOrder.end(), longevities.begin(), longevities.end());
    FinishLayout(tabOrder);
}

void TForm4::showEvent(QShowEvent* event) {
    TEntryDialog::showEvent(event);
    // The frame is known once the window is on screen; the outer size is what is fixed.
    if (!m_sized) {
        const QSize frame = frameGeometry().size() - size();
        if (!frame.isEmpty()) {
            resize(kOuterSize - frame);
            m_sized = true;
        }
    }
}
