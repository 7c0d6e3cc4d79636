// Random use: 20,000 random user actions on the real windows. After every step the record
// must equal what a plain model of the user's successful stores predicts, every box must show
// the model's own profit or name the refused field (and Ctrl+C must copy it), and the program
// must end, with status 0, by Esc, F6 or closing the main window and by nothing else.
#include "UiTestSupport.h"

#include "../ReferenceParse.h"
#include "Baitunit.h"
#include "Catalogue.h"
#include "Fishunit.h"
#include "Profit.h"
#include "Rodunit.h"

#include <QClipboard>
#include <QLineEdit>

#include <cstdio>
#include <cstring>
#include <random>

using namespace varkelo;
using namespace uitest;

namespace {

constexpr int kActions = 20000;

class TSession {
public:
    explicit TSession(std::uint32_t seed) : m_random(seed) {}

    int Done = 0, Runs = 0, Boxes = 0, Stores = 0, Refusals = 0;
    QString Failure;

    // One run of the program: random steps until one ends it or the budget is spent.
    void Run() {
        ++Runs;
        m_model = DefaultTripData();
        bool ending = false;
        QTimer stuck; // a program that ignores its ending must not hang the test
        stuck.setSingleShot(true);
        stuck.callOnTimeout([&] {
            Fail("the program did not end");
            QCoreApplication::exit(0);
        });
        QTimer::singleShot(0, [&] {
            while (!ending && Done < kActions && Failure.isEmpty()) {
                ++Done;
                ending = Step();
            }
            if (!ending)
                QCoreApplication::exit(0);
            stuck.start(3000);
        });
        if (RunProgram() != 0)
            Fail("the exit status was not 0");
        if (ending != Application->Terminated())
            Fail("the program ended when it should not have, or did not when it should");
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void Fail(const QString& why) {
        if (Failure.isEmpty())
            Failure = QStringLiteral("action %1: %2").arg(Done).arg(why);
    }

    static TEntryDialog* AsDialog(QWidget* w) {
        for (TEntryDialog* d :
             {static_cast<TEntryDialog*>(Form2), static_cast<TEntryDialog*>(Form3),
              static_cast<TEntryDialog*>(Form4)})
            if (w == d)
                return d;
        return nullptr;
    }

    // Digits and signs mostly, with blanks, letters, other scripts' digits and control keys.
    void Type(QWidget* edit, int length) {
        static const QString pool = QStringLiteral("0123456789000111-+-  abcяЖ٣５\u00a0$e.\x01\b");
        for (int i = 0; i < length; ++i) {
            const QChar c = pool[Pick(int(pool.size()))];
            if (c == u'\b')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
                QTest::keyClick(edit, char(c.unicode()));
            else // as an input method delivers it
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
        }
    }

    // Storing this dialog: all its texts convert, or nothing is stored and the first bad
    // field is named.
    void ExpectStore(TEntryDialog* dialog) {
        TTripData next = m_model;
        for (const auto& row : kCatalogue) {
            auto* edit = dialog->findChild<QLineEdit*>(FromUtf8View(row.EditName));
            if (edit == nullptr)
                continue;
            const auto value = ReferenceStrToInt(edit->text());
            if (!value) {
                ++Refusals;
                m_expected << FromUtf8View(row.Caption);
                return;
            }
            SetInput(next, row.Group, row.Index, *value);
        }
        ++Stores;
        m_model = next;
    }

    void ExpectResult() {
        TTripData calculated = m_model;
        CalculateProfit(calculated);
        m_expected << QString::fromStdString(FormatProfitMessage(calculated.NetProfit));
    }

    // Performs one random action and checks its outcome; true when it ends the program.
    bool Step() {
        m_expected.clear();
        if (QApplication::activeWindow() == nullptr || Pick(10) == 0) {
            QList<QWidget*> visible = QApplication::topLevelWidgets();
            visible.removeIf([](QWidget* w) { return !w->isVisible(); });
            WaitActive(visible[Pick(int(visible.size()))]); // a click on a window's frame
        }
        QWidget* window = QApplication::activeWindow();
        QWidget* focus = window->focusWidget();
        TEntryDialog* dialog = AsDialog(window);
        QStringList seen;
        QTimer::singleShot(0, [&] { // closes what the action opens, as soon as it is up
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            ++Boxes;
            seen << box->text();
            if (Pick(4) == 0) {
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                if (QGuiApplication::clipboard()->text() != box->text())
                    Fail("Ctrl+C did not copy the box's text");
            }
            box->button(QMessageBox::Ok)->click();
        });
        const int action = Pick(100);
        if (action < 12) {
            const Qt::Key keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F5};
            Key(window, keys[Pick(4)]);
        } else if (action < 17) {
            ExpectResult();
            Key(window, Qt::Key_F4);
        } else if (action < 30) {
            if (window == Form1)
                ExpectResult();
            else if (dialog && focus != dialog->CancelButton)
                ExpectStore(dialog);
            Key(window, Pick(2) ? Qt::Key_Return : Qt::Key_Enter);
        } else if (action < 36) {
            if (window == Form1 && Pick(10) != 0)
                return false; // keep most runs long
            Key(window, Qt::Key_Escape);
            if (window == Form1)
                return true;
        } else if (action < 50) {
            Key(window, Qt::Key_Tab, Pick(3) ? Qt::NoModifier : Qt::ShiftModifier);
        } else if (action < 85) {
            if (qobject_cast<QLineEdit*>(focus) && Pick(8) == 0) {
                QGuiApplication::clipboard()->setText(QString(Pick(100), u'9'));
                Key(window, Qt::Key_V, Qt::ControlModifier);
            } else if (qobject_cast<QLineEdit*>(focus)) {
                Type(focus, 1 + Pick(4));
            }
        } else if (action < 93) {
            if (dialog) {
                const bool ok = Pick(2);
                if (ok)
                    ExpectStore(dialog);
                QTest::mouseClick(ok ? dialog->OkButton : dialog->CancelButton, Qt::LeftButton);
            }
        } else if (action < 97) {
            if (window != Form1 || Pick(20) == 0) {
                window->close();
                if (window == Form1)
                    return true;
            }
        } else if (Pick(10) == 0) {
            Key(window, Qt::Key_F6);
            return true;
        }
        QCoreApplication::processEvents();
        if (Application->Terminated())
            Fail("the program was told to end");
        if (std::memcmp(&Form1->TripData(), &m_model, 40 * sizeof(std::int32_t)) != 0)
            Fail("the record differs from the model");
        if (seen.size() != m_expected.size())
            Fail(QStringLiteral("boxes: expected %1, saw %2")
                     .arg(m_expected.join('|'), seen.join('|')));
        for (qsizetype i = 0; i < qMin(seen.size(), m_expected.size()); ++i)
            if (!seen[i].startsWith(m_expected[i]))
                Fail(QStringLiteral("box «%1», expected «%2»").arg(seen[i], m_expected[i]));
        return false;
    }

    std::mt19937 m_random;
    TTripData m_model{};
    QStringList m_expected;
};

} // namespace

class RandomUseTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomActions() {
        const std::uint32_t seed = qEnvironmentVariableIsSet("VARKELO_SEED")
                                       ? qEnvironmentVariableIntValue("VARKELO_SEED")
                                       : 20261206u;
        std::printf("seed %u (set VARKELO_SEED to change it)\n", seed);
        TSession session(seed);
        while (session.Done < kActions && session.Failure.isEmpty())
            session.Run();
        std::printf("%d actions in %d runs: %d boxes, %d stores, %d refused\n", session.Done,
                    session.Runs, session.Boxes, session.Stores, session.Refusals);
        QVERIFY2(session.Failure.isEmpty(), qPrintable(session.Failure));
    }
};

QTEST_MAIN(RandomUseTest)
#include "random_use_test.moc"
