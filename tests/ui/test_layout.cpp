// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout table and the art drawn for it.
#include "ui/PhoneLayout.h"

#include <QImage>
#include <QSet>
#include <QTest>

using namespace dpx;

namespace {

const QColor KeyColour(0, 108, 255);

// The committed art; DPX_ART_DIR in the environment checks a freshly generated set instead.
QImage art(const char *name)
{
    const QString folder = qEnvironmentVariableIsSet("DPX_ART_DIR")
                               ? qEnvironmentVariable("DPX_ART_DIR")
                               : QStringLiteral(DPX_ART_DIR);
    return QImage(folder + QStringLiteral("/%1.png").arg(QLatin1String(name)));
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lampsSitOnTheirKeys();
    void tableAndArtAreConsistent();
    void silhouetteEdgeIsHard();
};

void TestLayout::lampsSitOnTheirKeys()
{
    const QPoint offset = findLamp(1)->rect.topLeft() - findLampKey(1)->rect.topLeft();
    for (int n = 1; n <= 24; ++n) {
        const ControlPlace *lamp = findLamp(n), *key = findLampKey(n);
        QVERIFY2(lamp && lamp->kind == ControlKind::Lamp && key, qPrintable(QString::number(n)));
        QCOMPARE(lamp->rect.size(), QSize(17, 17));
        // In the key's lamp window, at the same place on every key.
        QVERIFY(key->rect.contains(lamp->rect));
        QCOMPARE(lamp->rect.topLeft() - key->rect.topLeft(), offset);
    }
    QCOMPARE(findLamp(29), nullptr);
    QCOMPARE(findLampKey(25), nullptr);
}

void TestLayout::tableAndArtAreConsistent()
{
    QList<int> ids, keyNumbers, lampNumbers;
    const QRect window(0, 0, MainWindowWidth, MainWindowHeight);
    const auto layout = phoneLayout();
    for (const ControlPlace &c : layout) {
        const QByteArray id = QByteArray::number(c.id);
        ids << c.id;
        if (c.keyNumber)
            keyNumbers << c.keyNumber;
        if (c.lampNumber)
            lampNumbers << c.lampNumber;
        QVERIFY2(window.contains(c.rect) && c.label && *c.label, id.constData());
        QVERIFY2(!c.keyNumber || c.kind == ControlKind::Key, id.constData());
        // Keys and top buttons have all four images, drawn at their size.
        const bool clickable = c.kind == ControlKind::Key || c.kind == ControlKind::TopButton;
        QCOMPARE(c.images.normal != nullptr, clickable);
        for (const char *name : {c.images.normal, c.images.down, c.images.over, c.images.disabled})
            QVERIFY2(!clickable || (name && art(name).size() == c.rect.size()), id.constData());
        // The only overlap allowed is a lamp lying on its own programmable key.
        for (const ControlPlace &other : layout) {
            if (&other != &c && c.rect.intersects(other.rect))
                QVERIFY2(
                    (c.kind == ControlKind::Lamp && findLampKey(c.lampNumber) == &other) ||
                        (other.kind == ControlKind::Lamp && findLampKey(other.lampNumber) == &c),
                    qPrintable(QStringLiteral("%1 overlaps %2").arg(c.id).arg(other.id)));
        }
    }
    // Unique, and every key but the record key sends a number.
    QCOMPARE(QSet<int>(ids.cbegin(), ids.cend()).size(), qsizetype(layout.size()));
    QCOMPARE(QSet<int>(keyNumbers.cbegin(), keyNumbers.cend()).size(), 59);
    QCOMPARE(keyNumbers.size(), 59);
    QCOMPARE(QSet<int>(lampNumbers.cbegin(), lampNumbers.cend()).size(), 26);
    QCOMPARE(lampNumbers.size(), 26);
    QCOMPARE(findControl(1046)->keyNumber, 0); // the record key sends nothing
    QCOMPARE(findKey(0), nullptr);
    // Images the program swaps in at run time.
    for (const char *name : {"543", "544", "390", "327", "512", "511", "254", "261", "128", "380",
                             "381", "382"})
        QVERIFY2(!art(name).isNull(), name);
}

void TestLayout::silhouetteEdgeIsHard()
{
    const QImage body = art("133").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(body.size(), QSize(MainWindowWidth, MainWindowHeight));
    QCOMPARE(body.pixelColor(0, 0), KeyColour);
    // Inside the phone no pixel may lean towards the key colour: a blended edge would leave
    // a blue fringe once the key colour is cut away.
    for (int y = 0; y < body.height(); ++y)
        for (int x = 0; x < body.width(); ++x) {
            const QColor c = body.pixelColor(x, y);
            if (c != KeyColour && c.blue() > c.red() + 60 && c.blue() > c.green() + 40)
                QFAIL(qPrintable(QStringLiteral("fringe at %1,%2").arg(x).arg(y)));
        }
    // Every control stands on the phone, none over the cut-away outside.
    for (const ControlPlace &c : phoneLayout())
        for (const QPoint &p :
             {c.rect.topLeft(), c.rect.topRight(), c.rect.bottomLeft(), c.rect.bottomRight()})
            QVERIFY2(body.pixelColor(p) != KeyColour, qPrintable(QString::number(c.id)));
}

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
