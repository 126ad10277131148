// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>

namespace dpx {

// One image of a GIF with its timing, and a stand-alone GIF file holding only that image
// (the file's header, screen descriptor and global colour table, the image's own graphic
// control extension, descriptor, local colour table and data, then the trailer).
struct GifFrame {
    QRect area;       // position and size within the logical screen
    int delay = 0;    // hundredths of a second, as stored
    int disposal = 0; // 0..7, as stored
    QByteArray file;
};

// The block structure of a GIF87a/GIF89a file, walked without decoding any image data.
struct GifFile {
    enum class Status {
        Ok,
        NotGif,   // no "GIF87a"/"GIF89a" signature: some other kind of picture, or none
        Malformed // a GIF whose blocks are unknown or run past the end of the data
    };

    Status status = Status::NotGif;
    QSize screen; // logical screen size
    QList<GifFrame> frames;

    bool isValid() const { return status == Status::Ok; }

    static GifFile parse(const QByteArray &data);
};

// How long a frame stays: its delay in milliseconds, or 100 ms for delays under 50 ms
// (many files store 0 or a tiny value meaning "as fast as the viewer likes").
int gifFrameDelayMs(int hundredths);

} // namespace dpx
