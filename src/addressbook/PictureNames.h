// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// The picture file of a contact is named after its name and mobile number joined (張三 + 0912
// -> "張三0912.bmp"). Characters a file name cannot hold or that would change its meaning
// ("/", "\", control characters, :*?"<>|, "%", "~", a leading dot or byte-order mark, a
// trailing dot or blank, a lone surrogate) become %XX of their UTF-8 bytes, and so does the first character of a
// reserved device name (CON, NUL, COM1, ...) and of "Default", which is the shared default
// picture. The mapping is one to one, and a plain name stays as it is. A stem over
// kMaxPictureStemBytes UTF-8 bytes is cut at a character boundary and ends with "~" and eight
// hex digits of a hash of the whole key. Empty name and mobile: no file (empty result).
inline constexpr int kMaxPictureStemBytes = 250;
inline constexpr const char *kDefaultPictureFile = "Default.bmp";

QString pictureFileName(const QString &name, const QString &mobileNumber);

// The stem (file name without ".bmp") for a joined key; empty for an empty key.
QString pictureFileStem(const QString &key);

} // namespace dpx
