// SPDX-License-Identifier: GPL-3.0-or-later
// Background of the caller popup, the small card that rises at the screen's corner while the
// telephone rings. The program draws the icon, a black title, a blue body text and "忽略" on it,
// so the card stays light and calm where those go.
#include "Art.h"

#include <QDir>
#include <QLinearGradient>

namespace dpx::art {

namespace {

constexpr int Width = 180;
constexpr int Height = 85;
constexpr int HeaderBottom = 46; // the title's box ends at 44, the body text starts at 50

QLinearGradient vertical(qreal top, qreal bottom, const QColor &a, const QColor &b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

QImage paintCallerCard()
{
    QImage image = filledImage(Width, Height, QColor(246, 248, 251));
    QPainter p(&image);
    // Whole-pixel fills only: the card is shown at its own size and must stay crisp.
    const QRect inner(1, 1, Width - 2, Height - 2);

    // Body: near white, a touch cooler towards the bottom.
    p.fillRect(QRect(1, HeaderBottom + 1, Width - 2, Height - HeaderBottom - 2),
               vertical(HeaderBottom, Height, QColor(252, 253, 254), QColor(236, 240, 245)));

    // Header band behind the icon and title: a pale steel tint with the telephone's graphite
    // as a thin cap along the top.
    p.fillRect(QRect(1, 1, Width - 2, HeaderBottom),
               vertical(1, HeaderBottom, QColor(220, 226, 235), QColor(240, 243, 247)));
    p.fillRect(QRect(1, 1, Width - 2, 3), vertical(1, 4, QColor(72, 77, 86), QColor(44, 47, 53)));
    p.fillRect(QRect(1, 4, Width - 2, 1), QColor(255, 255, 255, 150));
    // The band ends on a soft rule: a blue hairline of the handset's colour over a white one.
    p.fillRect(QRect(8, HeaderBottom, Width - 16, 1), QColor(26, 84, 196, 70));
    p.fillRect(QRect(8, HeaderBottom + 1, Width - 16, 1), QColor(255, 255, 255, 200));

    // Frame: graphite outline, a white bevel inside it along the top and left, a shade along the
    // bottom and right.
    p.fillRect(QRect(inner.left(), 5, 1, Height - 6), QColor(255, 255, 255, 170));
    p.fillRect(QRect(inner.right(), 5, 1, Height - 6), QColor(0, 0, 0, 22));
    p.fillRect(QRect(1, inner.bottom(), Width - 2, 1), QColor(0, 0, 0, 28));
    p.setPen(QColor(58, 62, 70));
    p.drawRect(QRect(0, 0, Width - 1, Height - 1));
    return image;
}

QFont popupFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("SimSun"));
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(bold);
    return font;
}

} // namespace

QImage paintPopupPreview(const QString &artFolder)
{
    const QDir dir(artFolder);
    QImage card = QImage(dir.filePath(QStringLiteral("235.png")))
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (card.isNull()) {
        qWarning("preview: missing image 235");
        card = filledImage(Width, Height, Qt::magenta);
    }
    QPainter p(&card);
    prepare(p);
    p.drawImage(QRect(21, 5, 32, 32), QImage(dir.filePath(QStringLiteral("128-32.png"))));
    // Same boxes, fonts and colours as the popup itself, with a caller found in the address book.
    p.setFont(popupFont(15, true));
    p.setPen(Qt::black);
    p.drawText(QRect(QPoint(50, 10), QPoint(Width - 1, 44)), Qt::AlignCenter | Qt::TextSingleLine,
               QStringLiteral("王大明"));
    p.setFont(popupFont(13, false));
    p.setPen(QColor(0, 0, 225));
    p.drawText(QRect(QPoint(25, 50), QPoint(Width - 8, Height - 8)),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QStringLiteral("0223456789"));
    p.setPen(Qt::black);
    p.drawText(QRect(QPoint(145, 65), QPoint(Width - 10, Height - 5)),
               Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("忽略"));
    return card;
}

void writeCallerPopup(ArtWriter &w)
{
    w.write(QStringLiteral("235"), paintCallerCard(), QSize(Width, Height));
}

} // namespace dpx::art
