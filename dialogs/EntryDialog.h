#pragma once

#include "Catalogue.h"
#include "Convert.h"
#include "Platform.h"
#include "TripData.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the three entry windows share: a column of labelled fields, one per catalogue row, an
// OK button that stores them all into the trip record and a Cancel button that only hides.
// The window keeps no values of its own; the fields' texts stay as typed for the whole run.
class TEntryDialog : public varkelo::TForm {
public:
    void OkButtonClick();
    void CancelButtonClick();
    void FormKeyDown(int key) override;

    // Converts every field first and writes only when all convert, then hides. A bad field
    // stores nothing, takes the focus with its text selected, and raises the error.
    void StoreEntries();
    void DiscardEntries();

protected:
    // The fields are those of the rows, named after them, stored in this order.
    TEntryDialog(const varkelo::TFormDesc& layout, std::span<const varkelo::TCatalogueRow> rows,
                 varkelo::TTripData& record);

private:
    std::span<const varkelo::TCatalogueRow> m_rows;
    varkelo::TTripData& m_record;
};

namespace varkelo {

// The two buttons of every entry window.
constexpr TControlDesc OkButtonAt(int left, int top, int tabIndex) {
    return {.Kind = TControlKind::Button,
            .Name = "OkButton",
            .Text = "Ок",
            .Left = left,
            .Top = top,
            .Width = 60,
            .Height = 30,
            .Cursor = TCursor::HandPoint,
            .Hint = "Запомнить введённые данные",
            .TabIndex = tabIndex,
            .OnClick = On<&TEntryDialog::OkButtonClick>};
}

inline constexpr std::string_view kDiscardHint = "Не запоминать введённые данные";

constexpr TControlDesc CancelButtonAt(int left, int top, int tabIndex, std::string_view hint) {
    return {.Kind = TControlKind::Button,
            .Name = "CancelButton",
            .Text = "Отмена",
            .Left = left,
            .Top = top,
            .Width = 60,
            .Height = 30,
            .Cursor = TCursor::HandPoint,
            .Hint = hint,
            .TabIndex = tabIndex,
            .OnClick = On<&TEntryDialog::CancelButtonClick>};
}

} // namespace varkelo
