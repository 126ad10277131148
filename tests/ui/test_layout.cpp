// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout table and the art drawn for it.
#include "ui/PhoneLayout.h"

#include <QImage>
#include <QSet>
#include <QTest>

using namespace dpx;

namespace {

const QColor KeyColour(0, 108, 255);

bool clickable(const ControlPlace &c)
{
    return c.kind == ControlKind::Key || c.kind == ControlKind::TopButton;
}

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
    void keyNumbers_data();
    void keyNumbers();
    void lamps_data();
    void lamps();
    void fixedPlaces();
    void tableIsConsistent();
    void nothingOverlapsWrongly();
    void imagesExistAtTheirSize();
    void lampAndIndicatorImages_data();
    void lampAndIndicatorImages();
    void silhouetteEdgeIsHard();
};

void TestLayout::keyNumbers_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("keyNumber");
    const QList<QPair<int, int>> table = {
        {1057, 1},  {1058, 2},  {1059, 3},  {1061, 4},  {1062, 5},  {1064, 6},  {1063, 7},
        {1113, 54}, {1114, 55}, {1097, 8},  {1096, 9},  {1094, 10}, {1095, 11}, {1098, 12},
        {1065, 13}, {1066, 14}, {1067, 15}, {1035, 16}, {1010, 17}, {1036, 18}, {1037, 19},
        {1038, 20}, {1039, 21}, {1040, 22}, {1041, 23}, {1042, 24}, {1044, 25}, {1043, 26},
        {1045, 27}, {1048, 28}, {1068, 29}, {1069, 30}, {1070, 31}, {1047, 32}, {1049, 33},
        {1060, 34}, {1071, 35}, {1081, 45}, {1082, 57}, {1083, 58}, {1088, 59}, {1093, 64},
        {1116, 65}, {1119, 68},
    };
    for (const auto &[id, number] : table)
        QTest::addRow("%d", id) << id << number;
}

void TestLayout::keyNumbers()
{
    QFETCH(int, id);
    QFETCH(int, keyNumber);
    const ControlPlace *control = findControl(id);
    QVERIFY(control);
    QCOMPARE(control->kind, ControlKind::Key);
    QCOMPARE(control->keyNumber, keyNumber);
    QCOMPARE(findKey(keyNumber), control);
}

void TestLayout::lamps_data()
{
    QTest::addColumn<int>("lamp");
    QTest::addColumn<int>("lampId");
    QTest::addColumn<int>("keyId");
    const int lampIds[] = {1099, 1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107, 1108, 1109, 1110,
                           1115, 1120, 1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129, 1130};
    const int keyIds[] = {1060, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081,
                          1082, 1083, 1088, 1089, 1090, 1091, 1092, 1093, 1116, 1117, 1118, 1119};
    for (int n = 1; n <= 24; ++n)
        QTest::addRow("lamp %d", n) << n << lampIds[n - 1] << keyIds[n - 1];
}

void TestLayout::lamps()
{
    QFETCH(int, lamp);
    QFETCH(int, lampId);
    QFETCH(int, keyId);
    const ControlPlace *place = findLamp(lamp);
    QVERIFY(place);
    QCOMPARE(place->id, lampId);
    QCOMPARE(place->kind, ControlKind::Lamp);
    QCOMPARE(place->rect.size(), QSize(17, 17));
    const ControlPlace *key = findLampKey(lamp);
    QVERIFY(key);
    QCOMPARE(key->id, keyId);
    // The lamp sits in its key's lamp window, at the same place on every key.
    QVERIFY(key->rect.contains(place->rect));
    QCOMPARE(place->rect.topLeft() - key->rect.topLeft(),
             findLamp(1)->rect.topLeft() - findLampKey(1)->rect.topLeft());
    QCOMPARE(QLatin1String(key->images.normal), QLatin1String("331"));
    // Keys count upwards from the bottom of each column.
    const int x = lamp <= 12 ? 385 : 465;
    QCOMPARE(place->rect.x(), x);
    if (lamp != 1 && lamp != 13)
        QVERIFY(place->rect.bottom() < findLamp(lamp - 1)->rect.top());
}

void TestLayout::fixedPlaces()
{
    QCOMPARE(findLamp(1)->rect, QRect(385, 531, 17, 17));
    QCOMPARE(findLamp(32)->rect, QRect(461, 18, 14, 27));
    QCOMPARE(findLamp(32)->id, 1087);
    QCOMPARE(findLamp(31)->id, 1086);
    QCOMPARE(findLamp(31)->rect.size(), QSize(13, 9));
    QCOMPARE(findControl(1112)->rect.size(), QSize(6, 6));
    QCOMPARE(findControl(512)->rect, QRect(202, 45, 287, 56));
    QCOMPARE(findControl(511)->rect, QRect(202, 101, 287, 60));
    const QRect bar = findControl(254)->rect;
    QCOMPARE(bar.topLeft(), QPoint(24, 55));
    QCOMPARE(bar.bottomRight() + QPoint(1, 1), QPoint(161, 350));
    QCOMPARE(findControl(1046)->keyNumber, 0);
    QCOMPARE(findKey(0), nullptr);
    QCOMPARE(findLamp(29), nullptr);
    QCOMPARE(findLampKey(25), nullptr);
    QCOMPARE(findControl(4242), nullptr);
}

void TestLayout::tableIsConsistent()
{
    QSet<int> ids, keyNumbers, lampNumbers;
    const QRect window(0, 0, MainWindowWidth, MainWindowHeight);
    for (const ControlPlace &c : phoneLayout()) {
        QVERIFY2(!ids.contains(c.id), qPrintable(QString::number(c.id)));
        ids.insert(c.id);
        QVERIFY2(window.contains(c.rect), qPrintable(QString::number(c.id)));
        QVERIFY(c.label && *c.label);
        if (c.keyNumber) {
            QVERIFY(c.kind == ControlKind::Key);
            QVERIFY(!keyNumbers.contains(c.keyNumber));
            keyNumbers.insert(c.keyNumber);
        }
        if (c.lampNumber) {
            QVERIFY(!lampNumbers.contains(c.lampNumber));
            lampNumbers.insert(c.lampNumber);
        }
        QCOMPARE(clickable(c), c.images.normal != nullptr);
        if (clickable(c))
            QVERIFY(c.images.down && c.images.over && c.images.disabled);
    }
    QCOMPARE(keyNumbers.size(), 59); // every key but the record key sends a number
    QCOMPARE(lampNumbers.size(), 26);
}

void TestLayout::nothingOverlapsWrongly()
{
    const auto layout = phoneLayout();
    for (const ControlPlace &a : layout) {
        for (const ControlPlace &b : layout) {
            if (&a == &b || !a.rect.intersects(b.rect))
                continue;
            // The only overlap allowed is a lamp lying on its own programmable key.
            const bool lampOnKey = a.kind == ControlKind::Lamp && findLampKey(a.lampNumber) == &b;
            const bool keyUnderLamp = b.kind == ControlKind::Lamp && findLampKey(b.lampNumber) == &a;
            QVERIFY2(lampOnKey || keyUnderLamp,
                     qPrintable(QStringLiteral("%1 overlaps %2").arg(a.id).arg(b.id)));
        }
    }
}

void TestLayout::imagesExistAtTheirSize()
{
    for (const ControlPlace &c : phoneLayout()) {
        if (!clickable(c))
            continue;
        for (const char *name : {c.images.normal, c.images.down, c.images.over, c.images.disabled}) {
            const QImage image = art(name);
            QVERIFY2(!image.isNull(), name);
            QCOMPARE(image.size(), c.rect.size());
        }
    }
    // The state images that the program swaps in at run time.
    for (const char *name : {"543", "544"})
        QCOMPARE(art(name).size(), findLampKey(1)->rect.size());
    QCOMPARE(art("390").size(), findControl(1067)->rect.size());
    QCOMPARE(art("327").size(), findControl(1046)->rect.size());
    QCOMPARE(art("512").size(), QSize(287, 56));
    QCOMPARE(art("511").size(), QSize(287, 60));
    QCOMPARE(art("254").size(), QSize(224, 32));
    QCOMPARE(art("261").size(), QSize(96, 17));
    QCOMPARE(art("128").size(), QSize(64, 64));
    QCOMPARE(art("380").size(), findControl(1084)->rect.size());
    QCOMPARE(art("381").size(), findControl(1084)->rect.size());
    QCOMPARE(art("382").size(), art("379").size());
}

void TestLayout::lampAndIndicatorImages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    for (int name : {411, 416, 417, 418, 419, 420, 421, 422, 423, 424, 425, 426, 408, 413})
        QTest::addRow("%d", name) << QString::number(name) << QSize(17, 17);
    for (int name : {495, 497, 500})
        QTest::addRow("%d", name) << QString::number(name) << QSize(14, 27);
    for (int name : {493, 503})
        QTest::addRow("%d", name) << QString::number(name) << QSize(13, 9);
}

void TestLayout::lampAndIndicatorImages()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QCOMPARE(art(qPrintable(name)).size(), size);
}

void TestLayout::silhouetteEdgeIsHard()
{
    const QImage body = art("133").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(body.size(), QSize(MainWindowWidth, MainWindowHeight));
    QCOMPARE(body.pixelColor(0, 0), KeyColour);
    QCOMPARE(body.pixelColor(MainWindowWidth - 1, MainWindowHeight - 1), KeyColour);
    // Inside the phone no pixel may be, or lean towards, the key colour: a blended edge
    // would leave a blue fringe once the key colour is cut away.
    auto nearKey = [](const QColor &c) {
        return c.blue() > c.red() + 60 && c.blue() > c.green() + 40;
    };
    for (int y = 0; y < body.height(); ++y)
        for (int x = 0; x < body.width(); ++x) {
            const QColor c = body.pixelColor(x, y);
            if (c != KeyColour)
                QVERIFY2(!nearKey(c), qPrintable(QStringLiteral("fringe at %1,%2").arg(x).arg(y)));
        }
    // Every control stands on the phone, none over the cut-away outside.
    for (const ControlPlace &c : phoneLayout())
        for (const QPoint &p : {c.rect.topLeft(), c.rect.topRight(), c.rect.bottomLeft(),
                                c.rect.bottomRight()})
            QVERIFY2(body.pixelColor(p) != KeyColour, qPrintable(QString::number(c.id)));
}

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
