// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class QLabel;

namespace dpx {

class SimulatedBox;

// The simulate panel's view of the box's six ring tone slots: where each lies and what its
// table entry says, read from the simulated EEPROM once a second.
class SimSlotView : public QGroupBox {
    Q_OBJECT
public:
    explicit SimSlotView(SimulatedBox &box, QWidget *parent = nullptr);
    void refresh();

private:
    SimulatedBox &m_box;
    QLabel *m_lines = nullptr;
};

} // namespace dpx
