// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace dpx {

// "About DPX": the icon, the name, the version and the release date.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
};


} // namespace dpx
