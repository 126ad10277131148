// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files turned into contact pictures: format told by content, EXIF orientation, the
// centre cut without distortion, transparency on white, a 24-bit 128 x 128 BMP; bad files give
// an error and bounded memory.
#include "addressbook/ContactPictureImage.h"
#include "../support/TestFiles.h"

#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace dpx;

namespace {

const QColor Red(220, 0, 0), Blue(0, 0, 220);

// Left half red, right half blue.
QImage halves(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, width / 2, height, Red);
    p.fillRect(width / 2, 0, width - width / 2, height, Blue);
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG with an EXIF block saying "rotate 90 degrees clockwise to show" (orientation 6).
QByteArray rotatedJpeg(const QImage &stored)
{
    const QByteArray jpeg = encoded(stored, "JPEG");
    QByteArray exif = QByteArray("Exif\0\0", 6);
    exif += QByteArray("II*\0\x08\0\0\0", 8);              // little-endian TIFF, IFD at 8
    exif += QByteArray("\x01\0", 2);                       // one entry
    exif += QByteArray("\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 12); // orientation, SHORT, 1, 6
    exif += QByteArray(4, '\0');                           // no next IFD
    QByteArray segment("\xFF\xE1", 2);
    const quint16 length = qToBigEndian<quint16>(quint16(exif.size() + 2));
    segment += QByteArray(reinterpret_cast<const char *>(&length), 2) + exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFF;
    for (char byte : data) {
        crc ^= uchar(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A small PNG whose header claims 30000 x 30000 pixels.
QByteArray hugePng()
{
    QByteArray png = encoded(QImage(4, 4, QImage::Format_RGB32), "PNG");
    const quint32 side = qToBigEndian<quint32>(30000);
    png.replace(16, 4, reinterpret_cast<const char *>(&side), 4);
    png.replace(20, 4, reinterpret_cast<const char *>(&side), 4);
    const quint32 crc = qToBigEndian<quint32>(crc32(png.mid(12, 17)));
    png.replace(29, 4, reinterpret_cast<const char *>(&crc), 4);
    return png;
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

} // namespace

class TestPictureConversion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void converts_data();
    void converts();
    void refuses_data();
    void refuses();

private:
    QTemporaryDir m_dir;
};

void TestPictureConversion::converts_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("redAt");
    QTest::addColumn<QPoint>("blueAt");
    // A wide picture keeps its centre: red on the left, blue on the right, not squeezed.
    QTest::newRow("jpeg") << encoded(halves(400, 200), "JPEG") << "a.jpg" << QPoint(10, 64) << QPoint(118, 64);
    QTest::newRow("upper-case .JPG") << encoded(halves(400, 200), "JPEG") << "b.JPG" << QPoint(10, 64) << QPoint(118, 64);
    QTest::newRow(".jpeg") << encoded(halves(300, 300), "JPEG") << "c.jpeg" << QPoint(10, 64) << QPoint(118, 64);
    QTest::newRow("bmp") << encoded(halves(90, 300), "BMP") << "d.bmp" << QPoint(30, 64) << QPoint(98, 64);
    QTest::newRow("png named jpg") << encoded(halves(64, 64), "PNG") << "e.jpg" << QPoint(30, 64) << QPoint(98, 64);
    // Stored sideways, shown upright: the left half becomes the top.
    QTest::newRow("exif rotated") << rotatedJpeg(halves(400, 200)) << "f.jpg" << QPoint(64, 10) << QPoint(64, 118);
}

void TestPictureConversion::converts()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QPoint, redAt);
    QFETCH(QPoint, blueAt);
    const QString path = m_dir.filePath(name);
    QVERIFY(test::writeFile(path, file));

    const ConvertedPicture picture = convertContactPicture(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), QSize(128, 128));
    QVERIFY2(near(picture.image.pixelColor(redAt), Red), qPrintable(picture.image.pixelColor(redAt).name()));
    QVERIFY2(near(picture.image.pixelColor(blueAt), Blue), qPrintable(picture.image.pixelColor(blueAt).name()));
    // A 24-bit BMP file of that picture.
    QVERIFY(picture.bmp.startsWith("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(picture.bmp.constData() + 28), quint16(24));
    QCOMPARE(QImage::fromData(picture.bmp, "BMP").size(), QSize(128, 128));
}

void TestPictureConversion::refuses_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray jpeg = encoded(halves(400, 200), "JPEG");
    QTest::newRow("text named jpg") << QByteArray("Dear John,\nthis is not a picture.\n");
    QTest::newRow("truncated jpeg") << jpeg.left(jpeg.size() / 3);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("30000 x 30000 png") << hugePng();
}

void TestPictureConversion::refuses()
{
    QFETCH(QByteArray, file);
    const QString path = m_dir.filePath(QStringLiteral("bad.jpg"));
    QVERIFY(test::writeFile(path, file));
    const ConvertedPicture picture = convertContactPicture(path);
    QVERIFY(!picture.ok());
    QVERIFY(picture.bmp.isEmpty());
    QVERIFY(readPictureFile(path).isNull() || QTest::currentDataTag() == QByteArray("truncated jpeg"));
}

QTEST_MAIN(TestPictureConversion)
#include "tst_pictureconversion.moc"
