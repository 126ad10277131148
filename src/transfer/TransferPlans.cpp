// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferPlans.h"

#include "transfer/AudioSourceFile.h"
#include "transfer/EepromImage.h"
#include "transfer/InfoIni.h"
#include "transfer/InfoTable.h"
#include "transfer/TransferRun.h"
#include "transfer/TransferTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dpx::TransferPlans {

namespace {

PlanOrRefusal refuse(const QStringList &messages)
{
    PlanOrRefusal result;
    result.messages = messages;
    return result;
}

PlanOrRefusal accept(TransferPlan plan)
{
    PlanOrRefusal result;
    result.plan = std::move(plan);
    return result;
}

} // namespace

QStringList factoryFileNames()
{
    return {QStringLiteral("ALL.raw"), QStringLiteral("L01.raw"), QStringLiteral("L02.raw"),
            QStringLiteral("L03.raw"), QStringLiteral("L04.raw"), QStringLiteral("L05.raw")};
}

PlanOrRefusal slots(const QList<SlotJob> &jobs, bool verify)
{
    if (jobs.isEmpty())
        return refuse({transfer_text::noFileChecked()});
    for (const SlotJob &job : jobs) {
        if (job.slot < 0 || job.slot >= InfoTable::SlotCount)
            return refuse({QStringLiteral("Slot %1 does not exist (0 = ring, 1-5 = music).").arg(job.slot)});
        // Opened with no retries: a locked file is tried again by the worker itself.
        const AudioSourceFile source(job.path, 0, 0);
        if (!source.isOpen() && source.error() != QString::fromUtf8(AudioSourceFile::FileLocked))
            return refuse({source.error()});
    }
    TransferPlan plan;
    plan.kind = TransferPlan::Kind::Slots;
    plan.jobs = jobs;
    plan.verify = verify;
    return accept(plan);
}

std::optional<QByteArray> factoryTable(const QString &dataFolder, QStringList *messages)
{
    QFile file(QDir(dataFolder).filePath(QStringLiteral("info.ini")));
    if (!file.exists()) {
        messages->append(transfer_text::noInfoIni());
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        messages->append(QStringLiteral("%1 cannot be read: %2").arg(file.fileName(), file.errorString()));
        return std::nullopt;
    }
    const InfoIniResult parsed = parseInfoIni(file.read(64 * 1024));
    if (!parsed.ok()) {
        messages->append(parsed.error);
        return std::nullopt;
    }
    QByteArray bytes(256, char(0xFF));
    bytes.replace(0, parsed.entries.size(), parsed.entries);
    const InfoTable table(bytes);
    if (!table.hasValidLayout()) {
        messages->append(QStringLiteral("info.ini does not lay out the six slots: the music slots "
                                        "must start at blocks 3 <= B1 < B2 < B3 < B4 < B5 <= 63."));
        return std::nullopt;
    }
    return bytes;
}

PlanOrRefusal factoryDefault(const QString &dataFolder, bool verify)
{
    QStringList messages;
    const std::optional<QByteArray> table = factoryTable(dataFolder, &messages);
    if (!table)
        return refuse(messages);
    TransferPlan plan;
    plan.kind = TransferPlan::Kind::FactoryDefault;
    plan.factoryTable = *table;
    plan.verify = verify;
    const QStringList names = factoryFileNames();
    for (int slot = 0; slot < names.size(); ++slot) {
        const QString path = QDir(dataFolder).filePath(names.at(slot));
        if (!QFileInfo(path).isFile()) {
            // The message names the ring tone's file as "All.raw".
            const QString shown = slot == 0 ? QStringLiteral("All.raw") : names.at(slot);
            messages.append(transfer_text::factoryFileMissing(shown));
            continue;
        }
        plan.jobs.append({path, slot, names.at(slot)});
    }
    if (!messages.isEmpty()) {
        messages.append(transfer_text::factoryFilesLost());
        return refuse(messages);
    }
    return accept(plan);
}

PlanOrRefusal backup(const QString &imagePath)
{
    const QFileInfo target(imagePath);
    if (imagePath.isEmpty() || target.isDir() || !target.absoluteDir().exists())
        return refuse({QStringLiteral("%1: no folder to write the image into.").arg(imagePath)});
    TransferPlan plan;
    plan.kind = TransferPlan::Kind::Backup;
    plan.imagePath = target.absoluteFilePath();
    return accept(plan);
}

PlanOrRefusal restore(const QString &imagePath, bool verify)
{
    QString error;
    const QByteArray image = EepromImage::load(imagePath, &error);
    if (image.isEmpty())
        return refuse({error});
    const QString problem = EepromImage::problemWith(image);
    if (!problem.isEmpty())
        return refuse({QStringLiteral("%1: %2").arg(imagePath, problem)});
    TransferPlan plan;
    plan.kind = TransferPlan::Kind::Restore;
    plan.imagePath = imagePath;
    plan.image = image;
    plan.verify = verify;
    return accept(plan);
}

} // namespace dpx::TransferPlans
