#include "UiTestSupport.h"

#include "Catalogue.h"
#include "Helpunit.h"
#include "Platform.h"

#include <QClipboard>
#include <QFile>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>

using namespace varkelo;
using namespace uitest;

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void looksAsDesigned() {
        TProgram program;
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Варкело"));
        QCOMPARE(Form1->centralWidget()->size(), QSize(225, 74));
        QVERIFY(!(Form1->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(Form1->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(Form1->minimumSize(), Form1->maximumSize());
        QCOMPARE(Form1->CalculationButton->geometry(), QRect(82, 20, 60, 30));
        QCOMPARE(Form1->CalculationButton->text(), QStringLiteral("Расчёт"));
        QCOMPARE(Form1->CalculationButton->toolTip(), QStringLiteral("Произвести расчёт прибыли"));
        QCOMPARE(Form1->CalculationButton->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(QApplication::focusWidget(), Form1->CalculationButton);
        QVERIFY(!Form1->windowIcon().isNull());
        // Qt's own texts come in Russian where Qt's translation is installed.
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                     QStringLiteral("Отмена"));

        QStringList menus;
        for (QAction* menu : Form1->menuBar()->actions()) {
            menus << menu->text();
            for (QAction* item : menu->menu()->actions())
                menus << item->objectName() + ' ' + item->text() + ' ' +
                             item->shortcut().toString();
        }
        QCOMPARE(menus, (QStringList{"Меню", "N2 Выловленная рыба F1", "N3 Потраченная приманка F2",
                                     "N4 Потраченные снасти F3", "N7 Расчёт F4", "N8 Выход F6",
                                     "Дополнительно", "N6 Помощь F5"}));
    }

    // Each way of asking gives exactly one box with the profit of the fresh record.
    void calculationShowsOneBox_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("button click") << 0;
        QTest::newRow("F4") << 1;
        QTest::newRow("Enter") << 2;
        QTest::newRow("keypad Enter") << 3;
        QTest::newRow("Enter without focus on the button") << 4;
    }
    void calculationShowsOneBox() {
        QFETCH(int, way);
        TProgram program;
        TBoxWatcher boxes;
        switch (way) {
        case 0:
            QTest::mouseClick(Form1->CalculationButton, Qt::LeftButton);
            break;
        case 1:
            Key(Form1, Qt::Key_F4);
            break;
        case 2:
            Key(Form1, Qt::Key_Return);
            break;
        case 3:
            Key(Form1, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case 4:
            Form1->CalculationButton->clearFocus();
            Key(Form1, Qt::Key_Return);
            break;
        }
        QCOMPARE(boxes.Texts(), QStringList{Message(0)});
        QCOMPARE(boxes.Titles(), QStringList{kProgramName});
        QVERIFY(Form1->isVisible());
    }

    void resultCanBeCopied() {
        TProgram program;
        Form1->TripData().Bait[5] = 1;
        QGuiApplication::clipboard()->clear();
        TBoxWatcher boxes;
        boxes.BeforeClose(
            [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier); });
        Key(Form1, Qt::Key_F4);
        QCOMPARE(boxes.Texts(), QStringList{Message(-50)});
        QCOMPARE(QGuiApplication::clipboard()->text(), Message(-50));
    }

    // The loop ends only by Esc, F6 or closing the main window, with status 0.
    void programEnds_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Esc") << 0;
        QTest::newRow("F6") << 1;
        QTest::newRow("close button") << 2;
        QTest::newRow("Esc with a dialog open") << 3;
    }
    void programEnds() {
        QFETCH(int, way);
        bool forced = false;
        QTimer scenario;
        scenario.setSingleShot(true);
        QObject::connect(&scenario, &QTimer::timeout, [&] {
            WaitActive(Form1);
            if (way == 0)
                Key(Form1, Qt::Key_Escape);
            else if (way == 1)
                Key(Form1, Qt::Key_F6);
            else if (way == 2)
                Form1->close();
            else {
                Key(Form1, Qt::Key_F1);
                WaitActive(Form1);
                Key(Form1, Qt::Key_Escape);
            }
        });
        QTimer fallback;
        fallback.setSingleShot(true);
        QObject::connect(&fallback, &QTimer::timeout, [&] {
            forced = true;
            QCoreApplication::exit(0);
        });
        scenario.start(0);
        fallback.start(3000);
        QCOMPARE(RunProgram(), 0);
        QVERIFY2(!forced, "the program did not end");
        QVERIFY(Form1 == nullptr);
    }

    // An error that a handler lets out is shown, and the program goes on.
    void handlerErrorIsShownAndLoopGoesOn() {
        TProgram program;
        QPushButton failing(QStringLiteral("x"));
        int calls = 0;
        Bind(&failing, &QPushButton::clicked, &failing, [&] {
            ++calls;
            throw EConvertError(QStringLiteral("«x» не является целым числом"));
        });
        TBoxWatcher boxes;
        failing.click();
        failing.click();
        QCOMPARE(calls, 2);
        QVERIFY(WaitActive(Form1));
        QCOMPARE(boxes.Texts(),
                 (QStringList{"«x» не является целым числом", "«x» не является целым числом"}));
        Key(Form1, Qt::Key_F4);
        QCOMPARE(boxes.Texts().size(), 3);
    }

    // F5 opens the help beside the main window, Esc closes it, F5 brings it back; its item
    // table is the catalogue's.
    void helpOpensAndCloses() {
        TProgram program;
        Key(Form1, Qt::Key_F5);
        QTRY_VERIFY(Form1->HelpForm && Form1->HelpForm->isVisible());
        QWidget* help = Form1->HelpForm;
        QCOMPARE(help->windowTitle(), QStringLiteral("Помощь"));
        QVERIFY(WaitActive(help));
        const QString text = Form1->HelpForm->HelpText->toPlainText();
        for (const auto& row : kCatalogue) {
            QString name = FromUtf8View(row.Caption);
            name.chop(1);
            QVERIFY2(text.contains(name), qPrintable(name));
        }
        QVERIFY(text.contains(QStringLiteral("Пескарь\t2,7")) ||
                text.contains(QStringLiteral("Пескарь\n2,7")) ||
                text.contains(QStringLiteral("2,7")));
        QVERIFY(text.contains(QStringLiteral("8,5")));
        Key(help, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(WaitActive(Form1));
        Key(Form1, Qt::Key_F5);
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(Form1->HelpForm, help);
    }

    void strToInt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "42" << true << 42;
        QTest::newRow("minus") << "-5" << true << -5;
        QTest::newRow("plus") << "+5" << true << 5;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("blanks around") << "  12 " << true << 12;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blank") << "   " << false << 0;
        QTest::newRow("word") << "abc" << false << 0;
        QTest::newRow("exponent") << "1e3" << false << 0;
        QTest::newRow("Pascal hex") << "$FF" << false << 0;
        QTest::newRow("C hex") << "0x10" << false << 0;
        QTest::newRow("Arabic-Indic digit") << QString::fromUtf8("\u0661") << false << 0;
        QTest::newRow("full-width digit") << QString::fromUtf8("\uff15") << false << 0;
        QTest::newRow("two signs") << "--5" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("trailing sign") << "5-" << false << 0;
        QTest::newRow("inner blank") << "1 2" << false << 0;
        QTest::newRow("above range") << "2147483648" << false << 0;
        QTest::newRow("below range") << "-2147483649" << false << 0;
        QTest::newRow("far above range") << "99999999999999999999" << false << 0;
    }
    void strToInt() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        if (valid) {
            QCOMPARE(StrToInt(text), value);
            return;
        }
        try {
            StrToInt(text);
            QFAIL("accepted");
        } catch (const EConvertError& error) {
            // The message is Russian and quotes what was typed.
            QVERIFY(error.Message().contains(QStringLiteral("цел")));
            if (!text.trimmed().isEmpty())
                QVERIFY(error.Message().contains(u'«' + text + u'»'));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
