#include "UiTestSupport.h"

#include "Baitunit.h"
#include "Catalogue.h"
#include "Fishunit.h"
#include "Rodunit.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>

using namespace varkelo;
using namespace uitest;

namespace {

TEntryDialog* Dialog(int n) {
    return n == 1   ? static_cast<TEntryDialog*>(Form2)
           : n == 2 ? static_cast<TEntryDialog*>(Form3)
                    : static_cast<TEntryDialog*>(Form4);
}

int DialogOf(const TCatalogueRow& row) {
    return row.Group == TGroup::Fish ? 1 : row.Group == TGroup::Bait ? 2 : 3;
}

TEntryDialog* Open(int n) {
    WaitActive(Form1);
    Key(Form1, n == 1 ? Qt::Key_F1 : n == 2 ? Qt::Key_F2 : Qt::Key_F3);
    WaitActive(Dialog(n));
    return Dialog(n);
}

QLineEdit* Edit(QWidget* dialog, std::string_view name) {
    return dialog->findChild<QLineEdit*>(FromUtf8View(name));
}

// Replaces a field's text as a user does: the field's text is selected on entry.
void Enter(QWidget* dialog, std::string_view name, const QString& text) {
    QLineEdit* edit = Edit(dialog, name);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

const TCatalogueRow& FirstRow(int n) {
    return CatalogueGroup(n == 1 ? TGroup::Fish : n == 2 ? TGroup::Bait : TGroup::SpentTackle)[0];
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // OK, Enter in a field and Enter on a focused OK store; Cancel, Esc, Enter on a focused
    // Cancel and the frame's close button only hide. The typed text and the focus stay.
    void storeAndDiscard_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<int>("way");
        const char* ways[] = {"OK click", "Enter",           "Enter on OK", "Cancel click",
                              "Esc",      "Enter on Cancel", "close"};
        for (int d = 1; d <= 3; ++d)
            for (int w = 0; w < 7; ++w)
                QTest::addRow("%s, dialog %d", ways[w], d) << d << w;
    }
    void storeAndDiscard() {
        QFETCH(int, dialog);
        QFETCH(int, way);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        const TCatalogueRow& row = FirstRow(dialog);
        Enter(d, row.EditName, "-5");
        QPushButton* button = way == 0 || way == 2 ? d->OkButton : d->CancelButton;
        TBoxWatcher boxes;
        if (way == 0 || way == 3)
            QTest::mouseClick(button, Qt::LeftButton);
        else if (way == 6)
            d->close();
        else {
            if (way == 2 || way == 5)
                button->setFocus(Qt::TabFocusReason);
            Key(d, way == 4 ? Qt::Key_Escape : Qt::Key_Return);
        }
        QVERIFY(boxes.Texts().isEmpty());
        QVERIFY(!d->isVisible() && Form1->isVisible());
        TTripData expected = DefaultTripData();
        if (way < 3)
            SetInput(expected, row.Group, row.Index, -5);
        QVERIFY(Form1->TripData() == expected);
        QWidget* focus = button;
        if (way == 1 || way == 4 || way == 6)
            focus = Edit(d, row.EditName);
        QCOMPARE(Open(dialog)->focusWidget(), focus);
        QCOMPARE(Edit(d, row.EditName)->text(), "-5");
    }

    // A bad text anywhere stores nothing, earlier fields included, and takes the focus.
    void badFieldStoresNothing_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const std::tuple<int, const char*, const char*, const char*> rows[] = {
            {1, "GobyEdit", "abc", "Бычок: «abc» не является целым числом"},
            {1, "TroutEdit", "", "Форель: пустой текст не является целым числом"},
            {2, "SpoonBaitEdit", "-", "Блесна: «-» не является целым числом"},
            {3, "NetLongevityEdit", "1 2", "Сачок: «1 2» не является целым числом"}};
        for (const auto& [dialog, field, text, message] : rows)
            QTest::newRow(field) << dialog << QString(field) << QString::fromUtf8(text)
                                 << QString::fromUtf8(message);
    }
    void badFieldStoresNothing() {
        QFETCH(int, dialog);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        const TCatalogueRow& first = FirstRow(dialog);
        Enter(d, first.EditName, "7");
        Enter(d, field.toStdString(), text);
        d->OkButton->setFocus(Qt::TabFocusReason);
        TBoxWatcher boxes;
        Key(d, Qt::Key_Return);
        QCOMPARE(boxes.Texts(), QStringList{message});
        QVERIFY(Form1->TripData() == DefaultTripData());
        QVERIFY(WaitActive(d));
        QLineEdit* bad = Edit(d, field.toStdString());
        QCOMPARE(d->focusWidget(), bad);
        QTRY_COMPARE(bad->selectedText(), text);
        QTest::keyClicks(bad, "3"); // mended, everything is stored at once
        Key(d, Qt::Key_Return);
        QVERIFY(!d->isVisible());
        QCOMPARE(GetInput(Form1->TripData(), first.Group, first.Index), 7);
    }

    void tabOrder_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QStringList>("order");
        QStringList names[4];
        for (const auto& row : kCatalogue)
            names[int(row.Group)] << FromUtf8View(row.EditName);
        const QStringList buttons{"OkButton", "CancelButton"};
        QTest::newRow("fish") << 1 << names[0] + buttons;
        QTest::newRow("bait") << 2 << names[1].first(1) + buttons + names[1].sliced(1);
        QTest::newRow("tackle") << 3 << names[2].first(1) + buttons + names[2].sliced(1) + names[3];
    }
    void tabOrder() {
        QFETCH(int, dialog);
        QFETCH(QStringList, order);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        QStringList seen;
        for (int i = 0; i <= order.size(); ++i, Key(d, Qt::Key_Tab))
            seen << d->focusWidget()->objectName();
        QCOMPARE(seen, order << order.front()); // and round again
    }

    // Entered by the keyboard or by showing the dialog again, a field's text is all selected.
    void textSelectedOnEntry() {
        TProgram program;
        TEntryDialog* d = Open(3);
        QTRY_COMPARE(Edit(d, "NutRodEdit")->selectedText(), "0");
        for (int i = 0; i < 9; ++i)
            Key(d, Qt::Key_Tab);
        QLineEdit* longevity = Edit(d, "NutRodLongevityEdit");
        QTRY_COMPARE(longevity->selectedText(), "10");
        QTest::keyClicks(longevity, "4");
        Key(d, Qt::Key_Escape);
        QCOMPARE(Open(3)->focusWidget(), longevity);
        QTRY_COMPARE(longevity->selectedText(), "4");
    }

    void entryLimitedToSixCharacters() {
        TProgram program;
        TEntryDialog* d = Open(2);
        QGuiApplication::clipboard()->setText("123456789");
        Key(d, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(d->focusWidget(), "7");
        QCOMPARE(Edit(d, "BreadEdit")->text(), "123456");
    }

    // With the fonts of the machine no label runs into its field, and a screen reader names
    // each field by its label.
    void labelsFitAndNameTheirFields() {
        TProgram program;
        for (const auto& row : kCatalogue) {
            QWidget* dialog = Dialog(DialogOf(row));
            if (!dialog->isVisible())
                Open(DialogOf(row));
            QLineEdit* edit = Edit(dialog, row.EditName);
            const auto* label = qobject_cast<QLabel*>(edit->parentWidget()->findChild<QLabel*>(
                edit->objectName().replace("Edit", "Label")));
            QVERIFY2(label->geometry().right() < edit->x(), label->objectName().toUtf8());
            QCOMPARE(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Name),
                     FromUtf8View(row.Caption));
        }
        QCOMPARE(
            QAccessible::queryAccessibleInterface(Form2->OkButton)->text(QAccessible::Description),
            "Запомнить введённые данные");
    }

    void tackleDialogResizesWithoutMovingAnything() {
        TProgram program;
        TEntryDialog* d = Open(3);
        const QRect net = Edit(d, "NetLongevityEdit")->geometry();
        d->resize(d->width() + 100, d->height() - 100);
        QCOMPARE(Edit(d, "NetLongevityEdit")->geometry(), net);
        QVERIFY(d->CancelButton->toolTip().isEmpty());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
