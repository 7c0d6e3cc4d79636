#include "UiTestSupport.h"

#include "Catalogue.h"
#include "Fishunit.h"
#include "Helpunit.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTextBrowser>

using namespace varkelo;
using namespace uitest;

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsReady() {
        TProgram program;
        QCOMPARE(Form1->centralWidget()->size(), QSize(225, 74));
        QCOMPARE(Form1->minimumSize(), Form1->maximumSize()); // not resizable
        QVERIFY(!(Form1->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(QApplication::focusWidget(), Form1->CalculationButton);
        // Qt's own texts come in Russian where Qt's translation is installed.
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
    }

    // Each way of asking gives exactly one box, titled with the program's name.
    void calculationShowsOneBox_data() {
        QTest::addColumn<int>("way");
        const char* ways[] = {"click", "F4", "Enter", "keypad Enter", "Enter, button unfocused"};
        for (int way = 0; way < 5; ++way)
            QTest::newRow(ways[way]) << way;
    }
    void calculationShowsOneBox() {
        QFETCH(int, way);
        TProgram program;
        Form1->TripData().Bait[5] = 1;
        TBoxWatcher boxes;
        if (way == 4)
            Form1->CalculationButton->clearFocus();
        if (way == 0)
            QTest::mouseClick(Form1->CalculationButton, Qt::LeftButton);
        else
            Key(Form1, way == 1 ? Qt::Key_F4 : way == 3 ? Qt::Key_Enter : Qt::Key_Return);
        QCOMPARE(boxes.Texts(), QStringList{Message(-50)});
        QCOMPARE(boxes.Titles, QStringList{kProgramName});
    }

    // An error that a handler lets out is shown, and the program goes on.
    void handlerErrorIsShownAndLoopGoesOn() {
        TProgram program;
        QPushButton failing;
        Bind(&failing, &QPushButton::clicked, &failing, [] { throw EConvertError("«x» плохо"); });
        TBoxWatcher boxes;
        failing.click();
        failing.click();
        QVERIFY(WaitActive(Form1));
        Key(Form1, Qt::Key_F4);
        QCOMPARE(boxes.Texts(), (QStringList{"«x» плохо", "«x» плохо", Message(0)}));
    }

    // F5 opens the help beside the main window, Esc closes it, F5 brings it back; it lists
    // every item of the catalogue with its value.
    void help() {
        TProgram program;
        Key(Form1, Qt::Key_F5);
        QTRY_VERIFY(Form1->HelpForm && Form1->HelpForm->isVisible());
        QWidget* help = Form1->HelpForm;
        const QString text = Form1->HelpForm->HelpText->toPlainText();
        for (const auto& row : kCatalogue)
            QVERIFY(text.contains(FromUtf8View(row.Caption).chopped(1)));
        QVERIFY(text.contains("2,7") && text.contains("8,5"));
        QVERIFY(WaitActive(help));
        Key(help, Qt::Key_Escape);
        QVERIFY(!help->isVisible() && Form1->isVisible());
        QVERIFY(WaitActive(Form1));
        Key(Form1, Qt::Key_F5);
        QTRY_VERIFY(help->isVisible());
    }

    void strToInt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        const std::tuple<const char*, bool, int> rows[] = {{"42", true, 42},
                                                           {"-5", true, -5},
                                                           {"+5", true, 5},
                                                           {"007", true, 7},
                                                           {"  12 ", true, 12},
                                                           {"2147483647", true, INT_MAX},
                                                           {"-2147483648", true, INT_MIN},
                                                           {"", false, 0},
                                                           {"   ", false, 0},
                                                           {"abc", false, 0},
                                                           {"1e3", false, 0},
                                                           {"$FF", false, 0},
                                                           {"0x10", false, 0},
                                                           {"\u0661", false, 0},
                                                           {"\uff15", false, 0},
                                                           {"--5", false, 0},
                                                           {"-", false, 0},
                                                           {"5-", false, 0},
                                                           {"1 2", false, 0},
                                                           {"2147483648", false, 0},
                                                           {"-2147483649", false, 0},
                                                           {"99999999999999999999", false, 0}};
        for (const auto& [text, valid, value] : rows)
            QTest::newRow(text) << QString::fromUtf8(text) << valid << value;
    }
    void strToInt() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        try {
            QCOMPARE(StrToInt(text), value);
            QVERIFY(valid);
        } catch (const EConvertError& error) {
            QVERIFY(!valid);
            // Russian, and quoting what was typed.
            QVERIFY(error.Message().contains("цел"));
            QVERIFY(text.trimmed().isEmpty() || error.Message().contains(u'«' + text + u'»'));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
