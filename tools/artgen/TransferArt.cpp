// SPDX-License-Identifier: GPL-3.0-or-later
// The audio transfer window: its background (152) with the title band, the recess the file
// list sits in, a rule above the button row, and the close button's two images.
#include "Art.h"


namespace dpx::art {

namespace {

constexpr int Width = 300;
constexpr int Height = 275;
constexpr int TitleBottom = 26;
const QColor CloseKey(255, 0, 255); // cut out of the close button's images

QImage paintTransferBackground(const QString &titleText)
{
    QImage image = filledImage(Width, Height, QColor(232, 236, 241));
    QPainter p(&image);
    // Body: light steel, a little darker towards the bottom where the buttons sit.
    p.fillRect(QRect(1, TitleBottom, Width - 2, Height - TitleBottom - 1),
               verticalGradient(TitleBottom, Height, QColor(240, 243, 247), QColor(214, 220, 228)));
    // Title band in the telephone's graphite with a soft highlight.
    p.fillRect(QRect(1, 1, Width - 2, TitleBottom - 1), verticalGradient(1, TitleBottom, QColor(70, 75, 84), QColor(38, 41, 47)));
    p.fillRect(QRect(1, 1, Width - 2, 1), QColor(255, 255, 255, 60));
    p.fillRect(QRect(1, TitleBottom, Width - 2, 1), QColor(26, 84, 196));
    // A note beside the title.
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 170, 255));
    p.drawEllipse(QRectF(9.5, 14.5, 6, 5));
    p.drawEllipse(QRectF(17.5, 12.5, 6, 5));
    p.fillRect(QRectF(14.2, 5, 1.3, 12), QColor(120, 170, 255));
    p.fillRect(QRectF(22.2, 3.5, 1.3, 12), QColor(120, 170, 255));
    p.fillRect(QRectF(14.2, 4, 9.3, 2), QColor(120, 170, 255));
    QFont title = pixelFont(13, QFont::Bold);
    title.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans CJK SC"),
                       QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans")});
    p.setFont(title);
    p.setPen(QColor(236, 240, 246));
    p.drawText(QRect(30, 1, 200, TitleBottom - 1), Qt::AlignLeft | Qt::AlignVCenter, titleText);
    // The recess of the file list: a sunken frame.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect well(8, 28, Width - 16, Height - 100);
    p.fillRect(well, QColor(255, 255, 255));
    p.setPen(QColor(150, 158, 170));
    p.drawLine(well.topLeft(), well.topRight());
    p.drawLine(well.topLeft(), well.bottomLeft());
    p.setPen(QColor(255, 255, 255));
    p.drawLine(well.bottomLeft() + QPoint(0, 1), well.bottomRight() + QPoint(1, 1));
    p.drawLine(well.topRight() + QPoint(1, 0), well.bottomRight() + QPoint(1, 1));
    // A rule over the button row.
    p.fillRect(QRect(10, Height - 46, Width - 20, 1), QColor(170, 178, 190));
    p.fillRect(QRect(10, Height - 45, Width - 20, 1), QColor(255, 255, 255, 200));
    // Frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(58, 62, 70));
    p.drawRect(QRect(0, 0, Width - 1, Height - 1));
    return image;
}

QImage paintClose(bool hot)
{
    QImage image = filledImage(18, 18, CloseKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor face = hot ? QColor(214, 58, 48) : QColor(86, 92, 102);
    p.fillRect(QRect(1, 1, 16, 16), face);
    p.setPen(hot ? QColor(150, 30, 24) : QColor(30, 32, 36));
    p.drawRect(QRect(0, 0, 17, 17));
    p.setPen(QPen(QColor(250, 250, 250), 2));
    p.drawLine(5, 5, 12, 12);
    p.drawLine(12, 5, 5, 12);
    return image;
}

} // namespace

void writeTransferArt(ArtWriter &writer)
{
    writer.write(QStringLiteral("152"), paintTransferBackground(QStringLiteral("音檔傳輸")), QSize(Width, Height));
    // The same with its title in English, for the English interface.
    writer.write(QStringLiteral("152-en"), paintTransferBackground(QStringLiteral("Transfer to phone")),
                 QSize(Width, Height));
    writer.write(QStringLiteral("transfer-close"), paintClose(false), QSize(18, 18));
    writer.write(QStringLiteral("transfer-close-hot"), paintClose(true), QSize(18, 18));
}

} // namespace dpx::art
