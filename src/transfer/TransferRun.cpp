// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferRun.h"

#include "device/UsbHidDevice.h"
#include "transfer/AudioSourceFile.h"
#include "transfer/EepromLayout.h"
#include "transfer/TransferTexts.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>

namespace dpx {

namespace text = transfer_text;
using Result = EepromLink::Result;

namespace {

constexpr int DisplayNameLimit = 22; // bytes; longer names are cut to 23 bytes and "..."
constexpr int JobStatusBytes = 24;

int blocksFor(qint64 bytes)
{
    return int((bytes + eeprom::BlockSize - 1) / eeprom::BlockSize);
}

qsizetype firstDifference(const QByteArray &a, const QByteArray &b)
{
    const qsizetype count = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (a.at(i) != b.at(i))
            return i;
    }
    return a.size() == b.size() ? -1 : count;
}

} // namespace

TransferRun::TransferRun(UsbHidDevice &device, const std::atomic_bool &abort, TransferReport report)
    : m_device(device)
    , m_link(device, abort)
    , m_report(std::move(report))
{
}

QString TransferRun::cutUtf8(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size();
        const int width = pair ? 4 : int(QStringView(text).mid(end, 1).toUtf8().size());
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

QString TransferRun::displayName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (name.toUtf8().size() <= DisplayNameLimit)
        return name;
    return cutUtf8(name, DisplayNameLimit + 1) + QStringLiteral("...");
}

void TransferRun::status(const QString &text)
{
    if (m_report.status)
        m_report.status(text);
}

void TransferRun::fail(TransferOutcome *outcome, const QString &message, bool alsoStatus)
{
    outcome->ok = false;
    outcome->message = message;
    if (m_report.message)
        m_report.message(message);
    if (alsoStatus)
        status(message);
}

void TransferRun::progress(TransferProgress::Phase phase, const QString &name, qint64 done, qint64 total)
{
    if (m_report.progress)
        m_report.progress({phase, name, done, total});
}

TransferOutcome TransferRun::run(const TransferPlan &plan)
{
    TransferOutcome outcome;
    m_haveTable = false;
    if (!m_device.IsOpen() && m_device.Open() != 0) {
        fail(&outcome, text::openFailed());
        return outcome;
    }
    bool eepromOn = false;
    Result result = m_link.linkOn();
    if (result == Result::Ok && plan.kind == TransferPlan::Kind::FactoryDefault) {
        status(text::writingTable());
        result = m_link.writeInfoTable(plan.factoryTable);
        if (result == Result::Ok) {
            m_table = InfoTable(plan.factoryTable);
            m_haveTable = true;
            status(text::tableWritten());
        } else if (result != Result::Aborted) {
            fail(&outcome, text::tableWriteFailed());
        }
    } else if (result == Result::Failed || result == Result::Gone) {
        fail(&outcome, text::linkFailed());
    }
    if (result == Result::Ok) {
        status(text::startInit());
        result = m_link.eepromOn();
        eepromOn = result == Result::Ok;
        if (result == Result::Failed || result == Result::Gone)
            fail(&outcome, text::usbError(), false);
    }
    if (result == Result::Ok) {
        switch (plan.kind) {
        case TransferPlan::Kind::Slots:
        case TransferPlan::Kind::FactoryDefault:
            result = writeSlots(plan, &outcome);
            break;
        case TransferPlan::Kind::Backup:
            result = backup(plan, &outcome);
            break;
        case TransferPlan::Kind::Restore:
            result = restore(plan, &outcome);
            break;
        }
    }
    outcome.cancelled = result == Result::Aborted;
    outcome.ok = result == Result::Ok && outcome.message.isEmpty();

    // Clean-up on every path, once, whatever was asked meanwhile.
    m_link.setIgnoreAbort(true);
    if (result != Result::Gone) {
        if (eepromOn) {
            status(text::eepromOffText());
            m_link.eepromOff();
        }
        m_link.linkOff();
    }
    m_link.setIgnoreAbort(false);
    m_device.Close();
    return outcome;
}

Result TransferRun::writeSlots(const TransferPlan &plan, TransferOutcome *outcome)
{
    for (const SlotJob &job : plan.jobs) {
        const QString name = job.displayName.isEmpty() ? displayName(job.path) : job.displayName;
        status(cutUtf8(name, JobStatusBytes) + QStringLiteral("....."));
        switch (transferFile(job, name, plan.verify, outcome)) {
        case FileResult::Ok:
            continue;
        case FileResult::Aborted:
            return Result::Aborted;
        case FileResult::Reported:
            return Result::Failed;
        case FileResult::Gone:
            fail(outcome, text::fileFailed(name));
            return Result::Gone;
        case FileResult::Failed:
            fail(outcome, text::fileFailed(name));
            return Result::Failed;
        }
    }
    return Result::Ok;
}

TransferRun::FileResult TransferRun::loadTable(const QString &name, TransferOutcome *outcome)
{
    if (m_haveTable)
        return FileResult::Ok; // read (or written) earlier in this run
    QByteArray staging;
    Result result = Result::Failed;
    for (int attempt = 0; attempt < m_link.limits().tableReadAttempts; ++attempt) {
        if (attempt > 0) {
            const QDeadlineTimer pause(m_link.limits().tableReadPauseMs);
            while (!pause.hasExpired() && !m_link.abortRequested())
                QThread::msleep(ulong(std::min<qint64>(pause.remainingTime(), EepromLink::SliceMs)));
        }
        if (m_link.abortRequested())
            return FileResult::Aborted;
        status(name + QStringLiteral(";") + text::readingTable());
        result = m_link.readInfoTable(&staging);
        if (result == Result::Ok || result == Result::Aborted || result == Result::Gone)
            break;
    }
    if (result == Result::Aborted)
        return FileResult::Aborted;
    if (result == Result::Gone)
        return FileResult::Gone;
    if (result != Result::Ok) {
        fail(outcome, text::tableReadFailed(), false);
        status(name + QStringLiteral(";") + text::tableReadFailedStatus());
        return FileResult::Reported;
    }
    const InfoTable table(staging);
    if (!table.isInitialized()) {
        fail(outcome, text::tableNotInitialized(), false);
        status(name + QStringLiteral(";") + text::tableNotInitializedStatus());
        return FileResult::Reported;
    }
    m_table = table;
    m_haveTable = true;
    return FileResult::Ok;
}

TransferRun::FileResult TransferRun::transferFile(const SlotJob &job, const QString &name,
                                                  bool verify, TransferOutcome *outcome)
{
    // Everything about the file is settled before the region is touched.
    AudioSourceFile source(job.path, AudioSourceFile::DefaultOpenRetries, AudioSourceFile::DefaultRetryPauseMs,
                           [this] { return m_link.abortRequested(); });
    if (source.wasCancelled())
        return FileResult::Aborted;
    if (!source.isOpen()) {
        fail(outcome, source.error(), false);
        return FileResult::Reported;
    }
    if (source.dataLength() <= 0)
        return FileResult::Failed;
    if (job.slot < 0 || job.slot >= InfoTable::SlotCount)
        return FileResult::Failed;
    const FileResult tableResult = loadTable(name, outcome);
    if (tableResult != FileResult::Ok)
        return tableResult;
    const std::optional<SlotRegion> region = m_table.region(job.slot);
    if (!region) {
        fail(outcome, QStringLiteral("The box's info table does not lay out the six slots: "
                                     "write the factory table first."), false);
        return FileResult::Reported;
    }
    const qint64 length = std::min<qint64>(source.dataLength(), region->usableBytes());
    const QByteArray data = source.readHead(length);
    source.close();
    if (data.size() != length)
        return FileResult::Failed;

    Result result = eraseBlocks(region->firstBlock, region->blockCount, name);
    const int pages = int((length + eeprom::PageSize - 1) / eeprom::PageSize);
    if (result == Result::Ok)
        result = writeVerified(region->firstBlock, data, name, verify, true);
    if (job.slot > 0 && result != Result::Gone) {
        // The entry states what the region holds: the pages written (and read back), else none.
        m_table.setMusicLength(job.slot, result == Result::Ok ? pages : 0);
        if (result == Result::Ok)
            status(name + QStringLiteral(";") + text::updatingTable());
        m_link.setIgnoreAbort(result == Result::Aborted);
        const Result tableResult = m_link.writeInfoTable(m_table.bytes());
        m_link.setIgnoreAbort(false);
        if (result == Result::Ok && tableResult != Result::Ok)
            result = tableResult == Result::Aborted ? Result::Aborted : Result::Failed;
    }
    switch (result) {
    case Result::Ok:
        status(QString());
        return FileResult::Ok;
    case Result::Aborted:
        return FileResult::Aborted;
    case Result::Gone:
        return FileResult::Gone;
    case Result::Failed:
        break;
    }
    return FileResult::Failed;
}

Result TransferRun::eraseBlocks(int first, int count, const QString &name)
{
    status(name + QStringLiteral(";") + text::erasing());
    for (int i = 0; i < count; ++i) {
        const Result result = m_link.eraseBlock(first + i);
        if (result != Result::Ok)
            return result;
        progress(TransferProgress::Phase::Erase, name, i + 1, count);
    }
    return Result::Ok;
}

Result TransferRun::writeVerified(int firstBlock, const QByteArray &data, const QString &name,
                                  bool verify, bool showPercent)
{
    const qint64 total = data.size();
    qint64 from = 0; // the part written last, a multiple of the block size
    for (int pass = 0;; ++pass) {
        const QByteArray part = data.mid(from);
        Result result = m_link.writeFrom(firstBlock + int(from / eeprom::BlockSize), part,
                                         [&](qint64 done) {
                                             const qint64 sent = from + done;
                                             if (showPercent)
                                                 status(name + QStringLiteral(";")
                                                        + text::progress(int(sent * 100 / total)));
                                             progress(TransferProgress::Phase::Write, name, sent, total);
                                         });
        // A refused write is read back as well: a block the box stored twice (its reply was
        // lost) pushes the last ones past the page count, and the read finds where.
        if (!verify || (result != Result::Ok && result != Result::Failed) || (result == Result::Failed && pass > 0))
            return result;
        QByteArray back;
        result = m_link.readFrom(firstBlock + int(from / eeprom::BlockSize), int(part.size()), &back,
                                 [&](qint64 done) {
                                     progress(TransferProgress::Phase::Verify, name, from + done, total);
                                 });
        if (result != Result::Ok)
            return result;
        const qsizetype difference = firstDifference(part, back);
        if (difference < 0)
            return Result::Ok;
        if (pass > 0)
            return Result::Failed;
        const int differingBlock = int((from + difference) / eeprom::BlockSize);
        from = qint64(differingBlock) * eeprom::BlockSize;
        result = eraseBlocks(firstBlock + differingBlock, blocksFor(total) - differingBlock, name);
        if (result != Result::Ok)
            return result;
    }
}

Result TransferRun::backup(const TransferPlan &plan, TransferOutcome *outcome)
{
    const QString name = QFileInfo(plan.imagePath).fileName();
    QByteArray image;
    image.reserve(eeprom::ImageSize);
    for (int block = 0; block < eeprom::BlockCount; ++block) {
        QByteArray bytes;
        const Result result = m_link.readFrom(block, eeprom::BlockSize, &bytes);
        if (result != Result::Ok) {
            if (result != Result::Aborted)
                fail(outcome, QStringLiteral("Reading block %1 of the box failed.").arg(block));
            return result;
        }
        image.append(bytes);
        progress(TransferProgress::Phase::Read, name, image.size(), eeprom::ImageSize);
    }
    QSaveFile file(plan.imagePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        fail(outcome, QStringLiteral("%1 cannot be written: %2").arg(plan.imagePath, file.errorString()));
        return Result::Failed;
    }
    return Result::Ok;
}

Result TransferRun::restore(const TransferPlan &plan, TransferOutcome *outcome)
{
    const QString name = QFileInfo(plan.imagePath).fileName();
    for (int block = eeprom::TableBlock; block < eeprom::BlockCount; ++block) {
        QByteArray bytes = plan.image.mid(qsizetype(block) * eeprom::BlockSize, eeprom::BlockSize);
        // Erased pages at the end of a block stay as the erase leaves them.
        qsizetype used = bytes.size();
        while (used > 0 && quint8(bytes.at(used - 1)) == 0xFF)
            --used;
        bytes.truncate((used + eeprom::PageSize - 1) / eeprom::PageSize * eeprom::PageSize);
        Result result = m_link.eraseBlock(block);
        if (result == Result::Ok && !bytes.isEmpty())
            result = writeVerified(block, bytes, name, plan.verify, false);
        if (result != Result::Ok) {
            if (result != Result::Aborted)
                fail(outcome, QStringLiteral("Writing block %1 of the box failed.").arg(block));
            return result;
        }
        progress(TransferProgress::Phase::Write, name, qint64(block + 1) * eeprom::BlockSize,
                 eeprom::ImageSize);
    }
    return Result::Ok;
}

} // namespace dpx
