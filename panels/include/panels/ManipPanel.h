// A manipulator panel of a main frame. Each frame has two, told apart by their panel number.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CManipPanel {
public:
    explicit CManipPanel(int panelNumber) : m_panelNumber(panelNumber) {}
    CManipPanel(const CManipPanel&) = delete;
    CManipPanel& operator=(const CManipPanel&) = delete;
    virtual ~CManipPanel() = default;

    int GetPanelNumber() const { return m_panelNumber; }

private:
    int m_panelNumber;
};

DV_EXPORTS_END
