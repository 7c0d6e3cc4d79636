// Random use: many thousands of random user actions on the real windows. After every step
// the record must equal what a plain model of the user's successful stores predicts, every
// result box must show the model's own profit, and the program must end only by Esc, F6 or
// closing the main window.
#include "UiTestSupport.h"

#include "../ReferenceParse.h"
#include "Baitunit.h"
#include "Catalogue.h"
#include "Fishunit.h"
#include "Helpunit.h"
#include "Profit.h"
#include "Rodunit.h"

#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <random>

using namespace varkelo;
using namespace uitest;

namespace {

constexpr int kActions = 20000;

class TSession {
public:
    explicit TSession(std::uint32_t seed) : m_random(seed) {}

    int Done() const { return m_done; }
    int Boxes() const { return m_boxCount; }
    int Stores() const { return m_stores; }
    int Refusals() const { return m_refusals; }
    int Runs() const { return m_runs; }
    const QString& Failure() const { return m_failure; }

    // One run of the program: random steps until an action ends it or the budget is spent.
    void Run() {
        ++m_runs;
        m_model = DefaultTripData();
        bool ending = false;
        QTimer steps;
        steps.setSingleShot(true);
        QObject::connect(&steps, &QTimer::timeout, [&] {
            WaitActive(Form1);
            while (m_done < kActions && m_failure.isEmpty()) {
                ++m_done;
                ending = Step();
                if (ending)
                    return;
                Check();
            }
            QCoreApplication::exit(0);
        });
        QTimer fallback; // a program that ignores its ending must not hang the test
        fallback.setSingleShot(true);
        QObject::connect(&fallback, &QTimer::timeout, [&] {
            Fail(QStringLiteral("the program did not end"));
            QCoreApplication::exit(0);
        });
        QObject::connect(&steps, &QTimer::timeout, [&] { fallback.start(5000); });
        steps.start(0);
        const int status = RunProgram();
        if (status != 0)
            Fail(QStringLiteral("exit status %1").arg(status));
        if (ending != Application->Terminated() && m_failure.isEmpty())
            Fail(QStringLiteral("the program ended by itself"));
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void Fail(const QString& why) {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("action %1: %2").arg(m_done).arg(why);
    }

    static TEntryDialog* Dialog(int n) {
        return n == 0   ? static_cast<TEntryDialog*>(Form2)
               : n == 1 ? static_cast<TEntryDialog*>(Form3)
                        : static_cast<TEntryDialog*>(Form4);
    }

    static TEntryDialog* AsDialog(QWidget* w) {
        for (int n = 0; n < 3; ++n)
            if (w != nullptr && w == Dialog(n))
                return Dialog(n);
        return nullptr;
    }

    QString RandomText(int length) {
        static const QString pool =
            QStringLiteral("0123456789000111-+-  abcяёЖ٣５\u00a0$x.,eE\x01\x7f\b");
        QString text;
        for (int i = 0; i < length; ++i)
            text += pool[Pick(int(pool.size()))];
        return text;
    }

    // Printable ASCII goes as its own key; anything else as a key that carries the text, the
    // way an input method delivers it.
    static void TypeChar(QWidget* edit, QChar c) {
        if (c == u'\b')
            QTest::keyClick(edit, Qt::Key_Backspace);
        else if (c.unicode() > 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(edit, char(c.unicode()));
        else if (c == u' ')
            QTest::keyClick(edit, Qt::Key_Space);
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // What storing this dialog should do, predicted from its texts alone.
    void ExpectStore(TEntryDialog* dialog) {
        TTripData next = m_model;
        for (const auto& row : kCatalogue) {
            auto* edit = dialog->findChild<QLineEdit*>(FromUtf8View(row.EditName));
            if (edit == nullptr)
                continue;
            const auto value = ReferenceStrToInt(edit->text());
            if (!value) {
                ++m_refusals;
                m_expectedBoxes << QStringLiteral("error:") + FromUtf8View(row.Caption);
                m_expectVisible = dialog;
                return;
            }
            SetInput(next, row.Group, row.Index, *value);
        }
        ++m_stores;
        m_model = next;
        m_expectHidden = dialog;
    }

    void ExpectResult() {
        TTripData calculated = m_model;
        CalculateProfit(calculated);
        m_expectedBoxes << QString::fromStdString(FormatProfitMessage(calculated.NetProfit));
    }

    // Closes the boxes that the action opens, as soon as they are up.
    void ArmBoxCloser() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            ++m_boxCount;
            const bool error = box->icon() == QMessageBox::Critical;
            m_seenBoxes << (error ? QStringLiteral("error:") + box->text() : box->text());
            if (!error && Pick(4) == 0) {
                QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
                if (QGuiApplication::clipboard()->text() != box->text())
                    Fail(QStringLiteral("Ctrl+C did not copy the result"));
            }
            box->button(QMessageBox::Ok)->click();
        });
    }

    // Performs one random action; true when it ends the program.
    bool Step() {
        m_expectedBoxes.clear();
        m_seenBoxes.clear();
        m_expectHidden = m_expectVisible = nullptr;
        if (QApplication::activeWindow() == nullptr || Pick(10) == 0) {
            // What a window manager does when the user clicks a window.
            QList<QWidget*> visible{Form1};
            for (int n = 0; n < 3; ++n)
                if (Dialog(n)->isVisible())
                    visible << Dialog(n);
            WaitActive(visible[Pick(int(visible.size()))]);
        }
        QWidget* window = QApplication::activeWindow();
        if (window == nullptr)
            return false;
        QWidget* focus = window->focusWidget();
        TEntryDialog* dialog = AsDialog(window);
        ArmBoxCloser();
        const int action = Pick(100);
        if (action < 12) { // F1 to F3, F5
            const Qt::Key keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F5};
            Key(window, keys[Pick(4)]);
        } else if (action < 17) {
            ExpectResult();
            Key(window, Qt::Key_F4);
        } else if (action < 27) {
            if (window == Form1)
                ExpectResult();
            else if (dialog && focus != dialog->CancelButton)
                ExpectStore(dialog);
            Key(window, Pick(2) ? Qt::Key_Return : Qt::Key_Enter);
        } else if (action < 33) {
            if (window == Form1) {
                if (Pick(10) != 0)
                    return false; // keep most runs long
                Key(window, Qt::Key_Escape);
                return true;
            }
            Key(window, Qt::Key_Escape);
        } else if (action < 48) {
            Key(window, Qt::Key_Tab, Pick(3) ? Qt::NoModifier : Qt::ShiftModifier);
        } else if (action < 80) {
            if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
                if (Pick(2))
                    edit->selectAll();
                for (QChar c : RandomText(1 + Pick(4)))
                    TypeChar(edit, c);
            }
        } else if (action < 84) {
            if (qobject_cast<QLineEdit*>(focus)) {
                QGuiApplication::clipboard()->setText(RandomText(Pick(3) ? 3 : 80));
                Key(window, Qt::Key_V, Qt::ControlModifier);
            }
        } else if (action < 92) {
            if (dialog) {
                const bool ok = Pick(2);
                if (ok)
                    ExpectStore(dialog);
                QTest::mouseClick(ok ? dialog->OkButton : dialog->CancelButton, Qt::LeftButton);
            }
        } else if (action < 96) {
            if (window != Form1) {
                window->close();
            } else if (Pick(20) == 0) {
                Form1->close();
                return true;
            }
        } else if (action < 98) {
            if (Pick(10) == 0) {
                Key(window, Qt::Key_F6);
                return true;
            }
        } else if (dialog) {
            // The dialog's own Enter and Esc must not reach anything else: check the boxes.
            if (focus != dialog->CancelButton && focus != dialog->OkButton)
                ExpectStore(dialog);
            else if (focus == dialog->OkButton)
                ExpectStore(dialog);
            Key(window, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        return false;
    }

    void Check() {
        if (Application->Terminated())
            Fail(QStringLiteral("the program was told to end"));
        TTripData actual = Form1->TripData();
        actual.FishIncome = actual.BaitCost = actual.TackleCost = actual.NetProfit = 0;
        TTripData model = m_model;
        model.FishIncome = model.BaitCost = model.TackleCost = model.NetProfit = 0;
        if (!(actual == model))
            Fail(QStringLiteral("the record differs from the model"));
        // An error box names the field's caption; a result box is the model's own text.
        if (m_seenBoxes.size() != m_expectedBoxes.size())
            Fail(QStringLiteral("boxes: expected %1, saw %2")
                     .arg(m_expectedBoxes.join(u'|'), m_seenBoxes.join(u'|')));
        for (qsizetype i = 0; i < qMin(m_seenBoxes.size(), m_expectedBoxes.size()); ++i)
            if (!m_seenBoxes[i].startsWith(m_expectedBoxes[i]))
                Fail(
                    QStringLiteral("box %1 instead of %2").arg(m_seenBoxes[i], m_expectedBoxes[i]));
        if (m_expectHidden && m_expectHidden->isVisible())
            Fail(QStringLiteral("a stored dialog stayed open"));
        if (m_expectVisible && !m_expectVisible->isVisible())
            Fail(QStringLiteral("a refused dialog closed"));
    }

    std::mt19937 m_random;
    TTripData m_model{};
    QStringList m_expectedBoxes;
    QStringList m_seenBoxes;
    QWidget* m_expectHidden = nullptr;
    QWidget* m_expectVisible = nullptr;
    QString m_failure;
    int m_done = 0, m_boxCount = 0, m_stores = 0, m_refusals = 0, m_runs = 0;
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
        while (session.Done() < kActions && session.Failure().isEmpty())
            session.Run();
        std::printf("%d actions in %d runs: %d boxes, %d stores, %d refused\n", session.Done(),
                    session.Runs(), session.Boxes(), session.Stores(), session.Refusals());
        QVERIFY2(session.Failure().isEmpty(), qPrintable(session.Failure()));
        QCOMPARE(session.Done(), kActions);
    }
};

QTEST_MAIN(RandomUseTest)
#include "random_use_test.moc"
