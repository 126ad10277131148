// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary names through the picture-name mapping: one file name component of at most 255
// UTF-8 bytes, valid UTF-8, never the default picture, a dot file or a path; two different
// names that are not cut short never share a file.
#include "addressbook/PictureNames.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

// The bytes as UTF-16 code units, so that lone surrogates and every character come up.
QString unitsOf(const uint8_t *data, size_t size)
{
    QString text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += QChar(char16_t(data[i] | (data[i + 1] << 8)));
    return text;
}

void check(const QString &key)
{
    const QString file = dpx::pictureFileName(key, QString());
    if (key.isEmpty() != file.isEmpty())
        std::abort();
    if (file.isEmpty())
        return;
    const QByteArray bytes = file.toUtf8();
    if (bytes.size() > 255 || QString::fromUtf8(bytes) != file || file.contains(u'/') || file.contains(u'\\')
        || file.contains(QChar(0)) || file.startsWith(u'.')
        || file.compare(QLatin1String(dpx::kDefaultPictureFile), Qt::CaseInsensitive) == 0)
        std::abort();
    for (QChar c : file)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString all = unitsOf(data, size);
    const qsizetype half = all.size() / 2;
    const QString a = all.left(half), b = all.mid(half);
    check(a);
    check(b);
    check(all);
    const QString stemA = dpx::pictureFileStem(a), stemB = dpx::pictureFileStem(b);
    const bool cut = stemA.contains(u'~') || stemB.contains(u'~'); // "~" appears only in a cut
    if (!cut && a != b && stemA == stemB)
        std::abort();
    return 0;
}
