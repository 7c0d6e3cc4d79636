#include "UiTestSupport.h"

#include "Baitunit.h"
#include "Catalogue.h"
#include "Fishunit.h"
#include "Rodunit.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace varkelo;
using namespace uitest;

namespace {

TEntryDialog* Dialog(int n) {
    return n == 1   ? static_cast<TEntryDialog*>(Form2)
           : n == 2 ? static_cast<TEntryDialog*>(Form3)
                    : static_cast<TEntryDialog*>(Form4);
}

Qt::Key OpenKey(int n) {
    return n == 1 ? Qt::Key_F1 : n == 2 ? Qt::Key_F2 : Qt::Key_F3;
}

TEntryDialog* Open(int n) {
    WaitActive(Form1);
    Key(Form1, OpenKey(n));
    TEntryDialog* dialog = Dialog(n);
    WaitActive(dialog);
    return dialog;
}

QLineEdit* Edit(QWidget* dialog, std::string_view name) {
    return dialog->findChild<QLineEdit*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

// Types into a field the way a user does: Tab to it is not needed, a click and select-all are.
void Enter(QWidget* dialog, std::string_view name, const QString& text) {
    QLineEdit* edit = Edit(dialog, name);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void AddDialogColumn() {
    QTest::addColumn<int>("dialog");
    QTest::newRow("fish") << 1;
    QTest::newRow("bait") << 2;
    QTest::newRow("tackle") << 3;
}

const TCatalogueRow& FirstRow(int n) {
    return CatalogueGroup(n == 1 ? TGroup::Fish : n == 2 ? TGroup::Bait : TGroup::SpentTackle)[0];
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // OK, Enter in a field and Enter on a focused OK store; Cancel, Esc, Enter on a focused
    // Cancel and the frame's close button only hide. The typed text stays either way.
    void storeAndDiscard_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<int>("way");
        QTest::addColumn<bool>("stores");
        const char* ways[] = {"OK click", "Enter in field",  "Enter on OK", "Cancel click",
                              "Esc",      "Enter on Cancel", "close"};
        for (int d = 1; d <= 3; ++d)
            for (int w = 0; w < 7; ++w)
                QTest::addRow("%s, dialog %d", ways[w], d) << d << w << (w < 3);
    }
    void storeAndDiscard() {
        QFETCH(int, dialog);
        QFETCH(int, way);
        QFETCH(bool, stores);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        const TCatalogueRow& row = FirstRow(dialog);
        Enter(d, row.EditName, QStringLiteral("-5"));
        TBoxWatcher boxes;
        switch (way) {
        case 0:
            QTest::mouseClick(d->OkButton, Qt::LeftButton);
            break;
        case 1:
            Key(d, Qt::Key_Return);
            break;
        case 2:
            d->OkButton->setFocus(Qt::TabFocusReason);
            Key(d, Qt::Key_Return);
            break;
        case 3:
            QTest::mouseClick(d->CancelButton, Qt::LeftButton);
            break;
        case 4:
            Key(d, Qt::Key_Escape);
            break;
        case 5:
            d->CancelButton->setFocus(Qt::TabFocusReason);
            Key(d, Qt::Key_Return);
            break;
        case 6:
            d->close();
            break;
        }
        QVERIFY(boxes.Texts().isEmpty());
        QVERIFY(!d->isVisible());
        QVERIFY(Form1->isVisible());
        TTripData expected = DefaultTripData();
        if (stores)
            SetInput(expected, row.Group, row.Index, -5);
        QCOMPARE(Form1->TripData() == expected, true);
        QCOMPARE(Edit(d, row.EditName)->text(), QStringLiteral("-5"));

        // Shown again, the dialog shows the text as it was left, focus where it was.
        d = Open(dialog);
        QCOMPARE(Edit(d, row.EditName)->text(), QStringLiteral("-5"));
        const char* const focus[] = {"OkButton", nullptr,        "OkButton", "CancelButton",
                                     nullptr,    "CancelButton", nullptr};
        QCOMPARE(d->focusWidget()->objectName(),
                 focus[way] ? focus[way] : QString::fromUtf8(row.EditName.data()));
    }

    // A bad text anywhere stores nothing: earlier fields included.
    void badFieldStoresNothing_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("fish, word") << 1 << "GobyEdit"
                                    << "abc"
                                    << "Бычок: «abc» не является целым числом";
        QTest::newRow("fish, empty") << 1 << "TroutEdit"
                                     << ""
                                     << "Форель: пустой текст не является целым числом";
        QTest::newRow("bait, sign only") << 2 << "SpoonBaitEdit"
                                         << "-"
                                         << "Блесна: «-» не является целым числом";
        QTest::newRow("tackle longevity") << 3 << "NetLongevityEdit"
                                          << "1 2"
                                          << "Сачок: «1 2» не является целым числом";
    }
    void badFieldStoresNothing() {
        QFETCH(int, dialog);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        Enter(d, FirstRow(dialog).EditName, QStringLiteral("7"));
        Enter(d, field.toStdString(), text);
        d->OkButton->setFocus(Qt::TabFocusReason);
        TBoxWatcher boxes;
        Key(d, Qt::Key_Return);
        QCOMPARE(boxes.Texts(), QStringList{message});
        QCOMPARE(Form1->TripData() == DefaultTripData(), true);
        QVERIFY(d->isVisible());
        QVERIFY(WaitActive(d));
        QLineEdit* bad = d->findChild<QLineEdit*>(field);
        QCOMPARE(d->focusWidget(), bad);
        QTRY_COMPARE(bad->selectedText(), text);
        QCOMPARE(Edit(d, FirstRow(dialog).EditName)->text(), QStringLiteral("7"));

        // Mended, it stores everything at once.
        QTest::keyClicks(bad, QStringLiteral("3"));
        Key(d, Qt::Key_Return);
        QVERIFY(!d->isVisible());
        const TCatalogueRow& first = FirstRow(dialog);
        QCOMPARE(GetInput(Form1->TripData(), first.Group, first.Index), 7);
    }

    void tabOrder_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QStringList>("order");
        QStringList fish;
        for (const auto& row : CatalogueGroup(TGroup::Fish))
            fish << QString::fromUtf8(row.EditName.data());
        QTest::newRow("fish") << 1
                              << (fish << "OkButton"
                                       << "CancelButton");
        QTest::newRow("bait") << 2 << QStringList{"BreadEdit", "OkButton",      "CancelButton",
                                                  "WormEdit",  "LargeWormEdit", "FallEdit",
                                                  "MothEdit",  "SpoonBaitEdit"};
        QStringList tackle{"NutRodEdit", "OkButton", "CancelButton"};
        for (const auto& row : CatalogueGroup(TGroup::SpentTackle).subspan(1))
            tackle << QString::fromUtf8(row.EditName.data());
        for (const auto& row : CatalogueGroup(TGroup::TackleLongevity))
            tackle << QString::fromUtf8(row.EditName.data());
        QTest::newRow("tackle") << 3 << tackle;
    }
    void tabOrder() {
        QFETCH(int, dialog);
        QFETCH(QStringList, order);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        QStringList seen;
        for (int i = 0; i <= order.size(); ++i) {
            seen << d->focusWidget()->objectName();
            Key(d, Qt::Key_Tab);
        }
        QCOMPARE(seen, order << order.front()); // and round again
    }

    // Entered by the keyboard or by showing the dialog, a field's text is all selected.
    void textSelectedOnEntry() {
        TProgram program;
        TEntryDialog* d = Open(3);
        QLineEdit* first = Edit(d, "NutRodEdit");
        QTRY_COMPARE(first->selectedText(), QStringLiteral("0"));
        for (int i = 0; i < 9; ++i)
            Key(d, Qt::Key_Tab);
        QLineEdit* longevity = Edit(d, "NutRodLongevityEdit");
        QCOMPARE(d->focusWidget(), longevity);
        QTRY_COMPARE(longevity->selectedText(), QStringLiteral("10"));
        QTest::keyClicks(longevity, QStringLiteral("4"));
        QCOMPARE(longevity->text(), QStringLiteral("4"));
        Key(d, Qt::Key_Escape);
        d = Open(3);
        QCOMPARE(d->focusWidget(), longevity);
        QTRY_COMPARE(longevity->selectedText(), QStringLiteral("4"));
    }

    // F4 in a dialog counts what was stored, not what is typed; F1 to F3 open the dialogs.
    void shortcutsWorkInDialogs() {
        TProgram program;
        TEntryDialog* fish = Open(1);
        Enter(fish, "CancerEdit", QStringLiteral("5"));
        Key(fish, Qt::Key_Return);
        fish = Open(1);
        Enter(fish, "CancerEdit", QStringLiteral("100"));
        TBoxWatcher boxes;
        Key(fish, Qt::Key_F4);
        QCOMPARE(boxes.Texts(), QStringList{Message(10)});
        QVERIFY(WaitActive(fish));
        Key(fish, Qt::Key_F2);
        QTRY_VERIFY(Form3->isVisible());
        QVERIFY(WaitActive(Form3));
        Key(Form3, Qt::Key_F3);
        QTRY_VERIFY(Form4->isVisible());
        QVERIFY(fish->isVisible());
        QCOMPARE(Edit(fish, "CancerEdit")->text(), QStringLiteral("100"));
    }

    void entryLimitedToSixCharacters() {
        TProgram program;
        TEntryDialog* d = Open(2);
        QLineEdit* bread = Edit(d, "BreadEdit");
        QGuiApplication::clipboard()->setText(QStringLiteral("123456789"));
        bread->selectAll();
        Key(d, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(bread->text(), QStringLiteral("123456"));
        QTest::keyClicks(bread, QStringLiteral("7"));
        QCOMPARE(bread->text(), QStringLiteral("123456"));
    }

    // The fields and labels stand where the layout puts them, and no label runs into its field.
    void layout_data() { AddDialogColumn(); }
    void layout() {
        QFETCH(int, dialog);
        TProgram program;
        TEntryDialog* d = Open(dialog);
        const struct {
            TGroup Group;
            int LabelLeft, LabelTop, EditLeft, EditTop;
        } columns[] = {{TGroup::Fish, 5, 10, 80, 5},
                       {TGroup::Bait, 5, 10, 90, 5},
                       {TGroup::SpentTackle, 5, 40, 205, 35},
                       {TGroup::TackleLongevity, 5, 220, 205, 215}};
        for (const auto& c : columns) {
            if (Dialog(dialog) != (c.Group == TGroup::Fish   ? Dialog(1)
                                   : c.Group == TGroup::Bait ? Dialog(2)
                                                             : Dialog(3)))
                continue;
            for (const auto& row : CatalogueGroup(c.Group)) {
                QLineEdit* edit = Edit(d, row.EditName);
                QString labelName = edit->objectName();
                labelName.replace(QStringLiteral("Edit"), QStringLiteral("Label"));
                auto* label = d->findChild<QLabel*>(labelName);
                QVERIFY2(label, qPrintable(labelName));
                QCOMPARE(label->text(),
                         QString::fromUtf8(row.Caption.data(), qsizetype(row.Caption.size())));
                QCOMPARE(label->pos(), QPoint(c.LabelLeft, c.LabelTop + 20 * row.Index));
                QCOMPARE(edit->geometry(), QRect(c.EditLeft, c.EditTop + 20 * row.Index, 50, 21));
                QVERIFY2(label->geometry().right() < edit->x(),
                         qPrintable(QStringLiteral("%1 ends at %2")
                                        .arg(labelName)
                                        .arg(label->geometry().right())));
            }
        }
        const QPoint ok[] = {{5, 415}, {5, 135}, {60, 370}};
        const QPoint cancel[] = {{70, 415}, {80, 135}, {140, 370}};
        QCOMPARE(d->OkButton->geometry(), QRect(ok[dialog - 1], QSize(60, 30)));
        QCOMPARE(d->CancelButton->geometry(), QRect(cancel[dialog - 1], QSize(60, 30)));
        QCOMPARE(d->CancelButton->toolTip().isEmpty(), dialog == 3);
    }

    // A screen reader says the label's caption on each field, and the buttons' hints.
    void accessibleNames() {
        TProgram program;
        for (const auto& row : kCatalogue) {
            QWidget* dialog = Dialog(row.Group == TGroup::Fish   ? 1
                                     : row.Group == TGroup::Bait ? 2
                                                                 : 3);
            QAccessibleInterface* field =
                QAccessible::queryAccessibleInterface(Edit(dialog, row.EditName));
            QVERIFY(field);
            QCOMPARE(field->text(QAccessible::Name), FromUtf8View(row.Caption));
        }
        QAccessibleInterface* ok = QAccessible::queryAccessibleInterface(Form2->OkButton);
        QCOMPARE(ok->text(QAccessible::Name), QStringLiteral("Ок"));
        QCOMPARE(ok->text(QAccessible::Description), QStringLiteral("Запомнить введённые данные"));
        QCOMPARE(QAccessible::queryAccessibleInterface(Form1->CalculationButton)
                     ->text(QAccessible::Description),
                 QStringLiteral("Произвести расчёт прибыли"));
    }

    void tackleDialogResizesWithoutMovingAnything() {
        TProgram program;
        TEntryDialog* d = Open(3);
        QVERIFY(d->findChild<QLabel*>("CaptionLabel")->pos() == QPoint(44, 10));
        QVERIFY(d->findChild<QLabel*>("Caption2Label")->pos() == QPoint(26, 190));
        QVERIFY(!(d->windowFlags() & Qt::WindowMaximizeButtonHint));
        const QRect net = Edit(d, "NetLongevityEdit")->geometry();
        d->resize(d->width() + 100, d->height() - 100);
        QCOMPARE(Edit(d, "NetLongevityEdit")->geometry(), net);
        QCOMPARE(d->OkButton->pos(), QPoint(60, 370));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
