#pragma once

#include "Platform.h"
#include "TripData.h"

#include <memory>

class THelpForm;

// The main window: owns the trip record and offers the program's commands.
class TForm1 : public varkelo::TForm {
public:
    TForm1();
    ~TForm1() override;

    varkelo::TTripData& TripData() { return m_tripData; }

    void CalculationButtonClick();
    void N2Click();
    void N3Click();
    void N4Click();
    void N7Click();
    void N8Click();
    void N6Click();
    void FormKeyDown(int key) override;
    void Prepare() override;

private:
    void ShowProfit();

    varkelo::TTripData m_tripData;
    std::unique_ptr<THelpForm> m_helpForm; // built when first needed
};

extern TForm1* Form1;
