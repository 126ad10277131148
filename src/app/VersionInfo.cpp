// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VersionInfo.h"

#include "audio/AudioLibraries.h"
#include "device/HidapiTransport.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace dpx {

namespace {

// The SQLite library the Qt driver was loaded with, asked through an in-memory database.
QString sqliteVersion()
{
    const QString connection = QStringLiteral("dpx-version");
    QString version = QStringLiteral("not available (no QSQLITE driver)");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select sqlite_version()")) && query.next())
                version = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return version;
}

} // namespace

QString programVersion()
{
    return QStringLiteral("DPX " DPX_VERSION);
}

QString versionReport()
{
    QString qt = QString::fromLatin1(qVersion());
    if (qt != QLatin1String(QT_VERSION_STR))
        qt += QStringLiteral(" (built with " QT_VERSION_STR ")");
    return QStringLiteral("%1 (VKSDPX.F01(N))\n"
                          "Qt %2\n"
                          "hidapi %3\n"
                          "SQLite %4\n"
                          "%5\n"
                          "%6\n")
        .arg(programVersion(), qt, HidapiTransport::libraryVersion(), sqliteVersion(),
             soundFileLibraryVersion(), resamplerLibraryVersion());
}

} // namespace dpx
