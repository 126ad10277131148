// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/PictureBox.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

namespace dpx {

namespace {

QString droppedFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile())
        return {};
    return mime->urls().first().toLocalFile();
}

} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setToolTip(tr("雙擊以選擇照片"));
}

void PictureBox::setImage(const QImage &image)
{
    m_image = image;
    // The area grows to the picture, as a bitmap label does.
    resize(image.isNull() ? QSize(22, 22) : image.size());
    update();
}

void PictureBox::setChangeable(bool changeable)
{
    m_changeable = changeable;
    setAcceptDrops(changeable);
    setToolTip(changeable ? tr("雙擊以選擇照片") : QString());
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_image.isNull())
        painter.drawImage(QPoint(0, 0), m_image);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *)
{
    if (m_changeable)
        Q_EMIT chooseRequested();
}

void PictureBox::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_changeable)
        return;
    QMenu menu(this);
    QAction *choose = menu.addAction(tr("選擇照片..."));
    QAction *remove = menu.addAction(tr("移除照片"));
    remove->setEnabled(m_removable);
    QAction *chosen = menu.exec(event->globalPos());
    if (chosen == choose)
        Q_EMIT chooseRequested();
    else if (chosen == remove)
        Q_EMIT removeRequested();
}

void PictureBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_changeable && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void PictureBox::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (!m_changeable || path.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT fileDropped(path);
}

} // namespace dpx
