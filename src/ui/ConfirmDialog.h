// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

namespace dpx {

class SkinBitmapButton;

// The transfer's and the converter's warning: a text of the caller's, "確定" and "退出".
class ConfirmDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmDialog(const QString &text, QWidget *parent = nullptr);

    QString text() const;
    SkinBitmapButton *okButton() const { return m_ok; }
    SkinBitmapButton *cancelButton() const { return m_cancel; }

    // Asks modally; true for 確定.
    static bool ask(QWidget *parent, const QString &text);

private:
    QLabel *m_text = nullptr;
    SkinBitmapButton *m_ok = nullptr;
    SkinBitmapButton *m_cancel = nullptr;
};

} // namespace dpx
