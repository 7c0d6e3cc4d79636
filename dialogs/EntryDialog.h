#pragma once

#include "Catalogue.h"
#include "TripData.h"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

// What the three entry dialogs share: a column of labelled fields, one per catalogue row, an
// OK button that stores them all into the trip record and a Cancel button that only hides.
// The dialog keeps no values of its own; the fields' texts stay as typed for the whole run.
class TEntryDialog : public QWidget {
public:
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void OkButtonClick();
    void CancelButtonClick();
    void FormKeyDown(int key);

    // Converts every field first and writes only when all convert, then hides. A bad field
    // stores nothing, takes the focus with its text selected, and raises the error.
    void StoreEntries();
    void DiscardEntries();

protected:
    // Closing by the frame hides the dialog, as Cancel does; it is never destroyed.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    TEntryDialog(QWidget* owner, varkelo::TTripData& record, const QString& caption,
                 Qt::WindowFlags flags);

    // One row per catalogue row of the group, 20 pixels apart: the label from firstLabelAt,
    // its field at editLeft, 5 pixels higher. Returns the fields; they are stored in the
    // order they are added.
    std::vector<QWidget*> AddColumn(varkelo::TGroup group, QPoint firstLabelAt, int editLeft);
    QLabel* AddLabel(const QString& name, const QString& caption, QPoint at);
    void AddButtons(QPoint okAt, QPoint cancelAt, bool cancelHint);
    // Centres the dialog, sets the tab order, gives the first control the focus for the first
    // show, and starts the key preview: the last step of every dialog's construction.
    void FinishLayout(const std::vector<QWidget*>& tabOrder);

private:
    struct TEntryRow {
        const varkelo::TCatalogueRow* Row;
        QLineEdit* Edit;
    };

    varkelo::TTripData& m_record;
    std::vector<TEntryRow> m_rows;
    bool m_labelsSized = false;
};
