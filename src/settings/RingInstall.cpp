// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RingInstall.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace dpx {

namespace {

QString copyFailedText(const QString &source, const QString &reason)
{
    return QCoreApplication::translate("RingFiles", "鈴聲文件複製失敗:") + source + u'\n' + reason;
}

} // namespace

QString ringFileMissingText(const QString &path)
{
    return QCoreApplication::translate("RingFiles", "找不到文件:") + path;
}

QString ringSourceProblem(const QString &path, const std::function<bool(const QString &)> &isAudio)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ringFileMissingText(path);
    if (!info.isFile()) // directories, FIFOs, devices, sockets
        return QCoreApplication::translate("RingFiles", "鈴聲文件必須是一般文件:") + path;
    if (info.size() > kMaxRingSourceBytes)
        return QCoreApplication::translate("RingFiles", "鈴聲文件太大 (最大 100 MiB):") + path;
    if (isAudio && !isAudio(path))
        return QCoreApplication::translate("RingFiles", "無法播放此鈴聲文件:") + path;
    return {};
}

struct RingInstall::Copy {
    explicit Copy(const QString &target) : file(target) {}
    QSaveFile file;
};

RingInstall::RingInstall() = default;

RingInstall::~RingInstall()
{
    for (auto &copy : m_copies)
        copy->file.cancelWriting();
}

bool RingInstall::stageCopy(const QString &source, const QString &target)
{
    m_error.clear();
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) {
        m_error = QFileInfo::exists(source) ? copyFailedText(source, in.errorString())
                                            : ringFileMissingText(source);
        return false;
    }
    auto copy = std::make_unique<Copy>(target);
    // Never write through the target: a failed copy must leave the old ring as it was.
    copy->file.setDirectWriteFallback(false);
    if (!copy->file.open(QIODevice::WriteOnly)) {
        m_error = copyFailedText(source, copy->file.errorString());
        return false;
    }
    QByteArray chunk;
    qint64 total = 0;
    while (!(chunk = in.read(1 << 16)).isEmpty()) {
        total += chunk.size();
        if (total > kMaxRingSourceBytes) {
            copy->file.cancelWriting();
            m_error = copyFailedText(source, QStringLiteral("> 100 MiB"));
            return false;
        }
        if (copy->file.write(chunk) != chunk.size()) {
            m_error = copyFailedText(source, copy->file.errorString());
            copy->file.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        m_error = copyFailedText(source, in.errorString());
        copy->file.cancelWriting();
        return false;
    }
    m_copies.push_back(std::move(copy));
    return true;
}

void RingInstall::stageRemoval(const QString &target)
{
    if (QFileInfo::exists(target))
        m_removals.append(target);
}

bool RingInstall::commit()
{
    m_error.clear();
    for (auto &copy : m_copies)
        if (!copy->file.commit() && m_error.isEmpty())
            m_error = copyFailedText(copy->file.fileName(), copy->file.errorString());
    m_copies.clear();
    for (const QString &target : std::as_const(m_removals)) {
        QFile file(target);
        if (!file.remove() && m_error.isEmpty())
            m_error = file.fileName() + u'\n' + file.errorString();
    }
    m_removals.clear();
    return m_error.isEmpty();
}

} // namespace dpx
