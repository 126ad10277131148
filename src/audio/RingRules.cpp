// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RingRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace dpx {

QString noRingDeviceMessage()
{
    return QCoreApplication::translate("RingFiles", "没有找到放音设备");
}

QString ringFileMissingMessage()
{
    return QCoreApplication::translate("RingFiles", "找不到鈴聲文件!");
}

QString RingFilePath(const QString &dataFolder, bool outsideLine)
{
    return QDir(dataFolder)
        .filePath(outsideLine ? QStringLiteral("co.mp3") : QStringLiteral("icm.mp3"));
}

bool IsRingDeviceEligible(const QString &description)
{
    static const QLatin1StringView excluded[] = {
        QLatin1StringView("Default "),     QLatin1StringView("default "),
        QLatin1StringView("DirectSound:"), QLatin1StringView("directSound:"),
        QLatin1StringView("ORVAN"),
    };
    for (const QLatin1StringView word : excluded) {
        if (description.contains(word, Qt::CaseSensitive))
            return false;
    }
    return true;
}

qsizetype FirstRingDevice(const QStringList &descriptions)
{
    for (qsizetype i = 0; i < descriptions.size(); ++i) {
        if (IsRingDeviceEligible(descriptions.at(i)))
            return i;
    }
    return -1;
}

RingDecision DecideRingRequest(bool outsideLine, bool stop, const QString &coRing,
                               const QString &icmRing, const QString &dataFolder)
{
    if (stop)
        return {RingAction::Stop, {}, {}};
    if ((outsideLine ? coRing : icmRing).isEmpty())
        return {};
    const QString path = RingFilePath(dataFolder, outsideLine);
    // A folder under the ring file's name is no ring file either.
    if (!QFileInfo(path).isFile())
        return {RingAction::ShowMessage, {}, ringFileMissingMessage()};
    return {RingAction::Play, path, {}};
}

} // namespace dpx
