// The program's windows over Qt 6 Widgets: builds each form from its description and gives it
// the desktop behaviour the program relies on. Qt must never see an exception unwind through
// its frames, so every handler runs through Dispatch.

#include "Platform.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTextBrowser>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <memory>

#include "fish.xpm"

namespace varkelo {

struct TWindow {
    QWidget* Widget;
};

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString kProgramName = QStringLiteral("Варкело");

std::unique_ptr<QApplication> g_qtApplication;
QTranslator* g_translator = nullptr;
QWidget* g_mainWidget = nullptr;
// Run's preparation, waiting for the main window's first paint.
std::function<void()> g_prepare;

// Windows message boxes copy their text on Ctrl+C; Qt's do so only on Windows.
class TMessageBox : public QMessageBox {
public:
    TMessageBox(Icon icon, const QString& text) : QMessageBox(icon, kProgramName, text, Ok) {
        // Typed text is quoted in error messages: never let it pass for markup.
        setTextFormat(Qt::PlainText);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
        // In Cyrillic letters, as on a Russian desktop; Qt's translation leaves it Latin.
        button(Ok)->setText(QStringLiteral("ОК"));
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

void ShowBox(QMessageBox::Icon icon, std::string_view text) {
    QPointer<QWidget> owner = QApplication::activeWindow();
    TMessageBox box(icon, FromUtf8(text));
    box.setParent(owner, box.windowFlags());
    box.exec();
    // The window the box came from is active again, as where the platform does it itself.
    if (owner != nullptr && owner->isVisible())
        owner->activateWindow();
}

// The role a screen reader announces a secondary window with; Qt would make a plain widget
// a client area ("filler" over AT-SPI), not a window.
const char* const kRoleProperty = "varkeloRole";

QAccessibleInterface* AccessibleWindow(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget") || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    const QVariant role = widget->property(kRoleProperty);
    if (!widget->isWindow() || !role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
}

// Gives a form's FormKeyDown the first look at Enter and Esc typed anywhere in it, without
// consuming them. A focused push button takes Enter itself.
class TKeyPreview : public QObject {
public:
    TKeyPreview(QWidget* window, TForm& form) : QObject(window), m_window(window), m_form(form) {}

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
            DispatchKey(m_form, enter ? kKeyEnter : kKeyEscape);
        return false;
    }

private:
    QWidget* m_window;
    TForm& m_form;
};

// Selects a line edit's whole text whenever it is entered other than by a mouse click.
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

// The frame the window manager hangs round a window, as far as it has told it (on X11,
// _NET_FRAME_EXTENTS); none offscreen, on an X server without a window manager, or before
// the window is mapped.
QMargins FrameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr && window->isVisible() ? handle->frameMargins() : QMargins();
}

// Sizes a window whose description gives its outer size, and places it by its whole frame:
// centred on the screen's available area, or over the main window, inside that area.
void Fit(QWidget* window, const TFormDesc& layout, const QMargins& frame) {
    if (layout.OuterSize)
        window->resize(QSize(layout.Width, layout.Height).shrunkBy(frame));
    const QRect area = window->screen()->availableGeometry();
    const QSize outer = window->size().grownBy(frame);
    const bool overMain = layout.Position == TPosition::OverMainForm && g_mainWidget != nullptr &&
                          g_mainWidget != window;
    const QRect around = overMain ? g_mainWidget->frameGeometry() : area;
    // A window's position is its frame's.
    window->move(PlaceCentred(around.left(), around.right() + 1, outer.width(), area.left(),
                              area.right() + 1),
                 PlaceCentred(around.top(), around.bottom() + 1, outer.height(), area.top(),
                              area.bottom() + 1));
}

// A form's top-level widget: its frame's close button goes to the form, and the window is
// sized and placed by its whole frame.
template <class Base> class TFormWidget : public Base {
public:
    TFormWidget(TForm& form, Qt::WindowFlags flags) : Base(nullptr, flags), m_form(form) {}

    // The frame is known only once the window manager has mapped the window: the first time,
    // it is placed as if it had the main window's frame, the likeliest, so that it seldom has
    // to move once its own is known. The form owns its window alone: the others go with the
    // main window as the window system sees it, not as Qt's children, which Qt would delete as
    // well. Made native only once placed, so that the place is the frame's; for a window other
    // than the main one, as soon as the main window is up, so that showing it is quick.
    void Place() {
        if (m_placed)
            return;
        m_placed = true;
        Fit(this, m_form.Layout(), g_mainWidget != nullptr ? FrameOf(g_mainWidget) : QMargins());
        if (g_mainWidget != nullptr && g_mainWidget != this) {
            this->winId();
            this->windowHandle()->setTransientParent(g_mainWidget->windowHandle());
        }
    }

    void setVisible(bool visible) override {
        if (visible)
            Place();
        Base::setVisible(visible);
    }

protected:
    bool event(QEvent* event) override {
        const bool handled = Base::event(event);
        // Qt reads the frame anew when the window manager moves the window into it; some
        // platforms know it on showing.
        const QEvent::Type type = event->type();
        // Painted, the main window is on the screen: what waits for that comes next.
        if (type == QEvent::Paint && this == g_mainWidget && g_prepare)
            QMetaObject::invokeMethod(this, std::exchange(g_prepare, {}), Qt::QueuedConnection);
        if ((type == QEvent::Show || type == QEvent::Move) && !m_framed) {
            const QMargins frame = FrameOf(this);
            if (!frame.isNull()) {
                m_framed = true;
                Fit(this, m_form.Layout(), frame);
            }
        }
        return handled;
    }

    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        FrameClosed(m_form);
    }

private:
    TForm& m_form;
    bool m_placed = false;
    bool m_framed = false;
};

Qt::WindowFlags FlagsOf(const TFormDesc& layout) {
    if (layout.Border == TBorder::Dialog)
        return Qt::Dialog;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (layout.HasMinimiseBox())
        flags |= Qt::WindowMinimizeButtonHint;
    if (layout.HasMaximiseBox())
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

Qt::CursorShape CursorOf(TCursor cursor) {
    switch (cursor) {
    case TCursor::IBeam:
        return Qt::IBeamCursor;
    case TCursor::Cross:
        return Qt::CrossCursor;
    case TCursor::HandPoint:
        return Qt::PointingHandCursor;
    case TCursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

QWidget* MakeControl(const TControlDesc& desc, QWidget* parent, TForm& form) {
    const QString text = FromUtf8(desc.Text);
    QWidget* control = nullptr;
    switch (desc.Kind) {
    case TControlKind::Label: {
        auto* label = new QLabel(text, parent);
        if (desc.Width == 0)
            label->adjustSize();
        control = label;
        break;
    }
    case TControlKind::Edit: {
        auto* edit = new QLineEdit(text, parent);
        edit->setMaxLength(desc.MaxLength);
        edit->installEventFilter(new TSelectAllOnEntry(edit));
        control = edit;
        break;
    }
    case TControlKind::Button: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(true); // a focused button takes Enter itself
        if (desc.OnClick != nullptr)
            QObject::connect(button, &QPushButton::clicked, button,
                             [&form, handler = desc.OnClick] { Dispatch(form, handler); });
        control = button;
        break;
    }
    case TControlKind::Document: {
        auto* document = new QTextBrowser(parent);
        document->setAccessibleName(text);
        QFont readable = document->font(); // the forms' 11-pixel font is small for reading
        readable.setPixelSize(13);
        document->setFont(readable);
        auto* layout = new QVBoxLayout(parent);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(document);
        control = document;
        break;
    }
    }
    control->setObjectName(FromUtf8(desc.Name.View()));
    if (desc.Kind != TControlKind::Document)
        control->move(desc.Left, desc.Top);
    if (desc.Width > 0)
        control->resize(desc.Width, desc.Height);
    control->setCursor(CursorOf(desc.Cursor));
    if (!desc.Hint.empty()) {
        control->setToolTip(FromUtf8(desc.Hint));
        control->setAccessibleDescription(control->toolTip());
    }
    control->setFocusPolicy(desc.TabIndex < 0 ? Qt::NoFocus : Qt::StrongFocus);
    return control;
}

void BuildMenu(QMainWindow* window, std::span<const TMenuItemDesc> menu, TForm& form) {
    QMenu* current = nullptr;
    for (const TMenuItemDesc& item : menu) {
        if (item.Heading) {
            current = window->menuBar()->addMenu(FromUtf8(item.Caption));
            current->setObjectName(FromUtf8(item.Name));
            continue;
        }
        // An item before any heading stands on the bar itself.
        QWidget* owner = current ? static_cast<QWidget*>(current) : window->menuBar();
        auto* action = new QAction(FromUtf8(item.Caption), owner);
        owner->addAction(action);
        action->setObjectName(FromUtf8(item.Name));
        if (item.FunctionKey > 0) {
            action->setShortcut(QKeySequence(Qt::Key_F1 + item.FunctionKey - 1));
            // The shortcuts work from every window of the program.
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        if (item.OnClick != nullptr)
            QObject::connect(action, &QAction::triggered, window,
                             [&form, handler = item.OnClick] { Dispatch(form, handler); });
    }
}

QWidget* FindControl(const TWindow& window, std::string_view name) {
    return window.Widget->findChild<QWidget*>(FromUtf8(name));
}

} // namespace

namespace platform {

void Initialize() {
    QApplication::setApplicationName(QStringLiteral("varkelo"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.varkelo.Varkelo"));
    if (qApp == nullptr) {
        // Under a Wayland compositor, the X11 path through Xwayland whenever there is an X
        // display, and Wayland's own only without one. Measured under sway: natively, asking
        // to bring an open window forward is refused and the keys go on into the window in
        // front; through Xwayland the program moves the keyboard itself, as on X11, and places
        // and sizes its windows by their frames. QT_QPA_PLATFORM, when set, decides.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            !qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "xcb;wayland");
        // The command line is not the program's to read: Qt gets only the program's name.
        static int argc = 1;
        static char name[] = "varkelo";
        static char* argv[] = {name, nullptr};
        g_qtApplication = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QAccessible::installFactory(AccessibleWindow); // cleared with each application object
    QApplication::setWindowIcon(QIcon(QPixmap(kFishIcon)));

    // Qt's own texts in Russian; the program runs on without them where they are missing.
    if (g_translator == nullptr) {
        g_translator = new QTranslator(qApp);
        if (g_translator->load(QStringLiteral("qtbase_ru"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(g_translator);
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

TWindow* CreateFormWindow(TForm& form) {
    const TFormDesc& layout = form.Layout();
    QWidget* window;
    TFormWidget<QWidget>* other = nullptr; // a window without a menu: not the main one
    QWidget* client;
    if (!layout.Menu.empty()) {
        auto* main = new TFormWidget<QMainWindow>(form, FlagsOf(layout));
        BuildMenu(main, layout.Menu, form);
        client = new QWidget(main);
        client->setBackgroundRole(QPalette::Button);
        main->setCentralWidget(client);
        window = main;
    } else {
        window = other = new TFormWidget<QWidget>(form, FlagsOf(layout));
        window->setAutoFillBackground(true);
        client = window;
        // A window that asks for input is a dialog; one that only shows a document, a window.
        const bool reader = std::any_of(layout.Controls.begin(), layout.Controls.end(),
                                        [](auto& c) { return c.Kind == TControlKind::Document; });
        window->setProperty(kRoleProperty, int(reader ? QAccessible::Window : QAccessible::Dialog));
    }
    if (g_mainWidget == nullptr)
        g_mainWidget = window;
    window->setObjectName(FromUtf8(layout.Name));
    window->setWindowTitle(FromUtf8(layout.Caption));
    window->setBackgroundRole(QPalette::Button);

    std::vector<std::pair<int, QWidget*>> tabOrder;
    QLabel* pendingLabel = nullptr;
    for (const TControlDesc& desc : layout.Controls) {
        QWidget* control = MakeControl(desc, client, form);
        // A screen reader names a field by the label before it, its buddy.
        if (pendingLabel != nullptr && desc.Kind == TControlKind::Edit)
            pendingLabel->setBuddy(control);
        pendingLabel = qobject_cast<QLabel*>(control);
        if (desc.TabIndex >= 0)
            tabOrder.emplace_back(desc.TabIndex, control);
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    if (!tabOrder.empty())
        tabOrder.front().second->setFocus(); // for the first show

    const QSize size(layout.Width, layout.Height);
    if (layout.Border != TBorder::Sizeable) {
        client->setFixedSize(size);
        if (window->layout() != nullptr)
            window->layout()->setSizeConstraint(QLayout::SetFixedSize);
        window->adjustSize();
    } else {
        window->resize(size); // an outer size is met on showing, once the frame is known
    }

    auto* preview = new TKeyPreview(window, form);
    window->installEventFilter(preview);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (!child->isWindow() && child->window() == window)
            child->installEventFilter(preview);
    window->ensurePolished(); // styled now, not on its first show
    if (other != nullptr && g_mainWidget != other && g_mainWidget->isVisible())
        other->Place();
    return new TWindow{window};
}

void DestroyWindow(TWindow* window) {
    if (window == nullptr)
        return;
    if (window->Widget == g_mainWidget)
        g_mainWidget = nullptr;
    delete window->Widget;
    delete window;
}

void Finalize() {
    g_translator = nullptr; // goes with Qt
    g_qtApplication.reset();
}

void Run(const std::function<void()>& prepare) {
    g_prepare = prepare;
    if (g_mainWidget != nullptr)
        g_mainWidget->show();
    QApplication::exec();
    g_prepare = nullptr;
}

void Terminate() {
    QCoreApplication::exit(0);
}

void ShowMessage(std::string_view text) {
    ShowBox(QMessageBox::NoIcon, text);
}

void ShowError(std::string_view text) {
    ShowBox(QMessageBox::Critical, text);
}

void Show(TWindow& window) {
    QWidget* widget = window.Widget;
    widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void Hide(TWindow& window) {
    window.Widget->hide();
}

std::string GetText(const TWindow& window, std::string_view control) {
    if (auto* edit = qobject_cast<QLineEdit*>(FindControl(window, control)))
        return edit->text().toStdString();
    return {};
}

void SetText(TWindow& window, std::string_view control, std::string_view text) {
    QWidget* widget = FindControl(window, control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(FromUtf8(text));
    else if (auto* document = qobject_cast<QTextBrowser*>(widget))
        document->setMarkdown(FromUtf8(text));
}

void FocusControl(TWindow& window, std::string_view control) {
    QWidget* widget = FindControl(window, control);
    if (widget == nullptr)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
}

} // namespace platform

} // namespace varkelo
