#include "Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTranslator>

#include <memory>

namespace varkelo {

namespace {

// Windows message boxes copy their text on Ctrl+C; Qt's do so only on Windows.
class TMessageBox : public QMessageBox {
public:
    TMessageBox(Icon icon, const QString& text) : QMessageBox(icon, kProgramName, text, Ok) {
        // Typed text is quoted in error messages: never let it pass for markup.
        setTextFormat(Qt::PlainText);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(text());
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

void ShowBox(QMessageBox::Icon icon, const QString& text) {
    TMessageBox box(icon, text);
    box.setParent(QApplication::activeWindow(), box.windowFlags());
    box.exec();
}

} // namespace

void ShowMessage(const QString& text) {
    ShowBox(QMessageBox::NoIcon, text);
}

void ShowException(const std::exception* error) {
    ShowBox(QMessageBox::Critical, error ? QString::fromUtf8(error->what()) : QString());
}

namespace {

class TKeyPreview : public QObject {
public:
    TKeyPreview(QWidget* window, std::function<void(int)> handler)
        : QObject(window), m_window(window), m_handler(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        // A key that the focused widget ignores travels on to its parents: look at it once,
        // where it first arrives.
        QWidget* focus = m_window->focusWidget();
        if (watched != (focus ? focus : m_window))
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && qobject_cast<QAbstractButton*>(watched))
            return false;
        if (enter || key == Qt::Key_Escape)
            Guarded([&] { m_handler(enter ? kKeyEnter : kKeyEscape); });
        return false;
    }

private:
    QWidget* m_window;
    std::function<void(int)> m_handler;
};

class TSelectAllOnEntry : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason &&
                reason != Qt::MenuBarFocusReason) {
                // Queued: QLineEdit places its cursor on focus-in, after the filters.
                if (auto* edit = qobject_cast<QLineEdit*>(watched))
                    QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

} // namespace

void InstallKeyPreview(QWidget* window, std::function<void(int)> handler) {
    auto* preview = new TKeyPreview(window, std::move(handler));
    window->installEventFilter(preview);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (!child->isWindow() && child->window() == window)
            child->installEventFilter(preview);
}

void SelectAllOnEntry(QWidget* lineEdit) {
    lineEdit->installEventFilter(new TSelectAllOnEntry(lineEdit));
}

void CentreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void ShowWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

namespace {

std::unique_ptr<QApplication> g_qtApplication;
TApplication g_application;

} // namespace

TApplication* Application = &g_application;

void TApplication::Initialize() {
    m_terminated = false;
    QApplication::setApplicationName(QStringLiteral("varkelo"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.varkelo.Varkelo"));
    if (qApp == nullptr) {
        // The command line is not the program's to read: Qt gets only the program's name.
        static int argc = 1;
        static char name[] = "varkelo";
        static char* argv[] = {name, nullptr};
        g_qtApplication = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // Qt's own texts in Russian; the program runs on without them where they are missing.
    if (m_translator == nullptr) {
        m_translator = new QTranslator(qApp);
        if (m_translator->load(QStringLiteral("qtbase_ru"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(m_translator);
    }

    // An 11-pixel em as the old "MS Sans Serif" 8 pt; Liberation Sans has the closest widths
    // among the fonts of a stock Linux desktop. Only an installed family is named: asking for
    // a missing one sends fontconfig looking for substitutes, a fifth of the start-up.
    QFont font;
    for (const QString& family : {QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"), QStringLiteral("Arial")}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPixelSize(11);
    QApplication::setFont(font);
}

void TApplication::Run() {
    if (m_mainForm != nullptr)
        m_mainForm->show();
    m_terminated = false;
    QApplication::exec();
}

void TApplication::ReleaseForms() {
    delete m_mainForm;
    m_mainForm = nullptr;
}

void TApplication::Finish() {
    m_translator = nullptr; // went with Qt
    g_qtApplication.reset();
}

void TApplication::Terminate() {
    m_terminated = true;
    QCoreApplication::exit(0);
}

void TApplication::ShowException(const std::exception* error) {
    varkelo::ShowException(error);
}

} // namespace varkelo
