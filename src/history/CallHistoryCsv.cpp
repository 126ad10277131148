// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/CallHistoryCsv.h"

#include "history/CallHistoryModel.h"

#include <QSaveFile>

namespace dpx {

QString csvField(const QString &text, bool guardFormula)
{
    QString field = text;
    if (guardFormula && !field.isEmpty()
        && QStringLiteral("=+-@\t\r").contains(field.front()))
        field.prepend(u'\'');
    const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\n')
        || field.contains(u'\r') || field.startsWith(u' ') || field.endsWith(u' ');
    if (!quote)
        return field;
    field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QByteArray callHistoryCsv(const QList<CallRecord> &calls, const QStringList &names)
{
    static const QStringList header{QStringLiteral("時間"), QStringLiteral("姓名"),
                                    QStringLiteral("電話號碼"), QStringLiteral("類型"),
                                    QStringLiteral("結果"), QStringLiteral("通話秒數"),
                                    QStringLiteral("中斷")};
    QString text = header.join(u',') + QStringLiteral("\r\n");
    for (qsizetype i = 0; i < calls.size(); ++i) {
        const CallRecord &call = calls.at(i);
        const QDateTime local = call.started.toLocalTime();
        const QStringList fields{
            local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate),
            csvField(names.value(i, call.name), true),
            csvField(call.number, true),
            CallHistoryModel::resultText(call),
            call.resultName(),
            QString::number(call.talkSeconds),
            call.interrupted ? QStringLiteral("1") : QStringLiteral("0"),
        };
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeCallHistoryCsv(const QString &path, const QByteArray &csv, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace dpx
