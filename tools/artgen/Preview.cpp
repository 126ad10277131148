// SPDX-License-Identifier: GPL-3.0-or-later
// Composes the window from the generated images, as the program shows it, to judge the art.
#include "Art.h"

#include "ui/PhoneLayout.h"

#include <QDir>

namespace dpx::art {

namespace {

class Library {
public:
    explicit Library(const QString &folder) : m_dir(folder) {}
    QImage get(const QString &name) const
    {
        QImage image(m_dir.filePath(name + QStringLiteral(".png")));
        if (image.isNull())
            qWarning("preview: missing image %s", qPrintable(name));
        return image;
    }

private:
    QDir m_dir;
};

QString offLampName(int n)
{
    if (n == 1 || n >= 13)
        return QStringLiteral("411");
    if (n == 7)
        return QStringLiteral("416");
    if (n == 12)
        return QStringLiteral("422");
    return QString::number(415 + n);
}

// An image whose pixels of `clear` are not drawn (the slider's thumb, the folder pictures).
QImage keyedOut(const QImage &image, const QColor &clear)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (out.pixelColor(x, y).rgb() == clear.rgb())
                out.setPixelColor(x, y, Qt::transparent);
    return out;
}

void paintFolderBar(QPainter &p, const Library &art, const QRect &r)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, QColor(96, 128, 190));
    const QImage icons = keyedOut(art.get(QStringLiteral("254")), QColor(128, 128, 128));
    const QStringList names{QStringLiteral("工具"), QStringLiteral("電話簿"), QStringLiteral("設置")};
    QFont font(QStringLiteral("Noto Sans CJK TC"));
    font.setPixelSize(12);
    p.setFont(font);
    auto header = [&](int y, const QString &name) {
        const QRect h(r.left(), y, r.width(), 22);
        p.fillRect(h, QColor(212, 208, 200));
        p.setPen(Qt::white);
        p.drawLine(h.topLeft(), h.topRight());
        p.setPen(QColor(128, 128, 128));
        p.drawLine(h.bottomLeft(), h.bottomRight());
        p.setPen(Qt::black);
        p.drawText(h, Qt::AlignCenter, name);
    };
    header(r.top(), names[0]);
    header(r.bottom() - 43, names[1]);
    header(r.bottom() - 21, names[2]);
    const QStringList items{QStringLiteral("音檔轉換"), QStringLiteral("音檔傳輸")};
    for (int i = 0; i < 2; ++i) {
        const int y = r.top() + 34 + i * 62;
        p.drawImage(QPoint(r.center().x() - 15, y), icons.copy(i * 32, 0, 32, 32));
        p.setPen(Qt::white);
        p.drawText(QRect(r.left(), y + 34, r.width(), 16), Qt::AlignCenter, items[i]);
    }
    p.restore();
}

void paintSlider(QPainter &p, const Library &art, const QRect &r, int position)
{
    const QImage channel = art.get(QStringLiteral("380"));
    const QImage lit = art.get(QStringLiteral("381"));
    const QImage thumb = art.get(QStringLiteral("382"));
    const int marginLeft = 2, marginRight = 2;
    const int centre = thumb.width() / 2 + marginLeft +
                       int(position / 100.0 * (channel.width() - marginRight - thumb.width() - marginLeft));
    // The volume grows towards the left end, so the lit part is the one right of the thumb.
    p.drawImage(r.topLeft(), channel.copy(0, 0, centre, channel.height()));
    p.drawImage(r.topLeft() + QPoint(centre, 0),
                lit.copy(centre, 0, channel.width() - centre, channel.height()));
    const QImage keyed = keyedOut(thumb, thumb.pixelColor(0, 0));
    p.drawImage(r.topLeft() + QPoint(centre - thumb.width() / 2, (r.height() - thumb.height()) / 2),
                keyed);
}

void paintDisplayText(QPainter &p, const QRect &status, const QRect &lcd)
{
    QFont statusFont;
    statusFont.setPixelSize(13);
    p.setFont(statusFont);
    p.setPen(QColor(250, 250, 250));
    p.drawText(QRect(status.left() + 30, status.top() + 25, 250, 20), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Device has Detected!"));
    QFont lcdFont(QStringLiteral("Arial"));
    lcdFont.setStyleHint(QFont::SansSerif);
    lcdFont.setPointSizeF(13.5);
    p.setFont(lcdFont);
    p.setPen(Qt::black);
    const int flags = Qt::AlignLeft | Qt::AlignTop;
    p.drawText(QRect(lcd.left() + 55, lcd.top() + 5, 230, 25), flags,
               QStringLiteral("AGU  7 FRI   09:41"));
    const char *words[] = {"CALL", "DND", "MENU"};
    const int x[] = {62, 125, 190};
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(lcd.left() + x[i], lcd.top() + 30, 90, 25), flags,
                   QString::fromLatin1(words[i]));
}

} // namespace

QImage paintPreview(const QString &artFolder, bool lit)
{
    const Library art(artFolder);
    QImage window = art.get(QStringLiteral("133")).convertToFormat(QImage::Format_ARGB32);
    QPainter p(&window);
    prepare(p);
    const QList<int> redLamps = lit ? QList<int>{1, 15} : QList<int>{};
    const QList<int> greenLamps = lit ? QList<int>{3, 14} : QList<int>{};

    for (const ControlPlace &c : phoneLayout()) {
        const QPoint at = c.rect.topLeft();
        switch (c.kind) {
        case ControlKind::Key:
        case ControlKind::TopButton: {
            QString name = QLatin1String(c.images.normal);
            for (int n = 1; n <= 24; ++n)
                if (findLampKey(n) == &c) {
                    if (redLamps.contains(n))
                        name = QStringLiteral("543");
                    if (greenLamps.contains(n))
                        name = QStringLiteral("544");
                }
            if (lit && c.id == 1067)
                name = QStringLiteral("390");
            p.drawImage(at, art.get(name));
            break;
        }
        case ControlKind::Lamp: {
            QString name = offLampName(c.lampNumber);
            if (redLamps.contains(c.lampNumber))
                name = QStringLiteral("413");
            if (greenLamps.contains(c.lampNumber))
                name = QStringLiteral("408");
            p.drawImage(at, art.get(name));
            break;
        }
        case ControlKind::LargeIndicator:
            p.drawImage(at, art.get(lit ? QStringLiteral("500") : QStringLiteral("495")));
            break;
        case ControlKind::SmallIndicator:
            p.drawImage(at, art.get(lit ? QStringLiteral("503") : QStringLiteral("493")));
            break;
        case ControlKind::RecordIndicator:
            p.drawImage(at, art.get(QStringLiteral("510")));
            break;
        case ControlKind::StatusLine:
            p.drawImage(at, art.get(QStringLiteral("512")));
            break;
        case ControlKind::Lcd:
            p.drawImage(at, art.get(QStringLiteral("511")));
            break;
        case ControlKind::FolderBar:
            paintFolderBar(p, art, c.rect);
            break;
        case ControlKind::VolumeSlider:
            paintSlider(p, art, c.rect, 45);
            break;
        case ControlKind::VersionText: {
            QFont font(QStringLiteral("Noto Sans CJK TC"));
            font.setPixelSize(10);
            p.setFont(font);
            p.setPen(QColor(170, 176, 186));
            p.drawText(c.rect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("版本:VKSDPX.F01(N)"));
            break;
        }
        }
    }
    const ControlPlace *status = findControl(512);
    const ControlPlace *lcd = findControl(511);
    if (status && lcd)
        paintDisplayText(p, status->rect, lcd->rect);
    p.end();
    // Show the desktop where the window's shape is cut away.
    QImage shown(window.size(), QImage::Format_RGB32);
    const QImage body = art.get(QStringLiteral("133"));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            shown.setPixelColor(x, y, body.pixelColor(x, y) == KeyColour
                                          ? QColor(226, 230, 236)
                                          : window.pixelColor(x, y));
    return shown;
}

QImage paintSheet(const QString &artFolder)
{
    const Library art(artFolder);
    const QList<QPair<int, QStringList>> rows = {
        {4, {QStringLiteral("128"), QStringLiteral("128-32"), QStringLiteral("128-16")}},
        {3, {QStringLiteral("254")}},
        {4, {QStringLiteral("261"), QStringLiteral("510")}},
        {4, {QStringLiteral("411"), QStringLiteral("413"), QStringLiteral("408"), QStringLiteral("495"),
             QStringLiteral("500"), QStringLiteral("497"), QStringLiteral("493"), QStringLiteral("503")}},
        {3, {QStringLiteral("380"), QStringLiteral("381"), QStringLiteral("382"), QStringLiteral("379")}},
        {4, {QStringLiteral("331"), QStringLiteral("332"), QStringLiteral("333"), QStringLiteral("543"),
             QStringLiteral("544")}},
        {3, {QStringLiteral("325"), QStringLiteral("326"), QStringLiteral("315"), QStringLiteral("390"),
             QStringLiteral("328"), QStringLiteral("329"), QStringLiteral("330"), QStringLiteral("327")}},
        {3, {QStringLiteral("key1010_n"), QStringLiteral("key1010_o"), QStringLiteral("key1010_d"),
             QStringLiteral("key1094_n"), QStringLiteral("key1094_o"), QStringLiteral("key1094_d"),
             QStringLiteral("key1098_n"), QStringLiteral("key1098_o"), QStringLiteral("key1098_d")}},
        {3, {QStringLiteral("key1113_n"), QStringLiteral("key1113_o"), QStringLiteral("key1113_d"),
             QStringLiteral("key1057_n"), QStringLiteral("key1057_o"), QStringLiteral("key1057_d"),
             QStringLiteral("key1144_n"), QStringLiteral("key1144_o"), QStringLiteral("key1144_d")}},
        // Ringing frames in the order they are shown, then the recording lamp lit and idle.
        {4, {QStringLiteral("238"), QStringLiteral("239"), QStringLiteral("236"), QStringLiteral("237"),
             QStringLiteral("238-16"), QStringLiteral("239-16"), QStringLiteral("236-16"),
             QStringLiteral("237-16"), QStringLiteral("509"), QStringLiteral("510")}},
    };
    QImage sheet(1400, 1600, QImage::Format_RGB32);
    sheet.fill(QColor(52, 55, 60));
    QPainter p(&sheet);
    int y = 8;
    for (const auto &row : rows) {
        int x = 8, h = 0;
        for (const QString &name : row.second) {
            const QImage image = art.get(name);
            const QImage big = image.scaled(image.size() * row.first, Qt::IgnoreAspectRatio,
                                            Qt::FastTransformation);
            p.drawImage(x, y, big);
            x += big.width() + 10;
            h = qMax(h, big.height());
        }
        y += h + 10;
    }
    // The caller popup with sample texts, as it rises at the screen's corner.
    const QImage popup = paintPopupPreview(artFolder);
    p.drawImage(8, y, popup.scaled(popup.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    y += popup.height() * 3 + 10;
    p.end();
    return sheet.copy(0, 0, 1400, y);
}

} // namespace dpx::art
