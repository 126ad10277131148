// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DiagnosticLog.h"

#include <QDateTime>
#include <QFile>
#include <QLoggingCategory>

#include <mutex>

namespace dpx {

namespace {

// The message handler is process-wide, so is the file it writes to.
std::mutex logMutex;
QFile *logFile = nullptr;
QtMessageHandler previousHandler = nullptr;

const char *levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return "debug";
    case QtInfoMsg: return "info";
    case QtWarningMsg: return "warning";
    case QtCriticalMsg: return "critical";
    case QtFatalMsg: return "fatal";
    }
    return "?";
}

void writeToLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        std::lock_guard lock(logMutex);
        if (logFile) {
            const QString line = QStringLiteral("%1 %2 %3: %4\n")
                                     .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                                          QString::fromLatin1(context.category ? context.category : "default"),
                                          QString::fromLatin1(levelName(type)),
                                          DiagnosticLog::withNumbersMasked(message));
            logFile->write(line.toUtf8());
            logFile->flush();
        }
    }
    if (type == QtFatalMsg && previousHandler)
        previousHandler(type, context, message);
}

bool isSeparator(QChar c)
{
    return c == u' ' || c == u'-' || c == u'.' || c == u'(' || c == u')' || c == u'/';
}

} // namespace

DiagnosticLog::DiagnosticLog() = default;

DiagnosticLog::~DiagnosticLog()
{
    if (!m_active)
        return;
    qInstallMessageHandler(previousHandler);
    std::lock_guard lock(logMutex);
    delete logFile;
    logFile = nullptr;
}

bool DiagnosticLog::start(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        m_error = QStringLiteral("cannot write the log %1: %2").arg(path, file->errorString());
        return false;
    }
    {
        std::lock_guard lock(logMutex);
        delete logFile;
        logFile = file.release();
    }
    m_active = true;
    previousHandler = qInstallMessageHandler(writeToLog);
    QLoggingCategory::setFilterRules(QStringLiteral("dpx.*=true"));
    return true;
}

QString DiagnosticLog::withNumbersMasked(const QString &message)
{
    QString out = message;
    qsizetype i = 0;
    while (i < out.size()) {
        if (!out.at(i).isDigit()) {
            ++i;
            continue;
        }
        // Digits with up to three separators between them ("(02) 2345-6789"), and where
        // its digits are.
        QList<qsizetype> digits;
        qsizetype j = i;
        while (j < out.size()) {
            if (out.at(j).isDigit()) {
                digits.append(j++);
                continue;
            }
            qsizetype k = j;
            while (k < out.size() && k - j < 3 && isSeparator(out.at(k)))
                ++k;
            if (k == j || k >= out.size() || !out.at(k).isDigit())
                break;
            j = k;
        }
        if (digits.size() >= 5) {
            for (qsizetype k = 0; k + 4 < digits.size(); ++k)
                out[digits.at(k)] = u'*';
        }
        i = j;
    }
    return out;
}

} // namespace dpx
