// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimPanel.h"

#include "app/SimScript.h"
#include "app/SimSlotView.h"
#include "phone/LampBoard.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace dpx {

SimPanel::SimPanel(SimulatedBox &box, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_box(box)
{
    setWindowTitle(tr("模擬電話機"));
    auto *layout = new QVBoxLayout(this);

    m_plug = new QPushButton;
    connect(m_plug, &QPushButton::clicked, this, [this] {
        if (m_box.isPlugged())
            m_box.unplug();
        else
            m_box.plug();
        updatePlugButton();
    });
    layout->addWidget(m_plug);
    updatePlugButton();

    auto *display = new QGroupBox(tr("顯示幕"));
    auto *displayForm = new QFormLayout(display);
    for (int line = 1; line <= 2; ++line) {
        auto *edit = new QLineEdit;
        edit->setMaxLength(16);
        edit->setPlaceholderText(tr("最多 16 個字元,按 Enter 送出"));
        connect(edit, &QLineEdit::returnPressed, this,
                [this, edit, line] { m_box.telephone().showText(line, edit->text()); });
        displayForm->addRow(tr("第 %1 行").arg(line), edit);
    }
    auto *clock = new QPushButton(tr("顯示時鐘"));
    connect(clock, &QPushButton::clicked, this, [this] { m_box.telephone().showClock(); });
    displayForm->addRow(clock);
    layout->addWidget(display);

    auto *lamps = new QGroupBox(tr("燈號"));
    auto *lampRow = new QHBoxLayout(lamps);
    auto *lampNumber = new QSpinBox;
    lampNumber->setRange(1, 32);
    lampNumber->setToolTip(QStringLiteral("1-24 key lamps, 29 key 15, 31 small, 32 large indicator"));
    auto *lampState = new QComboBox;
    for (const char *name : {"off", "red-slow", "red-fast", "red-steady", "red-wink", "green-slow",
                             "green-fast", "green-steady", "green-wink"})
        lampState->addItem(QLatin1String(name));
    auto *setLamp = new QPushButton(tr("設定"));
    connect(setLamp, &QPushButton::clicked, this, [this, lampNumber, lampState] {
        const auto state = parseLampState(lampState->currentText());
        if (state)
            m_box.telephone().setLamp(quint8(lampStateCode(*state)), quint8(lampNumber->value()));
    });
    lampRow->addWidget(lampNumber);
    lampRow->addWidget(lampState, 1);
    lampRow->addWidget(setLamp);
    layout->addWidget(lamps);

    auto *call = new QGroupBox(tr("來電"));
    auto *callForm = new QFormLayout(call);
    auto *number = new QLineEdit(QStringLiteral("0223456789"));
    callForm->addRow(tr("來電號碼"), number);
    auto *callButtons = new QHBoxLayout;
    auto *ringCo = new QPushButton(tr("外線響鈴"));
    auto *ringIcm = new QPushButton(tr("內線響鈴"));
    auto *hangUp = new QPushButton(tr("掛斷"));
    connect(ringCo, &QPushButton::clicked, this,
            [this, number] { m_box.telephone().ring(true, number->text()); });
    connect(ringIcm, &QPushButton::clicked, this,
            [this, number] { m_box.telephone().ring(false, number->text()); });
    connect(hangUp, &QPushButton::clicked, this, [this] { m_box.telephone().hangUp(); });
    callButtons->addWidget(ringCo);
    callButtons->addWidget(ringIcm);
    callButtons->addWidget(hangUp);
    callForm->addRow(callButtons);
    layout->addWidget(call);

    auto *raw = new QGroupBox(tr("事件組"));
    auto *rawRow = new QHBoxLayout(raw);
    auto *pairs = new QLineEdit;
    pairs->setObjectName(QStringLiteral("pairs"));
    pairs->setPlaceholderText(QStringLiteral("0x24 0x41 0x25 0x42"));
    auto *send = new QPushButton(tr("送出"));
    connect(send, &QPushButton::clicked, this, &SimPanel::sendRawPairs);
    connect(pairs, &QLineEdit::returnPressed, this, &SimPanel::sendRawPairs);
    rawRow->addWidget(pairs, 1);
    rawRow->addWidget(send);
    layout->addWidget(raw);

    m_message = new QLabel;
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    layout->addWidget(new SimSlotView(m_box));
    layout->addStretch();
}

void SimPanel::updatePlugButton()
{
    m_plug->setText(m_box.isPlugged() ? tr("拔下電話盒")
                                      : tr("接上電話盒"));
}

void SimPanel::sendRawPairs()
{
    // The same reading as the script's "event" command.
    auto *edit = findChild<QLineEdit *>(QStringLiteral("pairs"));
    const ParsedScript parsed = parseSimScript(QStringLiteral("event ") + edit->text());
    if (!parsed.error.isEmpty() || parsed.commands.size() != 1) {
        m_message->setText(tr("請輸入一到三組代碼/數值,例如 0x24 0x41。"));
        return;
    }
    const QList<int> &bytes = parsed.commands.first().numbers;
    QList<std::pair<quint8, quint8>> pairs;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        pairs.append({quint8(bytes[i]), quint8(bytes[i + 1])});
    m_message->clear();
    m_box.sendEvent(pairs);
}

} // namespace dpx
