// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialSequencer.h"

#include <QUrl>

namespace dpx {

DialSequencer::DialSequencer(PressFunction press, QObject *parent)
    : QObject(parent), m_press(std::move(press))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &DialSequencer::step);
    m_wait = [this](int pauseMs) { m_timer.start(pauseMs); };
}

bool DialSequencer::start(const QList<DialStep> &steps, const QString &number)
{
    if (isRunning())
        return false;
    m_steps = steps;
    m_number = number;
    m_index = 0;
    step();
    return true;
}

void DialSequencer::cancel()
{
    m_timer.stop();
    m_index = -1;
}

void DialSequencer::step()
{
    if (m_index < 0)
        return;
    if (m_index >= m_steps.size()) {
        m_index = -1;
        Q_EMIT finished(true);
        return;
    }
    const DialStep current = m_steps.at(m_index++);
    if (current.keyNumber > 0 && !m_press(current.keyNumber)) {
        m_index = -1;
        Q_EMIT finished(false);
        return;
    }
    m_wait(current.pauseMs); // measured from the press just made
}

QString numberFromDialRequest(const QString &request)
{
    QString text = request.trimmed();
    if (text.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)) {
        text = text.mid(4);
        if (text.startsWith(QStringLiteral("//")))
            text = text.mid(2);
        text = QUrl::fromPercentEncoding(text.toUtf8());
    }
    QString number;
    for (const QChar c : withoutVisualSeparators(text)) {
        const bool dialable = (c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'p'
            || c == u'P';
        if (!dialable)
            return {};
        number += c;
    }
    return number;
}

} // namespace dpx
