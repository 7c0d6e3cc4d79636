#include "EntryDialog.h"

#include "Platform.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace varkelo;

namespace {

constexpr int kMaxEntryLength = 6;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QPoint at,
                        const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(at.x(), at.y(), 60, 30);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    button->setAutoDefault(true); // a focused button takes Enter itself
    return button;
}

} // namespace

TEntryDialog::TEntryDialog(QWidget* owner, TTripData& record, const QString& caption,
                           Qt::WindowFlags flags)
    : QWidget(owner, flags), m_record(record) {
    setWindowTitle(caption);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

std::vector<QWidget*> TEntryDialog::AddColumn(TGroup group, QPoint firstLabelAt, int editLeft) {
    std::vector<QWidget*> edits;
    for (const TCatalogueRow& row : CatalogueGroup(group)) {
        const QPoint labelAt = firstLabelAt + QPoint(0, 20 * row.Index);
        const QString editName = FromUtf8View(row.EditName);
        QString labelName = editName;
        labelName.replace(labelName.size() - 4, 4, QStringLiteral("Label"));
        QLabel* label = AddLabel(labelName, FromUtf8View(row.Caption), labelAt);

        auto* edit = new QLineEdit(FromUtf8View(row.DefaultText), this);
        edit->setObjectName(editName);
        // A screen reader names the field by its label, the buddy.
        label->setBuddy(edit);
        edit->setGeometry(editLeft, labelAt.y() - 5, 50, 21);
        edit->setMaxLength(kMaxEntryLength);
        SelectAllOnEntry(edit);
        m_rows.push_back({&row, edit});
        edits.push_back(edit);
    }
    return edits;
}

QLabel* TEntryDialog::AddLabel(const QString& name, const QString& caption, QPoint at) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->move(at);
    label->setCursor(Qt::CrossCursor);
    return label;
}

void TEntryDialog::AddButtons(QPoint okAt, QPoint cancelAt, bool cancelHint) {
    OkButton = MakeButton(this, "OkButton", QStringLiteral("Ок"), okAt,
                          QStringLiteral("Запомнить введённые данные"));
    CancelButton =
        MakeButton(this, "CancelButton", QStringLiteral("Отмена"), cancelAt,
                   cancelHint ? QStringLiteral("Не запоминать введённые данные") : QString());
    Bind(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    Bind(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

void TEntryDialog::FinishLayout(const std::vector<QWidget*>& tabOrder) {
    CentreOnScreen(this);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    tabOrder.front()->setFocus();
    InstallKeyPreview(this, [this](int key) { FormKeyDown(key); });
}

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
        hide();
}

void TEntryDialog::StoreEntries() {
    std::vector<std::int32_t> values;
    values.reserve(m_rows.size());
    for (const TEntryRow& entry : m_rows) {
        try {
            values.push_back(StrToInt(entry.Edit->text()));
        } catch (const EConvertError& error) {
            entry.Edit->setFocus(Qt::OtherFocusReason);
            entry.Edit->selectAll();
            throw EConvertError(FromUtf8View(entry.Row->Caption) + u' ' + error.Message());
        }
    }
    for (std::size_t k = 0; k < m_rows.size(); ++k)
        SetInput(m_record, m_rows[k].Row->Group, m_rows[k].Row->Index, values[k]);
    hide();
}

void TEntryDialog::DiscardEntries() {
    hide();
}

void TEntryDialog::showEvent(QShowEvent* event) {
    // Labels fit their text. Measuring text is the dearest part of building a dialog, so it
    // waits for the first show rather than slowing the program's start.
    if (!m_labelsSized) {
        for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            label->adjustSize();
        m_labelsSized = true;
    }
    QWidget::showEvent(event);
}

void TEntryDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    DiscardEntries();
}
