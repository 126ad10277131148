// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the generator makes; each function draws one family of images.
#pragma once

#include "ArtKit.h"

namespace dpx::art {

// The phone body (503 x 588); outside its silhouette every pixel is KeyColour.
QImage paintBody();
// Whether a pixel of the window lies inside the phone's silhouette.
bool insideSilhouette(int x, int y);

QImage paintStatusLine(); // 287 x 56, dark
QImage paintLcd();        // 287 x 60, backlit

enum class LensColour { Off, Red, Green };
// The square lamp window of a programmable key (and its lamp images), 17 x 17 at `box`.
void drawLens(QPainter &painter, const QRectF &box, LensColour colour);

// The application icon's telephone on a 64 x 64 design grid, in three layers; `simple` drops
// details too small for 16 px. The icon draws body, handset, face; ringing frames lift the
// handset off its cradle and draw it last.
void drawTelephoneBody(QPainter &painter, bool simple);
void drawTelephoneHandset(QPainter &painter, bool simple);
void drawTelephoneFace(QPainter &painter, bool simple);

void writeKeys(ArtWriter &writer);
void writeLamps(ArtWriter &writer, const QImage &body);
void writeSlider(ArtWriter &writer, const QImage &body);
void writeIcons(ArtWriter &writer);
void writeFolderImages(ArtWriter &writer);
void writeRingingIcons(ArtWriter &writer);
void writeCallerPopup(ArtWriter &writer);
QImage paintSettingsBackground(); // 519: the phone settings window, 340 x 340
// The seven looks' small images into <folder>/<look>/; false (errors filled) on failure.
bool writeThemeImages(const QString &folder, QStringList &errors);
void writeAddressBookArt(ArtWriter &writer); // 132 (button strip), 199 (phone book)
void writeTransferArt(ArtWriter &writer);
void writeConverterArt(ArtWriter &writer); // 138, 142, 143, 153, 154 and the slider
void writeCallHistoryIcons(ArtWriter &writer);

// Paints the whole window from the images in `artFolder` as the program would show it.
// `lit` lights a few lamps and keys so that their look can be judged too.
QImage paintPreview(const QString &artFolder, bool lit);
// Enlarged samples of the small images side by side.
QImage paintSheet(const QString &artFolder);
// The caller popup as the program draws it over its background, with sample texts.
QImage paintPopupPreview(const QString &artFolder);

} // namespace dpx::art
