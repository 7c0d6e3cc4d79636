#include "Fishingunit.h"

#include "Platform.h"
#include "Profit.h"

#include "Baitunit.h"
#include "Fishunit.h"
#include "Helpunit.h"
#include "Rodunit.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

#include "fish.xpm"

using namespace varkelo;

TForm1* Form1 = nullptr;

namespace {

QAction* AddCommand(QMenu* menu, const char* name, const QString& caption, Qt::Key key) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    // The shortcuts work from the entry dialogs too.
    action->setShortcutContext(Qt::ApplicationShortcut);
    return action;
}

} // namespace

TForm1::TForm1(QWidget* owner) : QMainWindow(owner) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramName);
    setWindowIcon(QIcon(QPixmap(kFishIcon)));
    setWindowFlags(kNoMaximiseWindow); // and a fixed size, below
    setBackgroundRole(QPalette::Button);

    N1 = menuBar()->addMenu(QStringLiteral("Меню"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = AddCommand(N1, "N2", QStringLiteral("Выловленная рыба"), Qt::Key_F1);
    N3 = AddCommand(N1, "N3", QStringLiteral("Потраченная приманка"), Qt::Key_F2);
    N4 = AddCommand(N1, "N4", QStringLiteral("Потраченные снасти"), Qt::Key_F3);
    N7 = AddCommand(N1, "N7", QStringLiteral("Расчёт"), Qt::Key_F4);
    N8 = AddCommand(N1, "N8", QStringLiteral("Выход"), Qt::Key_F6);
    N5 = menuBar()->addMenu(QStringLiteral("Дополнительно"));
    N5->setObjectName(QStringLiteral("N5"));
    N6 = AddCommand(N5, "N6", QStringLiteral("Помощь"), Qt::Key_F5);

    // The client area below the menu bar is 225 x 74 and the window cannot be resized.
    auto* client = new QWidget(this);
    client->setFixedSize(225, 74);
    client->setBackgroundRole(QPalette::Button);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    CalculationButton = new QPushButton(QStringLiteral("Расчёт"), client);
    CalculationButton->setObjectName(QStringLiteral("CalculationButton"));
    CalculationButton->setGeometry(82, 20, 60, 30);
    CalculationButton->setCursor(Qt::PointingHandCursor);
    CalculationButton->setToolTip(QStringLiteral("Произвести расчёт прибыли"));
    CalculationButton->setAccessibleDescription(CalculationButton->toolTip());
    CalculationButton->setAutoDefault(true); // a focused button takes Enter itself
    CalculationButton->setFocus();

    Bind(CalculationButton, &QPushButton::clicked, this, [this] { CalculationButtonClick(); });
    Bind(N2, &QAction::triggered, this, [this] { N2Click(); });
    Bind(N3, &QAction::triggered, this, [this] { N3Click(); });
    Bind(N4, &QAction::triggered, this, [this] { N4Click(); });
    Bind(N7, &QAction::triggered, this, [this] { N7Click(); });
    Bind(N8, &QAction::triggered, this, [this] { N8Click(); });
    Bind(N6, &QAction::triggered, this, [this] { N6Click(); });
    InstallKeyPreview(this, [this](int key) { FormKeyDown(key); });

    adjustSize();
    CentreOnScreen(this);

    ResetTripData(m_tripData);
}

void TForm1::ShowProfit() {
    CalculateProfit(m_tripData);
    ShowMessage(QString::fromStdString(FormatProfitMessage(m_tripData.NetProfit)));
}

void TForm1::CalculationButtonClick() {
    ShowProfit();
}
void TForm1::N2Click() {
    ShowWindow(Form2);
}
void TForm1::N3Click() {
    ShowWindow(Form3);
}
void TForm1::N4Click() {
    ShowWindow(Form4);
}
void TForm1::N7Click() {
    ShowProfit();
}
void TForm1::N8Click() {
    Application->Terminate();
}

void TForm1::N6Click() {
    // Built on first use: start-up need not pay for it.
    if (HelpForm == nullptr)
        HelpForm = new THelpForm(this);
    ShowWindow(HelpForm);
}

void TForm1::FormKeyDown(int key) {
    if (key == kKeyEnter)
        ShowProfit();
    if (key == kKeyEscape)
        Application->Terminate();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever dialogs are open.
    event->accept();
    Application->Terminate();
}
