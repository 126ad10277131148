// SPDX-License-Identifier: GPL-3.0-or-later
#include "phone/NumberCapture.h"

namespace dpx {

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
} // namespace

void NumberCapture::start()
{
    m_running = true;
    m_ticks = 0;
    m_number.clear();
}

NumberCapture::Result NumberCapture::tick(QStringView line2, bool lcdDrawn)
{
    if (!m_running)
        return Result::Idle;
    ++m_ticks;
    if (lcdDrawn)
        m_number += firstDigitRun(line2);
    if (!m_number.isEmpty()) {
        m_running = false;
        return Result::NumberFound;
    }
    if (m_ticks >= MaxTicks) {
        m_running = false;
        return Result::GaveUp;
    }
    return Result::KeepGoing;
}

QString NumberCapture::firstDigitRun(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && !isDigit(text[begin]))
        ++begin;
    qsizetype end = begin;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return text.mid(begin, end - begin).toString();
}

} // namespace dpx
