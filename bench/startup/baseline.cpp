// The yardstick for start-up: a bare Qt 6 Widgets program with a main window of the same size,
// one menu and one button, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.menuBar()->addMenu(QStringLiteral("Меню"))->addAction(QStringLiteral("Выход"));
    auto* client = new QWidget(&window);
    client->setFixedSize(225, 74);
    window.setCentralWidget(client);
    auto* button = new QPushButton(QStringLiteral("Расчёт"), client);
    button->setGeometry(82, 20, 60, 30);
    window.show();
    return QApplication::exec();
}
