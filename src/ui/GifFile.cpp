// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GifFile.h"

namespace dpx {

namespace {

constexpr qsizetype HeaderSize = 6;           // "GIF89a"
constexpr qsizetype ScreenDescriptorSize = 7; // width, height, packed, background, aspect
constexpr qsizetype ImageDescriptorSize = 10; // ',' left, top, width, height, packed
constexpr uchar ExtensionIntroducer = 0x21;
constexpr uchar ImageSeparator = 0x2C;
constexpr uchar Trailer = 0x3B;
constexpr uchar GraphicControlLabel = 0xF9;

// Bounds-checked reading; every access is checked against the data's size first.
class BlockReader {
public:
    explicit BlockReader(const QByteArray &data) : m_data(data) {}

    qsizetype pos = 0;

    bool has(qsizetype count) const { return count >= 0 && m_data.size() - pos >= count; }
    uchar byteAt(qsizetype offset) const { return uchar(m_data[pos + offset]); }
    int wordAt(qsizetype offset) const { return byteAt(offset) | (byteAt(offset + 1) << 8); }

    // Steps over a chain of length-prefixed sub-blocks up to and including its zero length.
    bool skipSubBlocks()
    {
        for (;;) {
            if (!has(1))
                return false;
            const qsizetype length = byteAt(0);
            ++pos;
            if (length == 0)
                return true;
            if (!has(length))
                return false;
            pos += length;
        }
    }

private:
    const QByteArray &m_data;
};

// Size in bytes of a colour table announced by a packed field (top bit set, n in bits 0-2).
qsizetype colourTableSize(uchar packed)
{
    return (packed & 0x80) ? qsizetype(3) << ((packed & 0x07) + 1) : 0;
}

} // namespace

int gifFrameDelayMs(int hundredths)
{
    return hundredths < 5 ? 100 : hundredths * 10;
}

GifFile GifFile::parse(const QByteArray &data)
{
    GifFile gif;
    if (!data.startsWith("GIF89a") && !data.startsWith("GIF87a"))
        return gif; // NotGif

    gif.status = Status::Malformed;
    BlockReader in(data);
    in.pos = HeaderSize;
    if (!in.has(ScreenDescriptorSize))
        return gif;
    const QSize screen(in.wordAt(0), in.wordAt(2));
    const qsizetype globalTable = colourTableSize(in.byteAt(4));
    in.pos += ScreenDescriptorSize;
    if (screen.isEmpty() || !in.has(globalTable))
        return gif;
    in.pos += globalTable;
    const QByteArray head = data.left(in.pos);

    // The last graphic control extension applies to the next image only.
    QList<GifFrame> frames;
    QByteArray control;
    int delay = 0;
    int disposal = 0;

    for (;;) {
        if (!in.has(1))
            return gif; // no trailer
        const uchar type = in.byteAt(0);
        const qsizetype start = in.pos;
        if (type == Trailer)
            break;
        if (type == ExtensionIntroducer) {
            if (!in.has(2))
                return gif;
            const uchar label = in.byteAt(1);
            in.pos += 2;
            // Graphic control data: size (4), packed, delay (2), transparent index.
            const bool isControl = label == GraphicControlLabel && in.has(5) && in.byteAt(0) >= 4;
            const uchar packed = isControl ? in.byteAt(1) : 0;
            const int storedDelay = isControl ? in.wordAt(2) : 0;
            // Comment, application, plain text and any other extension are skipped alike:
            // all of them are chains of sub-blocks.
            if (!in.skipSubBlocks())
                return gif;
            if (isControl) {
                control = data.mid(start, in.pos - start);
                disposal = (packed >> 2) & 0x07;
                delay = storedDelay;
            }
            continue;
        }
        if (type != ImageSeparator || !in.has(ImageDescriptorSize))
            return gif;
        GifFrame frame;
        frame.area = QRect(in.wordAt(1), in.wordAt(3), in.wordAt(5), in.wordAt(7));
        const qsizetype localTable = colourTableSize(in.byteAt(9));
        in.pos += ImageDescriptorSize;
        if (!in.has(localTable + 1)) // the table and the LZW minimum code size
            return gif;
        in.pos += localTable + 1;
        if (!in.skipSubBlocks())
            return gif;
        frame.delay = delay;
        frame.disposal = disposal;
        frame.file.reserve(head.size() + control.size() + (in.pos - start) + 1);
        frame.file.append(head).append(control).append(data.constData() + start, in.pos - start);
        frame.file.append(char(Trailer));
        frames.append(std::move(frame));
        control.clear();
        delay = 0;
        disposal = 0;
    }
    gif.screen = screen;
    gif.frames = std::move(frames);
    gif.status = Status::Ok;
    return gif;
}

} // namespace dpx
