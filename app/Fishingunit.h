#pragma once

#include "TripData.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QPushButton;
class THelpForm;

// The main window: owns the trip record and offers the program's commands.
class TForm1 : public QMainWindow {
public:
    explicit TForm1(QWidget* owner = nullptr);

    varkelo::TTripData& TripData() { return m_tripData; }

    QPushButton* CalculationButton;
    QMenu* N1;
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QAction* N7;
    QAction* N8;
    QMenu* N5;
    QAction* N6;
    THelpForm* HelpForm = nullptr;

    void CalculationButtonClick();
    void N2Click();
    void N3Click();
    void N4Click();
    void N7Click();
    void N8Click();
    void N6Click();
    void FormKeyDown(int key);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowProfit();

    varkelo::TTripData m_tripData;
};

extern TForm1* Form1;
