#include "EntryDialog.h"

using namespace varkelo;

TEntryDialog::TEntryDialog(const TFormDesc& layout, std::span<const TCatalogueRow> rows,
                           TTripData& record)
    : TForm(layout), m_rows(rows), m_record(record) {}

void TEntryDialog::OkButtonClick() {
    StoreEntries();
}
void TEntryDialog::CancelButtonClick() {
    DiscardEntries();
}

void TEntryDialog::FormKeyDown(int key) {
    if (key == kKeyEnter)
        StoreEntries();
    if (key == kKeyEscape)
        Hide();
}

void TEntryDialog::StoreEntries() {
    std::vector<std::string> texts;
    texts.reserve(m_rows.size());
    for (const TCatalogueRow& row : m_rows)
        texts.push_back(GetText(row.EditName));
    const TConvertedEntries entries = ConvertEntries(m_rows, texts);
    if (!entries.Ok()) {
        FocusControl(m_rows[entries.BadRow].EditName);
        throw EConvertError(entries.Message);
    }
    for (std::size_t k = 0; k < m_rows.size(); ++k)
        SetInput(m_record, m_rows[k].Group, m_rows[k].Index, entries.Values[k]);
    Hide();
}

void TEntryDialog::DiscardEntries() {
    Hide();
}
