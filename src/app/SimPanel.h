// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dpx {

class SimulatedBox;

// The "simulated telephone" panel beside the main window in --simulate mode: plug and pull
// the box, write the telephone's display, set lamps, ring and hang up, send raw event pairs.
class SimPanel : public QWidget {
    Q_OBJECT
public:
    explicit SimPanel(SimulatedBox &box, QWidget *parent = nullptr);


private:
    void updatePlugButton();
    void sendRawPairs();

    SimulatedBox &m_box;
    QPushButton *m_plug = nullptr;
    QLabel *m_message = nullptr;
};

} // namespace dpx
