// SPDX-License-Identifier: GPL-3.0-or-later
// The GIF block walker and the animated picture control, and the lamp images it plays.
#include "ui/GifAnimation.h"
#include "ui/GifFile.h"
#include "ui/GifTicker.h"

#include <QBuffer>
#include <memory>
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
};

// LZW data of `count` pixels of one colour, a clear code before each so that codes stay three
// bits wide; small frames fit in one sub-block.
QByteArray solidImageData(int count, int colour)
{
    QByteArray codes;
    quint32 bits = 0;
    int used = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << used;
        for (used += 3; used >= 8; used -= 8, bits >>= 8)
            codes.append(char(bits & 0xFF));
    };
    for (int i = 0; i < count; ++i) {
        put(4); // clear
        put(colour);
    }
    put(5); // end
    if (used)
        codes.append(char(bits & 0xFF));
    Q_ASSERT(codes.size() < 256);
    return char(codes.size()) + codes + '\0';
}

QByteArray buildGif(QSize screen, const QList<Part> &parts)
{
    QByteArray gif("GIF89a");
    const auto putWord = [&gif](int v) { gif.append(char(v & 0xFF)).append(char(v >> 8)); };
    putWord(screen.width());
    putWord(screen.height());
    gif.append("\x81\0\0", 3); // a global table of four colours
    for (const QColor &c : Palette)
        gif.append(char(c.red())).append(char(c.green())).append(char(c.blue()));
    gif.append(QByteArray::fromHex("21ff0b4e45545343415045322e300301000000")); // loop forever
    gif.append(QByteArray::fromHex("21fe0568656c6c6f00"));                     // a comment
    for (const Part &part : parts) {
        gif.append(QByteArray::fromHex("21f904")).append(char(part.disposal << 2));
        putWord(part.delay);
        gif.append("\0\0,", 3);
        for (int value : {part.area.x(), part.area.y(), part.area.width(), part.area.height()})
            putWord(value);
        gif.append("\0\2", 2); // no local table, two-bit LZW
        gif.append(solidImageData(part.area.width() * part.area.height(), part.colour));
    }
    return gif.append(';');
}

const QSize Screen(4, 4);

// Three frames with different timing and placement.
QByteArray threeFrames()
{
    return buildGif(Screen, {{QRect(0, 0, 4, 4), Green, 4, 1},
                             {QRect(1, 1, 2, 3), Red, 5, 2},
                             {QRect(3, 0, 1, 1), Blue, 200, 3}});
}

// Two full-screen frames of 50 ms each.
QByteArray redGreen(QSize size = Screen)
{
    const QRect all(QPoint(0, 0), size);
    return buildGif(size, {{all, Red, 5}, {all, Green, 5}});
}

QColor at(const GifAnimation &control, int x, int y)
{
    return control.canvas().pixelColor(x, y);
}

} // namespace

class TestGif : public QObject {
    Q_OBJECT

    GifTicker m_ticker;

private Q_SLOTS:
    void walkerFindsFramesAndTiming();
    void badDataLoadsNothing();
    void disposalOnTheCanvas();
    void stills_data();
    void stills();
    void secondLoadStopsTheFirst();
    void controlOutlivesItsTicker();
    void lampImages_data();
    void lampImages();
};

void TestGif::walkerFindsFramesAndTiming()
{
    const QByteArray data = threeFrames();
    const GifFile gif = GifFile::parse(data);
    QVERIFY(gif.isValid() && gif.screen == Screen);
    QCOMPARE(gif.frames.size(), 3);
    const QList<QRect> areas{QRect(0, 0, 4, 4), QRect(1, 1, 2, 3), QRect(3, 0, 1, 1)};
    const QList<int> delays{4, 5, 200};
    for (int i = 0; i < 3; ++i) {
        const GifFrame &frame = gif.frames[i];
        QCOMPARE(frame.area, areas[i]);
        QCOMPARE(frame.delay, delays[i]);
        QCOMPARE(frame.disposal, i + 1);
    }

    // Stored delays are hundredths; below 5 they mean 100 ms.
    GifAnimation control(m_ticker);
    QVERIFY(control.LoadFromMemory(data));
    QCOMPARE(control.frameCount(), 3);
    QCOMPARE(control.frameDelayMs(0), 100);
    QCOMPARE(control.frameDelayMs(1), 50);
    QCOMPARE(control.frameDelayMs(2), 2000);
    QCOMPARE(gifFrameDelayMs(0), 100);
}

void TestGif::badDataLoadsNothing()
{
    using S = GifFile::Status;
    const QByteArray good = threeFrames();
    QByteArray noScreen = good;
    noScreen[6] = noScreen[7] = 0;
    QList<QPair<QByteArray, S>> cases = {
        {QByteArray(300, '\xA5'), S::NotGif},
        {QByteArray(good).insert(good.size() - 1, '\x42'), S::Malformed}, // an unknown block
        {noScreen, S::Malformed},
        {good.left(13 + 12).append(';'), S::Ok}, // no frames
    };
    for (qsizetype length = 0; length < good.size(); ++length) // every truncation
        cases.append({good.left(length), length < 6 ? S::NotGif : S::Malformed});
    GifAnimation control(m_ticker);
    for (const auto &[data, status] : cases) {
        const GifFile gif = GifFile::parse(data);
        const QByteArray what = data.left(40).toHex();
        QVERIFY2(gif.status == status && gif.frames.isEmpty(), what.constData());
        // What played before is gone, and nothing is left to play or paint.
        QVERIFY(control.LoadFromMemory(good) && control.Play());
        QVERIFY2(!control.LoadFromMemory(data), what.constData());
        QVERIFY(!control.isLoaded() && !control.isPlaying() && !control.Play());
        control.advanceFrame();
        control.grab();
    }
}

void TestGif::disposalOnTheCanvas()
{
    const QByteArray data = buildGif(Screen, {{QRect(0, 0, 4, 2), Green, 10, 1},
                                              {QRect(1, 1, 2, 2), Red, 10, 2},
                                              {QRect(0, 0, 2, 2), Blue, 10, 3},
                                              {QRect(3, 3, 1, 1), Red, 10, 0}});
    GifAnimation control(m_ticker);
    QVERIFY(control.LoadFromMemory(data));
    control.SetBackgroundColor(Qt::white);
    QVERIFY(control.Play());
    QCOMPARE(at(control, 3, 3), QColor(Qt::white));
    control.advanceFrame(); // red square over green and white
    QCOMPARE(at(control, 2, 2), QColor(Qt::red));

    control.advanceFrame(); // the red square goes to the background, blue comes
    QCOMPARE(at(control, 1, 1), QColor(Qt::blue));
    QCOMPARE(at(control, 2, 2), QColor(Qt::white));
    QCOMPARE(at(control, 3, 0), QColor(Qt::green));

    control.advanceFrame(); // blue is taken back: what lay under it returns
    QCOMPARE(at(control, 0, 0), QColor(Qt::green));
    QCOMPARE(at(control, 1, 1), QColor(Qt::white));
    QCOMPARE(at(control, 3, 3), QColor(Qt::red));

    control.advanceFrame(); // after the last frame the canvas is cleared and it starts again
    QCOMPARE(control.currentFrame(), 0);
    QCOMPARE(at(control, 3, 3), QColor(Qt::white));
}

void TestGif::stills_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("colour");
    QImage picture(37, 23, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "JPEG"));
    QTest::newRow("one-frame GIF") << buildGif(QSize(5, 3), {{QRect(1, 0, 2, 2), Blue, 50}})
                                   << QSize(5, 3) << QColor(Qt::blue);
    QTest::newRow("JPEG") << jpeg << picture.size() << QColor(200, 40, 40);
}

void TestGif::stills()
{
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    QFETCH(QColor, colour);
    GifAnimation control(m_ticker);
    QVERIFY(control.LoadFromMemory(data));
    QVERIFY(!control.isAnimated());
    QCOMPARE(control.sizeHint(), size);
    QVERIFY(control.Play());
    QVERIFY(!control.isPlaying());
    control.advanceFrame(); // nothing to advance
    const QColor shown = at(control, size.width() / 2, size.height() / 2);
    QVERIFY2(qAbs(shown.red() - colour.red()) + qAbs(shown.green() - colour.green()) +
                     qAbs(shown.blue() - colour.blue()) < 16,
             qPrintable(shown.name()));
}

void TestGif::secondLoadStopsTheFirst()
{
    // Two controls at 50 ms per frame: each goes round on its own timer.
    GifAnimation control(m_ticker), other(m_ticker);
    for (GifAnimation *gif : {&control, &other})
        QVERIFY(gif->LoadFromMemory(redGreen()) && gif->Play());
    QTRY_COMPARE_WITH_TIMEOUT(at(control, 0, 0), QColor(Qt::green), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(at(control, 0, 0), QColor(Qt::red), 5000);
    QVERIFY(control.LoadFromMemory(redGreen(QSize(2, 2))));
    QVERIFY(!control.isPlaying());
    QCOMPARE(control.size(), QSize(2, 2));
    // The first animation's timer is gone: nothing moves until the new one plays, while the
    // other control goes on.
    QTRY_COMPARE_WITH_TIMEOUT(at(other, 0, 0), QColor(Qt::green), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(at(other, 0, 0), QColor(Qt::red), 5000);
    QCOMPARE(control.currentFrame(), -1);
    QCOMPARE(at(control, 0, 0), QColor(Qt::white));
}

void TestGif::controlOutlivesItsTicker()
{
    // The window owns the ticker and may drop it before its lamps: they stop moving and stay
    // safe to use and to destroy.
    auto ticker = std::make_unique<GifTicker>();
    GifAnimation control(*ticker);
    QVERIFY(control.LoadFromMemory(redGreen()) && control.Play());
    QCOMPARE(ticker->playingCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(control.currentFrame(), 1, 5000);
    ticker.reset();
    QTest::qWait(150);
    QCOMPARE(control.currentFrame(), 1);
    control.advanceFrame(); // by hand it still steps
    QCOMPARE(control.currentFrame(), 0);
    control.Stop();
    QVERIFY(control.LoadFromMemory(redGreen()) && control.Play());
}

void TestGif::lampImages_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("lit");  // still PNG of the lit lens, 0 for none
    QTest::addColumn<int>("dark"); // still PNG of the unlit lens
    QTest::addColumn<QList<int>>("delays"); // frame times in ms, none for a still
    QSet<int> seen;
    auto row = [&](int number, QSize size, int lit, int dark, const QList<int> &delays) {
        seen.insert(number);
        QTest::addRow("%d", number) << number << size << lit << dark << delays;
    };
    // Each lamp's images: fast, slow and steady in its colours, then off.
    const QList<QList<int>> times{{200, 200}, {500, 500}, {}};
    auto lamp = [&](QSize size, QList<int> colours, int dark, const QList<int> &numbers) {
        for (int c = 0; c < colours.size(); ++c)
            for (int i = 0; i < 3; ++i)
                row(numbers[3 * c + i], size, colours[c], dark, times[i]);
        row(numbers.last(), size, 0, dark, {});
    };
    const QSize key(17, 17);
    lamp(key, {408, 413}, 411, {409, 410, 408, 414, 415, 413, 411});
    for (int k = 2; k <= 11; ++k)
        lamp(key, {408, 413}, 411,
             {426 + k, 437 + k, 448 + k, 459 + k, 470 + k, 481 + k, k == 7 ? 416 : 415 + k});
    lamp(key, {408, 413}, 411, {427, 438, 449, 460, 471, 482, 422});
    lamp(QSize(14, 27), {500, 497}, 495, {498, 499, 500, 494, 496, 497, 495});
    lamp(QSize(13, 9), {503}, 493, {501, 502, 503, 493});
    row(545, key, 408, 411, {2000, 100, 100, 100});
    row(546, key, 413, 411, {2000, 100, 100, 100});
    QCOMPARE(seen.size(), 97); // each number is one image
}

void TestGif::lampImages()
{
    QFETCH(int, number);
    QFETCH(QSize, size);
    QFETCH(int, lit);
    QFETCH(int, dark);
    QFETCH(QList<int>, delays);

    GifAnimation control(m_ticker);
    QVERIFY(control.LoadFromResource(number));
    control.SetBackgroundColor(Qt::white);
    QCOMPARE(control.size(), size);
    QCOMPARE(control.frameCount(), delays.size());
    for (int i = 0; i < delays.size(); ++i)
        QCOMPARE(control.frameDelayMs(i), delays[i]);

    // The lamp looks exactly like the still art: lit frames as the lit lens, dark ones unlit.
    QVERIFY(control.Play());
    QCOMPARE(control.isPlaying(), !delays.isEmpty());
    for (int i = 0; i < qMax(1, int(delays.size())); ++i) {
        const int still = lit != 0 && i % 2 == 0 ? lit : dark;
        const QImage art(QStringLiteral(":/art/%1.png").arg(still));
        QCOMPARE(control.canvas().convertToFormat(QImage::Format_RGB32),
                 art.convertToFormat(QImage::Format_RGB32));
        control.advanceFrame();
    }
}

QTEST_MAIN(TestGif)
#include "test_gif.moc"
