// SPDX-License-Identifier: GPL-3.0-or-later
// The GIF block walker and the animated picture control, and the lamp images it plays.
#include "ui/GifAnimation.h"
#include "ui/GifFile.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace dpx;

namespace {

// ---- A small GIF writer: four colours, every frame filled with one of them ----

const QColor Palette[4] = {Qt::black, Qt::red, Qt::green, Qt::blue};
enum { Black, Red, Green, Blue };

struct Part {
    QRect area;
    int colour = Black;
    int delay = 0;
    int disposal = 0;
    bool swapLocal = false; // a local colour table with red and green swapped
    int codeSize = 2;
};

void putWord(QByteArray &out, int value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

// LZW data of `count` pixels of one colour, written with a clear code before every second
// pixel so that the code width stays at three bits.
QByteArray solidImageData(int count, int colour)
{
    QByteArray codes;
    quint32 bits = 0;
    int used = 0;
    auto emit = [&](int code) {
        bits |= quint32(code) << used;
        used += 3;
        while (used >= 8) {
            codes.append(char(bits & 0xFF));
            bits >>= 8;
            used -= 8;
        }
    };
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0)
            emit(4); // clear
        emit(colour);
    }
    emit(5); // end
    if (used)
        codes.append(char(bits & 0xFF));
    QByteArray blocks;
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray chunk = codes.mid(at, 255);
        blocks.append(char(chunk.size())).append(chunk);
    }
    return blocks.append('\0');
}

QByteArray paletteBytes(bool swapRedGreen)
{
    QByteArray table;
    for (int i = 0; i < 4; ++i) {
        const QColor c = Palette[swapRedGreen && (i == Red || i == Green) ? 3 - i : i];
        table.append(char(c.red())).append(char(c.green())).append(char(c.blue()));
    }
    return table;
}

QByteArray buildGif(QSize screen, const QList<Part> &parts)
{
    QByteArray gif("GIF89a");
    putWord(gif, screen.width());
    putWord(gif, screen.height());
    gif.append(char(0x81)).append('\0').append('\0'); // global table of 4 colours
    gif.append(paletteBytes(false));
    gif.append(QByteArray::fromHex("21ff0b4e45545343415045322e300301000000")); // loop forever
    gif.append(QByteArray::fromHex("21fe0568656c6c6f00"));                     // a comment
    for (const Part &part : parts) {
        gif.append(QByteArray::fromHex("21f904"));
        gif.append(char(part.disposal << 2));
        putWord(gif, part.delay);
        gif.append('\0').append('\0');
        gif.append(',');
        putWord(gif, part.area.x());
        putWord(gif, part.area.y());
        putWord(gif, part.area.width());
        putWord(gif, part.area.height());
        gif.append(char(part.swapLocal ? 0x81 : 0));
        if (part.swapLocal)
            gif.append(paletteBytes(true));
        gif.append(char(part.codeSize));
        gif.append(solidImageData(part.area.width() * part.area.height(), part.colour));
    }
    return gif.append(';');
}

const QSize Screen(4, 4);

// Three frames with different timing, placement and a local colour table.
QByteArray threeFrames()
{
    return buildGif(Screen, {{QRect(0, 0, 4, 4), Green, 0, 1},
                             {QRect(1, 1, 2, 3), Red, 5, 2, true},
                             {QRect(3, 0, 1, 1), Blue, 200, 3}});
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QColor at(const GifAnimation &control, int x, int y)
{
    return control.canvas().pixelColor(x, y);
}

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The lamp images: number, size, lit still, dark still, frame times (ms). A still frame
// has a time of 100 ms (its stored delay is 0) but is never timed.
struct Lamp {
    int number;
    QSize size;
    int lit;  // still PNG of the lit lens (0: none)
    int dark; // still PNG of the unlit lens
    QList<int> delays;
};

QList<Lamp> lamps()
{
    const QSize key(17, 17), large(14, 27), small(13, 9);
    const QList<int> fast{200, 200}, slow{500, 500}, still{};
    QList<Lamp> all;
    auto keySet = [&](int gFast, int gSlow, int gSteady, int rFast, int rSlow, int rSteady, int off) {
        all += {{gFast, key, 408, 411, fast}, {gSlow, key, 408, 411, slow}, {gSteady, key, 408, 411, still},
                {rFast, key, 413, 411, fast}, {rSlow, key, 413, 411, slow}, {rSteady, key, 413, 411, still},
                {off, key, 0, 411, still}};
    };
    keySet(409, 410, 408, 414, 415, 413, 411);
    for (int k = 2; k <= 11; ++k)
        keySet(426 + k, 437 + k, 448 + k, 459 + k, 470 + k, 481 + k, k == 7 ? 416 : 415 + k);
    keySet(427, 438, 449, 460, 471, 482, 422);
    all += {{545, key, 408, 411, {2000, 100, 100, 100}}, {546, key, 413, 411, {2000, 100, 100, 100}}};
    all += {{498, large, 500, 495, fast}, {499, large, 500, 495, slow}, {500, large, 500, 495, still},
            {494, large, 497, 495, fast}, {496, large, 497, 495, slow}, {497, large, 497, 495, still},
            {495, large, 0, 495, still}};
    all += {{501, small, 503, 493, fast}, {502, small, 503, 493, slow}, {503, small, 503, 493, still},
            {493, small, 0, 493, still}};
    return all;
}

QImage stillArt(int number)
{
    return rgb(QImage(QStringLiteral(":/art/%1.png").arg(number)));
}

} // namespace

class TestGif : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void walkerFindsFramesAndTiming();
    void walkerRejects_data();
    void walkerRejects();
    void walkerNeverAcceptsAPrefix();
    void delayRule_data();
    void delayRule();
    void controlKeepsTheFrameTimes();
    void disposalOnTheCanvas();
    void oneFrameIsAStill();
    void otherPicturesAreStills_data();
    void otherPicturesAreStills();
    void badDataLoadsNothing_data();
    void badDataLoadsNothing();
    void rejectedFramesAreLeftOut();
    void secondLoadStopsTheFirst();
    void playsOnItsOwnTimer();
    void backgroundColourRedrawsThePicture();
    void resources();
    void lampImages_data();
    void lampImages();
};

void TestGif::walkerFindsFramesAndTiming()
{
    const QByteArray data = threeFrames();
    const GifFile gif = GifFile::parse(data);
    QVERIFY(gif.isValid());
    QCOMPARE(gif.screen, Screen);
    QCOMPARE(gif.frames.size(), 3);
    const QList<QRect> areas{QRect(0, 0, 4, 4), QRect(1, 1, 2, 3), QRect(3, 0, 1, 1)};
    const QList<int> delays{0, 5, 200}, disposals{1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        const GifFrame &frame = gif.frames[i];
        QCOMPARE(frame.area, areas[i]);
        QCOMPARE(frame.delay, delays[i]);
        QCOMPARE(frame.disposal, disposals[i]);
        // The cut-out file is a GIF of its own with just that frame.
        QVERIFY(frame.file.startsWith(data.left(13 + 12)));
        QVERIFY(frame.file.endsWith(';'));
        const GifFile alone = GifFile::parse(frame.file);
        QVERIFY(alone.isValid());
        QCOMPARE(alone.frames.size(), 1);
        QCOMPARE(alone.frames[0].area, areas[i]);
        QCOMPARE(alone.frames[0].delay, delays[i]);
        QCOMPARE(alone.frames[0].file, frame.file);
    }
    // The local colour table travels with its frame: red drawn through it shows green.
    const QImage second = QImage::fromData(gif.frames[1].file, "GIF");
    QCOMPARE(second.pixelColor(1, 1), QColor(Qt::green));
}

void TestGif::walkerRejects_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("status");
    const int notGif = int(GifFile::Status::NotGif), malformed = int(GifFile::Status::Malformed);
    const QByteArray good = threeFrames();
    QTest::newRow("empty") << QByteArray() << notGif;
    QTest::newRow("text") << QByteArray("hello, world") << notGif;
    QTest::newRow("GIF90a") << QByteArray("GIF90a").append(good.mid(6)) << notGif;
    QTest::newRow("png") << encoded(QImage(2, 2, QImage::Format_RGB32), "PNG") << notGif;
    QTest::newRow("unknown block") << QByteArray(good).insert(good.size() - 1, '\x42') << malformed;
    QTest::newRow("no trailer") << good.chopped(1) << malformed;
    QTest::newRow("sub-block past the end") << good.chopped(1).append("\x21\xfe\x09" "abc") << malformed;
    QByteArray noScreen = good;
    noScreen[6] = noScreen[7] = 0;
    QTest::newRow("zero width") << noScreen << malformed;
    // A global table of 256 colours announced, only four present.
    QByteArray bigTable = good.left(20);
    bigTable[10] = char(0x87);
    QTest::newRow("short colour table") << bigTable << malformed;
}

void TestGif::walkerRejects()
{
    QFETCH(QByteArray, data);
    QFETCH(int, status);
    const GifFile gif = GifFile::parse(data);
    QCOMPARE(int(gif.status), status);
    QVERIFY(gif.frames.isEmpty());
}

void TestGif::walkerNeverAcceptsAPrefix()
{
    const QByteArray data = threeFrames();
    for (qsizetype length = 6; length < data.size(); ++length)
        QVERIFY2(GifFile::parse(data.left(length)).status == GifFile::Status::Malformed,
                 qPrintable(QString::number(length)));
}

void TestGif::delayRule_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("ms");
    QTest::newRow("0") << 0 << 100;
    QTest::newRow("1") << 1 << 100;
    QTest::newRow("4") << 4 << 100;
    QTest::newRow("5") << 5 << 50;
    QTest::newRow("20") << 20 << 200;
    QTest::newRow("200") << 200 << 2000;
}

void TestGif::delayRule()
{
    QFETCH(int, stored);
    QFETCH(int, ms);
    QCOMPARE(gifFrameDelayMs(stored), ms);
}

void TestGif::controlKeepsTheFrameTimes()
{
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(threeFrames()));
    QVERIFY(control.isAnimated());
    QCOMPARE(control.frameCount(), 3);
    QCOMPARE(control.frameDelayMs(0), 100);
    QCOMPARE(control.frameDelayMs(1), 50);
    QCOMPARE(control.frameDelayMs(2), 2000);
    QCOMPARE(control.size(), Screen);
}

void TestGif::disposalOnTheCanvas()
{
    const QByteArray data = buildGif(Screen, {{QRect(0, 0, 4, 2), Green, 10, 1},
                                              {QRect(1, 1, 2, 2), Red, 10, 2},
                                              {QRect(0, 0, 2, 2), Blue, 10, 3},
                                              {QRect(3, 3, 1, 1), Red, 10, 0}});
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(data));
    control.SetBackgroundColor(Qt::white);
    QVERIFY(control.Play());
    QVERIFY(control.isPlaying());
    QCOMPARE(at(control, 0, 0), QColor(Qt::green));
    QCOMPARE(at(control, 3, 3), QColor(Qt::white));

    control.advanceFrame(); // red square over green and white
    QCOMPARE(control.currentFrame(), 1);
    QCOMPARE(at(control, 1, 1), QColor(Qt::red));
    QCOMPARE(at(control, 2, 2), QColor(Qt::red));

    control.advanceFrame(); // the red square goes to the background, blue comes
    QCOMPARE(at(control, 1, 1), QColor(Qt::blue));
    QCOMPARE(at(control, 2, 1), QColor(Qt::white));
    QCOMPARE(at(control, 2, 2), QColor(Qt::white));
    QCOMPARE(at(control, 3, 0), QColor(Qt::green));

    control.advanceFrame(); // blue is taken back: what lay under it returns
    QCOMPARE(at(control, 0, 0), QColor(Qt::green));
    QCOMPARE(at(control, 1, 1), QColor(Qt::white));
    QCOMPARE(at(control, 3, 3), QColor(Qt::red));

    control.advanceFrame(); // after the last frame the canvas is cleared and it starts again
    QCOMPARE(control.currentFrame(), 0);
    QCOMPARE(at(control, 1, 1), QColor(Qt::green));
    QCOMPARE(at(control, 3, 3), QColor(Qt::white));
    QCOMPARE(at(control, 2, 2), QColor(Qt::white));
}

void TestGif::oneFrameIsAStill()
{
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(buildGif(QSize(5, 3), {{QRect(1, 0, 2, 2), Blue, 50}})));
    QVERIFY(control.isLoaded());
    QVERIFY(!control.isAnimated());
    QCOMPARE(control.size(), QSize(5, 3));
    control.SetBackgroundColor(Qt::white);
    QVERIFY(control.Play());
    QVERIFY(!control.isPlaying());
    QCOMPARE(at(control, 1, 1), QColor(Qt::blue));
    control.advanceFrame(); // nothing to advance
    QCOMPARE(at(control, 1, 1), QColor(Qt::blue));
}

void TestGif::otherPicturesAreStills_data()
{
    QTest::addColumn<QByteArray>("data");
    QImage picture(37, 23, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    QTest::newRow("jpeg") << encoded(picture, "JPEG");
    QTest::newRow("bmp") << encoded(picture, "BMP");
    QTest::newRow("png") << encoded(picture, "PNG");
}

void TestGif::otherPicturesAreStills()
{
    QFETCH(QByteArray, data);
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(data));
    QCOMPARE(control.size(), QSize(37, 23));
    QCOMPARE(control.sizeHint(), QSize(37, 23));
    QVERIFY(control.Play());
    QVERIFY(!control.isPlaying());
    const QColor centre = at(control, 18, 11);
    QVERIFY2(qAbs(centre.red() - 200) < 8 && qAbs(centre.green() - 40) < 8, qPrintable(centre.name()));
}

void TestGif::badDataLoadsNothing_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray good = threeFrames();
    QTest::newRow("truncated in image data") << good.left(good.size() - 8);
    QTest::newRow("truncated in header") << good.left(10);
    QTest::newRow("garbage") << QByteArray(300, '\xA5');
    QTest::newRow("header and trailer only") << good.left(13 + 12).append(';');
    QTest::newRow("empty") << QByteArray();
}

void TestGif::badDataLoadsNothing()
{
    QFETCH(QByteArray, data);
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(threeFrames()));
    QVERIFY(control.Play());
    QVERIFY(!control.LoadFromMemory(data));
    QVERIFY(!control.isLoaded());
    QVERIFY(!control.isPlaying());
    QVERIFY(!control.Play());
    control.advanceFrame();
    control.grab(); // paints nothing, and does not fail
}

void TestGif::rejectedFramesAreLeftOut()
{
    // LZW code size 13 is beyond the format: the decoder refuses those frames.
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(buildGif(Screen, {{QRect(0, 0, 4, 4), Red, 10},
                                                     {QRect(0, 0, 4, 4), Green, 10, 0, false, 13},
                                                     {QRect(0, 0, 4, 4), Blue, 30}})));
    QCOMPARE(control.frameCount(), 2);
    QCOMPARE(control.frameDelayMs(1), 300);
    // With only one frame left, the picture is a still.
    QVERIFY(control.LoadFromMemory(buildGif(Screen, {{QRect(0, 0, 4, 4), Red, 10},
                                                     {QRect(0, 0, 4, 4), Green, 10, 0, false, 13}})));
    QVERIFY(!control.isAnimated());
    QVERIFY(control.Play());
    QCOMPARE(at(control, 2, 2), QColor(Qt::red));
    QVERIFY(!control.LoadFromMemory(buildGif(Screen, {{QRect(0, 0, 4, 4), Red, 10, 0, false, 13},
                                                      {QRect(0, 0, 4, 4), Green, 10, 0, false, 13}})));
}

void TestGif::secondLoadStopsTheFirst()
{
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(buildGif(Screen, {{QRect(0, 0, 4, 4), Red, 5}, {QRect(0, 0, 4, 4), Green, 5}})));
    QVERIFY(control.Play());
    QVERIFY(control.isPlaying());
    QVERIFY(control.LoadFromMemory(buildGif(QSize(2, 2), {{QRect(0, 0, 2, 2), Blue, 5}, {QRect(0, 0, 2, 2), Black, 5}})));
    QVERIFY(!control.isPlaying());
    QCOMPARE(control.currentFrame(), -1);
    QCOMPARE(control.size(), QSize(2, 2));
    // The first animation's timer is gone: nothing moves until the new one plays.
    QTest::qWait(200);
    QCOMPARE(control.currentFrame(), -1);
    QCOMPARE(at(control, 0, 0), QColor(Qt::white));
    // Playing twice does not restart the animation.
    QVERIFY(control.Play());
    control.advanceFrame();
    QVERIFY(control.Play());
    QCOMPARE(control.currentFrame(), 1);
}

void TestGif::playsOnItsOwnTimer()
{
    // Two controls at 50 ms per frame: both go round while the event loop runs, and stop.
    GifAnimation first, second;
    const QByteArray data = buildGif(Screen, {{QRect(0, 0, 4, 4), Red, 5}, {QRect(0, 0, 4, 4), Green, 5}});
    QVERIFY(first.LoadFromMemory(data));
    QVERIFY(second.LoadFromMemory(data));
    QVERIFY(first.Play());
    QVERIFY(second.Play());
    QTRY_COMPARE_WITH_TIMEOUT(at(first, 0, 0), QColor(Qt::green), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(at(first, 0, 0), QColor(Qt::red), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(at(second, 0, 0), QColor(Qt::green), 5000);
    first.Stop();
    QVERIFY(!first.isPlaying());
    const int frame = first.currentFrame();
    const QColor shown = at(first, 0, 0);
    QTRY_VERIFY_WITH_TIMEOUT(second.currentFrame() != 1, 5000); // the other one goes on
    QTest::qWait(150);
    QCOMPARE(first.currentFrame(), frame);
    QCOMPARE(at(first, 0, 0), shown);
}

void TestGif::backgroundColourRedrawsThePicture()
{
    GifAnimation control;
    QVERIFY(control.LoadFromMemory(buildGif(Screen, {{QRect(1, 1, 2, 2), Red, 0}})));
    QCOMPARE(control.backgroundColor(), QColor(Qt::white));
    QVERIFY(control.Play());
    control.SetBackgroundColor(Qt::transparent);
    QCOMPARE(at(control, 0, 0).alpha(), 0);
    QCOMPARE(at(control, 1, 1), QColor(Qt::red));
    QVERIFY(!control.testAttribute(Qt::WA_OpaquePaintEvent));
    control.SetBackgroundColor(Qt::black);
    QVERIFY(control.testAttribute(Qt::WA_OpaquePaintEvent));
    control.Unload();
    QCOMPARE(control.backgroundColor(), QColor(Qt::white));
    QVERIFY(!control.isLoaded());
}

void TestGif::resources()
{
    GifAnimation control;
    QVERIFY(control.LoadFromResource(133)); // the body exists as a PNG only
    QCOMPARE(control.size(), QSize(503, 588));
    QVERIFY(!control.LoadFromResource(99999));
    QVERIFY(!control.isLoaded());
}

void TestGif::lampImages_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("lit");
    QTest::addColumn<int>("dark");
    QTest::addColumn<QList<int>>("delays");
    QSet<int> seen;
    for (const Lamp &lamp : lamps()) {
        QVERIFY2(!seen.contains(lamp.number), "each number is one image");
        seen.insert(lamp.number);
        QTest::addRow("%d", lamp.number) << lamp.number << lamp.size << lamp.lit << lamp.dark << lamp.delays;
    }
    QCOMPARE(seen.size(), 97);
}

void TestGif::lampImages()
{
    QFETCH(int, number);
    QFETCH(QSize, size);
    QFETCH(int, lit);
    QFETCH(int, dark);
    QFETCH(QList<int>, delays);

    QFile file(QStringLiteral(":/art/%1.gif").arg(number));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const GifFile gif = GifFile::parse(file.readAll());
    QVERIFY(gif.isValid());
    QCOMPARE(gif.screen, size);
    QCOMPARE(gif.frames.size(), qMax(qsizetype(1), delays.size()));

    GifAnimation control;
    QVERIFY(control.LoadFromResource(number));
    control.SetBackgroundColor(Qt::white);
    QCOMPARE(control.size(), size);
    QCOMPARE(control.frameCount(), delays.size());
    for (int i = 0; i < delays.size(); ++i)
        QCOMPARE(control.frameDelayMs(i), delays[i]);

    // The lamp looks exactly like the still art: lit frames as the lit lens, dark ones unlit.
    QVERIFY(control.Play());
    QCOMPARE(control.isPlaying(), !delays.isEmpty());
    const int frames = qMax(1, int(delays.size()));
    for (int i = 0; i < frames; ++i) {
        const bool isLit = lit != 0 && i % 2 == 0;
        QCOMPARE(rgb(control.canvas()), stillArt(isLit ? lit : dark));
        control.advanceFrame();
    }
}

QTEST_MAIN(TestGif)
#include "test_gif.moc"
