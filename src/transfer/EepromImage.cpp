// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/EepromImage.h"

#include "transfer/EepromLayout.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace dpx::EepromImage {

QByteArray load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return {};
    }
    if (file.size() != eeprom::ImageSize) {
        *error = QStringLiteral("%1 is not an EEPROM image: it holds %2 bytes, not %3.")
                     .arg(path).arg(file.size()).arg(eeprom::ImageSize);
        return {};
    }
    QByteArray image = file.readAll();
    if (image.size() != eeprom::ImageSize) {
        *error = QStringLiteral("%1 cannot be read whole.").arg(path);
        return {};
    }
    return image;
}

bool save(const QString &path, const QByteArray &image, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

InfoTable tableOf(const QByteArray &image)
{
    return InfoTable(image.mid(qsizetype(eeprom::TableBlock) * eeprom::BlockSize, eeprom::TableSize));
}

QString problemWith(const QByteArray &image)
{
    if (image.size() != eeprom::ImageSize)
        return QStringLiteral("The image holds %1 bytes, not %2.").arg(image.size()).arg(eeprom::ImageSize);
    const InfoTable table = tableOf(image);
    if (!table.isInitialized() || !table.hasValidLayout())
        return QStringLiteral("The image's info table does not lay out the six slots.");
    return {};
}

QByteArray factory(const InfoTable &table, const QList<QByteArray> &slotFiles)
{
    QByteArray image(eeprom::ImageSize, char(0xFF));
    InfoTable written = table;
    for (int slot = 0; slot < InfoTable::SlotCount && slot < slotFiles.size(); ++slot) {
        const std::optional<SlotRegion> region = table.region(slot);
        if (!region)
            break;
        const QByteArray data = slotFiles.at(slot).left(region->usableBytes());
        std::copy(data.begin(), data.end(), image.begin() + qsizetype(region->firstBlock) * eeprom::BlockSize);
        if (slot > 0)
            written.setMusicLength(slot, int((data.size() + eeprom::PageSize - 1) / eeprom::PageSize));
    }
    const QByteArray tableBytes = written.bytes();
    std::copy(tableBytes.begin(), tableBytes.end(),
              image.begin() + qsizetype(eeprom::TableBlock) * eeprom::BlockSize);
    return image;
}

} // namespace dpx::EepromImage
