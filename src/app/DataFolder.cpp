// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolder.h"

#include "addressbook/AddressSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace dpx {

QString DataFolder::choose(const QString &commandLineDir, const QString &environmentDir,
                           const QString &executableDir, const QString &userDataDir)
{
    if (!commandLineDir.isEmpty())
        return QDir::cleanPath(QDir(commandLineDir).absolutePath());
    if (!environmentDir.isEmpty())
        return QDir::cleanPath(QDir(environmentDir).absolutePath());
    if (!executableDir.isEmpty() && QFileInfo::exists(executableDir + QStringLiteral("/portable")))
        return QDir::cleanPath(executableDir);
    return QDir::cleanPath(userDataDir);
}

DataFolder::DataFolder(QString path) : m_path(std::move(path)) {}

DataFolder::~DataFolder() = default;

QString DataFolder::filePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}

QString DataFolder::databasePath() const
{
    return filePath(QLatin1String(DatabaseFileName));
}

QString DataFolder::pictureFolder() const
{
    return filePath(QLatin1String(PictureFolderName)) + QLatin1Char('/');
}

bool DataFolder::prepare()
{
    m_error.clear();
    QDir dir(m_path);
    if (!dir.mkpath(QStringLiteral("."))
        || !dir.mkpath(QLatin1String(PictureFolderName))) {
        m_error = QStringLiteral("The data folder %1 cannot be created.").arg(m_path);
        return false;
    }
    // A probe file tells a read-only folder apart from one we can keep data in.
    QFile probe(filePath(QStringLiteral(".dpx-write-test")));
    if (!probe.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("The data folder %1 is not writable.").arg(m_path);
        return false;
    }
    probe.close();
    probe.remove();

    if (!QFileInfo::exists(databasePath())) {
        QString dbError;
        if (!createAddressDatabase(databasePath(), &dbError)) {
            m_error = QStringLiteral("The address database cannot be created: %1").arg(dbError);
            return false;
        }
    }
    // The six factory audio files the factory default writes into the box.
    for (const char *name : {"ALL.raw", "L01.raw", "L02.raw", "L03.raw", "L04.raw", "L05.raw"}) {
        if (!seed(QStringLiteral(":/defaults/") + QLatin1String(name), QLatin1String(name)))
            return false;
    }
    return seed(QStringLiteral(":/defaults/info.ini"), QStringLiteral("info.ini"))
        && seed(QStringLiteral(":/defaults/Default.bmp"),
                QLatin1String(PictureFolderName) + QStringLiteral("/Default.bmp"));
}

bool DataFolder::seed(const QString &resource, const QString &name)
{
    const QString target = filePath(name);
    if (QFileInfo::exists(target))
        return true;
    // Copy through a temporary name so a half-written default never looks complete.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(resource, partial) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        m_error = QStringLiteral("The default file %1 cannot be written.").arg(target);
        return false;
    }
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                      | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}

QString DataFolder::workFolder()
{
    if (!m_work) {
        m_work = std::make_unique<QTemporaryDir>(
            QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                .filePath(QStringLiteral("dpx-XXXXXX")));
        if (!m_work->isValid())
            return {};
    }
    return m_work->isValid() ? m_work->path() : QString();
}

} // namespace dpx
