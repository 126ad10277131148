// SPDX-License-Identifier: GPL-3.0-or-later
// The incoming call: the ring on the PC, the number capture, the lookup and the caller alert.
#include "app/MainPhoneWindow.h"

#include "addressbook/AddressDatabase.h"
#include "app/CallerPopup.h"
#include "app/DataFolder.h"
#include "app/PhoneTray.h"
#include "audio/RingRules.h"
#include "audio/RingTonePlayer.h"

namespace dpx {

void MainPhoneWindow::onRing(RingEvent ring)
{
    // The model and the capture are brought up to date here; the ring on the PC starts and
    // stops through the event queue, because setting up a sound output may run the event
    // loop, and this handler must never run again inside itself.
    switch (ring) {
    case RingEvent::OutsideLineStarts:
    case RingEvent::IntercomStarts: {
        StartNumberCapture();
        const bool outsideLine = ring == RingEvent::OutsideLineStarts;
        const int call = m_callNumber;
        QMetaObject::invokeMethod(this, [this, outsideLine, call] {
            if (m_inCall && call == m_callNumber)
                RingRequest(outsideLine, false);
        }, Qt::QueuedConnection);
        break;
    }
    case RingEvent::Ends:
        m_captureTimer.stop();
        m_inCall = false;
        ++m_callNumber;
        EndCallerAlert(false);
        QMetaObject::invokeMethod(this, [this] { RingRequest(false, true); },
                                  Qt::QueuedConnection);
        break;
    case RingEvent::None:
        break;
    }
}

void MainPhoneWindow::RingRequest(bool outsideLine, bool stop)
{
    QString coRing, icmRing;
    AddressDatabase *db = m_services.database;
    if (!stop && db && (db->IsOpen() || db->Open())) {
        const PhoneSettings settings = db->ReadSettingsRow();
        coRing = settings.coRing;
        icmRing = settings.icmRing;
    }
    const QString folder = m_services.dataFolder ? m_services.dataFolder->path() : QString();
    const RingDecision decision = DecideRingRequest(outsideLine, stop, coRing, icmRing, folder);
    switch (decision.action) {
    case RingAction::Nothing:
        break;
    case RingAction::Stop:
        m_ringPlayer->Stop();
        break;
    case RingAction::ShowMessage:
        showMessage(decision.message);
        break;
    case RingAction::Play:
        m_ringPlayer->Play(decision.path);
        break;
    }
}

void MainPhoneWindow::StartNumberCapture()
{
    // The telephone asks for a fresh capture on every ring report; within one call a caller
    // already found stays until the call ends.
    m_model.StartNumberCapture();
    if (!m_inCall) {
        m_callerFound = false;
        m_caller.clear();
        m_callerNumber.clear();
    }
    m_inCall = true;
    LookUpCaller(QString()); // no number yet: the alert starts all the same
    m_captureTimer.start();
}

void MainPhoneWindow::onCaptureTick()
{
    switch (m_model.tickNumberCapture()) {
    case NumberCapture::Result::NumberFound:
        m_captureTimer.stop();
        LookUpCaller(m_model.numberCapture().number());
        break;
    case NumberCapture::Result::GaveUp:
    case NumberCapture::Result::Idle:
        m_captureTimer.stop();
        break;
    case NumberCapture::Result::KeepGoing:
        break;
    }
}

void MainPhoneWindow::LookUpCaller(const QString &number)
{
    if (!number.isEmpty()) {
        AddressDatabase *db = m_services.database;
        std::optional<CallerMatch> match;
        if (db && (db->IsOpen() || db->Open()))
            match = db->lookUpCaller(number);
        if (match) {
            m_caller = match->contact;
            m_callerFound = true;
            m_callerNumber = number;
        } else if (!m_callerFound) {
            m_callerNumber = number; // an unknown number never replaces a caller found before
        }
        if (m_callerFound && m_showCallerCard)
            QMetaObject::invokeMethod(this, &MainPhoneWindow::showCallerCardRequested,
                                      Qt::QueuedConnection);
    }
    const bool alreadyAlerting = m_callerAlertPending;
    m_callerAlertPending = true;
    m_tray->startAlert();
    updatePopup();
    if (!alreadyAlerting)
        m_popup->Show();
    if (!number.isEmpty())
        m_tray->notify(m_popup->title(), m_popup->body());
}

void MainPhoneWindow::updatePopup()
{
    const QString name = m_callerFound ? m_caller.name() : QString();
    const QString number = m_callerNumber.isEmpty() ? QStringLiteral("—") : m_callerNumber;
    if (name.isEmpty())
        m_popup->setCaller(number, QString());
    else
        m_popup->setCaller(name, number);
}

void MainPhoneWindow::EndCallerAlert(bool answer)
{
    m_callerAlertPending = false;
    m_tray->stopAlert();
    if (m_popup->isShown())
        m_popup->Hide(true);
    if (answer)
        PressKey(29);
}

} // namespace dpx
