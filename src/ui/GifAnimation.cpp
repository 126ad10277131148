// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GifAnimation.h"

#include "ui/GifFile.h"
#include "ui/GifTicker.h"

#include <QFile>
#include <QPaintEvent>
#include <QPainter>

namespace dpx {

GifAnimation::GifAnimation(GifTicker &ticker, QWidget *parent) : QWidget(parent), m_ticker(&ticker)
{
}

GifAnimation::~GifAnimation()
{
    Stop();
}

bool GifAnimation::LoadFromResource(int number)
{
    const QString base = QStringLiteral(":/art/%1").arg(number);
    for (const char *suffix : {".gif", ".png"}) {
        QFile file(base + QLatin1String(suffix));
        if (file.open(QIODevice::ReadOnly))
            return LoadFromMemory(file.readAll());
    }
    // A lamp must not go on showing its old state when the new picture is missing.
    Unload();
    return false;
}

bool GifAnimation::LoadFromMemory(const QByteArray &data)
{
    Unload();
    const GifFile gif = GifFile::parse(data);
    if (gif.status == GifFile::Status::NotGif) {
        const QImage picture = QImage::fromData(data);
        if (picture.isNull())
            return false;
        m_still = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        makeCanvas(m_still.size());
        return true;
    }
    if (!gif.isValid() || gif.frames.isEmpty())
        return false;

    const QRect screen(QPoint(0, 0), gif.screen);
    for (const GifFrame &cut : gif.frames) {
        const QImage decoded = QImage::fromData(cut.file, "GIF");
        const QRect area = cut.area & screen;
        if (decoded.isNull() || area.isEmpty())
            continue; // a frame the decoder rejects is left out
        Frame frame;
        // The decoder gives the whole screen with the frame in its place; keep the frame.
        frame.image = (decoded.size() == gif.screen ? decoded.copy(area) : decoded)
                          .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        frame.area = QRect(area.topLeft(), frame.image.size()) & screen;
        frame.delayMs = gifFrameDelayMs(cut.delay);
        frame.disposal = cut.disposal;
        m_frames.append(std::move(frame));
    }
    if (m_frames.isEmpty())
        return false;
    if (m_frames.size() == 1) {
        // Only one picture to show: a still, whatever the file's frame count.
        m_still = QImage(gif.screen, QImage::Format_ARGB32_Premultiplied);
        m_still.fill(Qt::transparent);
        QPainter(&m_still).drawImage(m_frames.first().area.topLeft(), m_frames.first().image);
        m_frames.clear();
    }
    makeCanvas(gif.screen);
    return true;
}

void GifAnimation::SetBackgroundColor(const QColor &colour)
{
    m_background = colour;
    if (m_canvas.isNull())
        return;
    fillCanvas(m_canvas.rect());
    if (m_stillShown)
        QPainter(&m_canvas).drawImage(0, 0, m_still);
    else if (m_current >= 0)
        showFrame(m_current);
    updateOpacity();
    update();
}

bool GifAnimation::Play()
{
    if (m_canvas.isNull())
        return false;
    if (isAnimated()) {
        if (!m_playing) {
            m_playing = true;
            m_current = 0;
            showFrame(0);
            if (m_ticker)
                m_ticker->schedule(this, m_frames.first().delayMs);
        }
        return true;
    }
    QPainter(&m_canvas).drawImage(0, 0, m_still);
    m_stillShown = true;
    update();
    return true;
}

void GifAnimation::Stop()
{
    if (!m_playing)
        return;
    if (m_ticker)
        m_ticker->cancel(this);
    m_playing = false;
    m_saved = QImage();
}

void GifAnimation::Unload()
{
    Stop();
    m_frames.clear();
    m_still = QImage();
    m_saved = QImage();
    m_canvas = QImage();
    m_current = -1;
    m_stillShown = false;
    m_background = Qt::white;
    updateOpacity();
    update();
}

int GifAnimation::frameDelayMs(int index) const
{
    return index >= 0 && index < m_frames.size() ? m_frames[index].delayMs : 0;
}

void GifAnimation::advanceFrame()
{
    if (!isAnimated() || m_canvas.isNull())
        return;
    if (m_current < 0) {
        m_current = 0;
        showFrame(0);
    } else {
        stepFrame();
    }
    if (m_playing && m_ticker)
        m_ticker->schedule(this, m_frames[m_current].delayMs);
}

QSize GifAnimation::sizeHint() const
{
    return m_canvas.isNull() ? QSize(0, 0) : m_canvas.size();
}

void GifAnimation::paintEvent(QPaintEvent *event)
{
    if (m_canvas.isNull())
        return;
    QPainter painter(this);
    const QRect area = event->rect() & m_canvas.rect();
    painter.drawImage(area.topLeft(), m_canvas, area);
}

void GifAnimation::makeCanvas(const QSize &size)
{
    m_canvas = QImage(size, QImage::Format_ARGB32_Premultiplied);
    fillCanvas(m_canvas.rect());
    resize(size);
    updateGeometry();
    updateOpacity();
    update();
}

void GifAnimation::fillCanvas(const QRect &area)
{
    QPainter painter(&m_canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(area, m_background);
}

void GifAnimation::showFrame(int index)
{
    const Frame &frame = m_frames[index];
    if (frame.disposal == 3)
        m_saved = m_canvas.copy(frame.area);
    QPainter(&m_canvas).drawImage(frame.area.topLeft(), frame.image);
    update(frame.area);
}

void GifAnimation::disposeFrame(int index)
{
    const Frame &frame = m_frames[index];
    if (frame.disposal == 2) {
        fillCanvas(frame.area);
    } else if (frame.disposal == 3 && !m_saved.isNull()) {
        QPainter painter(&m_canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(frame.area.topLeft(), m_saved);
    }
    m_saved = QImage();
    update(frame.area);
}

int GifAnimation::stepFrame()
{
    disposeFrame(m_current);
    if (++m_current >= m_frames.size()) {
        // The animation starts again on a clear canvas.
        fillCanvas(m_canvas.rect());
        update();
        m_current = 0;
    }
    showFrame(m_current);
    return m_frames[m_current].delayMs;
}

void GifAnimation::updateOpacity()
{
    // An opaque canvas covers the control: its parent need not paint underneath.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_canvas.isNull() && m_background.alpha() == 255);
}

} // namespace dpx
