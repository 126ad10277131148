// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimPanel.h"

#include "ui/Translated.h"

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
    setTranslated(this, "windowTitle", this, QT_TR_NOOP("模擬電話機"));
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

    auto *display = new QGroupBox;
    setTranslated(display, "title", this, QT_TR_NOOP("顯示幕"));
    auto *displayForm = new QFormLayout(display);
    for (int line = 1; line <= 2; ++line) {
        auto *edit = new QLineEdit;
        edit->setMaxLength(16);
        setTranslated(edit, "placeholderText", this, QT_TR_NOOP("最多 16 個字元,按 Enter 送出"));
        connect(edit, &QLineEdit::returnPressed, this,
                [this, edit, line] { m_box.telephone().showText(line, edit->text()); });
        displayForm->addRow(tr("第 %1 行").arg(line), edit);
    }
    auto *clock = new QPushButton;
    setTranslated(clock, "text", this, QT_TR_NOOP("顯示時鐘"));
    connect(clock, &QPushButton::clicked, this, [this] { m_box.telephone().showClock(); });
    displayForm->addRow(clock);
    layout->addWidget(display);

    auto *lamps = new QGroupBox;
    setTranslated(lamps, "title", this, QT_TR_NOOP("燈號"));
    auto *lampRow = new QHBoxLayout(lamps);
    auto *lampNumber = new QSpinBox;
    lampNumber->setRange(1, 32);
    setTranslated(lampNumber, "toolTip", this, QT_TR_NOOP("1-24 按鍵燈,29 第 15 鍵,31 小指示燈,32 大指示燈"));
    auto *lampState = new QComboBox;
    for (const char *name : {"off", "red-slow", "red-fast", "red-steady", "red-wink", "green-slow",
                             "green-fast", "green-steady", "green-wink"})
        lampState->addItem(QLatin1String(name));
    auto *setLamp = new QPushButton;
    setTranslated(setLamp, "text", this, QT_TR_NOOP("設定"));
    connect(setLamp, &QPushButton::clicked, this, [this, lampNumber, lampState] {
        const auto state = parseLampState(lampState->currentText());
        if (state)
            m_box.telephone().setLamp(quint8(lampStateCode(*state)), quint8(lampNumber->value()));
    });
    lampRow->addWidget(lampNumber);
    lampRow->addWidget(lampState, 1);
    lampRow->addWidget(setLamp);
    layout->addWidget(lamps);

    auto *call = new QGroupBox;
    setTranslated(call, "title", this, QT_TR_NOOP("來電"));
    auto *callForm = new QFormLayout(call);
    auto *number = new QLineEdit(QStringLiteral("0223456789"));
    auto *numberLabel = new QLabel;
    setTranslated(numberLabel, "text", this, QT_TR_NOOP("來電號碼"));
    callForm->addRow(numberLabel, number);
    auto *callButtons = new QHBoxLayout;
    auto *ringCo = new QPushButton;
    setTranslated(ringCo, "text", this, QT_TR_NOOP("外線響鈴"));
    auto *ringIcm = new QPushButton;
    setTranslated(ringIcm, "text", this, QT_TR_NOOP("內線響鈴"));
    auto *hangUp = new QPushButton;
    setTranslated(hangUp, "text", this, QT_TR_NOOP("掛斷"));
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

    auto *raw = new QGroupBox;
    setTranslated(raw, "title", this, QT_TR_NOOP("事件組"));
    auto *rawRow = new QHBoxLayout(raw);
    auto *pairs = new QLineEdit;
    pairs->setObjectName(QStringLiteral("pairs"));
    pairs->setPlaceholderText(QStringLiteral("0x24 0x41 0x25 0x42"));
    auto *send = new QPushButton;
    setTranslated(send, "text", this, QT_TR_NOOP("送出"));
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
    setTranslated(m_plug, "text", this, m_box.isPlugged() ? QT_TR_NOOP("拔下電話盒") : QT_TR_NOOP("接上電話盒"));
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
