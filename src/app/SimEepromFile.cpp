// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimEepromFile.h"

#include "sim/SimulatedBox.h"
#include "transfer/EepromImage.h"
#include "transfer/TransferPlans.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dpx::SimEepromFile {

bool load(SimulatedBox &box, const QString &path, const QString &dataFolder, QString *error)
{
    if (QFileInfo::exists(path)) {
        const QByteArray image = EepromImage::load(path, error);
        if (image.isEmpty())
            return false;
        box.setEeprom(image);
        return true;
    }
    QStringList messages;
    const std::optional<QByteArray> table = TransferPlans::factoryTable(dataFolder, &messages);
    if (!table) {
        *error = messages.join(QLatin1Char(' '));
        return false;
    }
    QList<QByteArray> files;
    for (const QString &name : TransferPlans::factoryFileNames()) {
        QFile file(QDir(dataFolder).filePath(name));
        files.append(file.open(QIODevice::ReadOnly) ? file.read(64 * 65536) : QByteArray());
    }
    box.setEeprom(EepromImage::factory(InfoTable(*table), files));
    return true;
}

bool save(const SimulatedBox &box, const QString &path, QString *error)
{
    return EepromImage::save(path, box.eeprom(), error);
}

} // namespace dpx::SimEepromFile
