// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options.h"

#include "app/Language.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>

namespace dpx {

Options Options::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("Options", "DPX - VKS 按鍵電話的桌面助手"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("Options", "顯示這份說明後結束。"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QCoreApplication::translate("Options", "顯示版本後結束。"));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QCoreApplication::translate("Options", "使用模擬電話機執行。"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QCoreApplication::translate("Options", "所有資料存放在 DIR。"),
                                     QStringLiteral("DIR"));
    const QCommandLineOption script(
        QStringLiteral("sim-script"),
        QCoreApplication::translate("Options", "執行電話操作腳本(同時啟用 --simulate)。"),
        QStringLiteral("FILE"));
    const QCommandLineOption dial(QStringLiteral("dial"),
                                  QCoreApplication::translate("Options", "用桌上電話撥打 NUMBER。"),
                                  QStringLiteral("NUMBER"));
    const QCommandLineOption traceHid(
        QStringLiteral("trace-hid"),
        QCoreApplication::translate("Options", "把與電話盒往來的每份報告寫入 FILE。"), QStringLiteral("FILE"));
    const QCommandLineOption replayHid(
        QStringLiteral("replay-hid"),
        QCoreApplication::translate("Options", "重播記錄檔 FILE 中電話盒的一方,並檢查 DPX 寫出的內容。"),
        QStringLiteral("FILE"));
    const QCommandLineOption replaySpeed(
        QStringLiteral("replay-speed"),
        QCoreApplication::translate("Options", "以記錄速度的 N 倍重播(預設 1)。"), QStringLiteral("N"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QCoreApplication::translate("Options", "把帶時間戳記的診斷訊息寫入 FILE。"),
                                 QStringLiteral("FILE"));
    const QCommandLineOption simEeprom(
        QStringLiteral("sim-eeprom"),
        QCoreApplication::translate("Options", "模擬電話盒的 EEPROM 存放在 FILE,4 MiB 的映像檔(同時啟用 --simulate)。"),
        QStringLiteral("FILE"));
    const QCommandLineOption backup(QStringLiteral("eeprom-backup"),
                                    QCoreApplication::translate("Options", "把電話盒的整個 EEPROM 存入 FILE(4 MiB)。"),
                                    QStringLiteral("FILE"));
    const QCommandLineOption restore(QStringLiteral("eeprom-restore"),
                                     QCoreApplication::translate("Options", "把 EEPROM 映像檔 FILE 寫回電話盒。"),
                                     QStringLiteral("FILE"));
    const QCommandLineOption loadRing(
        QStringLiteral("load-ring"),
        QCoreApplication::translate("Options", "把 FILE(.raw 或 16 kHz 單聲道 mu-law WAVE)載入 SLOT:0 = 鈴聲,1-5 = 音樂。可重複。"),
        QStringLiteral("SLOT=FILE"));
    const QCommandLineOption factory(QStringLiteral("factory-default"),
                                     QCoreApplication::translate("Options", "把出廠列表和六個出廠檔案寫入電話盒。"));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"),
                                      QCoreApplication::translate("Options", "寫入後不從電話盒讀回核對。"));
    const QCommandLineOption importContacts(
        QStringLiteral("import"),
        QCoreApplication::translate("Options", "從 vCard 或 CSV 檔案匯入聯絡人(FILE 及其後的檔案);已有的聯絡人略過。"),
        QStringLiteral("FILE"));
    const QCommandLineOption exportVCard(QStringLiteral("export-vcard"),
                                         QCoreApplication::translate("Options", "把所有聯絡人以 vCard 3.0 匯出到 FILE。"),
                                         QStringLiteral("FILE"));
    const QCommandLineOption convert(
        QStringLiteral("convert"),
        QCoreApplication::translate("Options", "把音檔 IN(WAV、MP3 ...)的一段轉成電話盒的 raw 格式:dpx --convert IN OUT.raw [--start M:SS] [--length SECONDS]。"),
        QStringLiteral("IN"));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QCoreApplication::translate("Options", "--convert 的起點(預設 0:00)。"),
                                   QStringLiteral("M:SS"));
    const QCommandLineOption length(QStringLiteral("length"),
                                    QCoreApplication::translate("Options", "--convert 擷取的秒數,最多 36(預設:到結尾,最多 36)。"),
                                    QStringLiteral("SECONDS"));
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QCoreApplication::translate("Options", "介面語言 LANG:zh_TW(繁體中文,預設)或 en(English)。"),
        QStringLiteral("LANG"));
    parser.addOptions({help, version, simulate, dataDir, language, script, dial, simEeprom, backup, restore,
                       loadRing, factory, noVerify, convert, start, length, traceHid, replayHid,
                       replaySpeed, log, importContacts, exportVCard});
    parser.addPositionalArgument(QStringLiteral("url"),
                                 QCoreApplication::translate("Options", "要撥打的 tel: 網址。"), QStringLiteral("[tel:NUMBER]"));

    Options options;
    // Help can be asked for before the application object exists, which names the program.
    options.helpText = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                 QStringLiteral("dpx"));
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (parser.isSet(language)) {
        options.language = Language::fromName(parser.value(language));
        if (options.language.isEmpty()) {
            options.error = Language::refusal(parser.value(language), QStringLiteral("--lang"));
            return options;
        }
    }
    options.showHelp = parser.isSet(help);
    options.showVersion = parser.isSet(version);
    options.simulate = parser.isSet(simulate) || parser.isSet(script) || parser.isSet(simEeprom);
    options.simEeprom = parser.value(simEeprom);
    options.eepromBackup = parser.value(backup);
    options.eepromRestore = parser.value(restore);
    options.factoryDefault = parser.isSet(factory);
    options.noVerify = parser.isSet(noVerify);
    for (const QString &value : parser.values(loadRing)) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        bool numeric = false;
        const int slot = equals > 0 ? value.left(equals).toInt(&numeric) : -1;
        if (!numeric || slot < 0 || slot > 5 || equals + 1 >= value.size()) {
            options.error = QCoreApplication::translate("Options", "--load-ring 需要 SLOT=FILE,SLOT 為 0(鈴聲)到 5:%1").arg(value);
            return options;
        }
        options.ringLoads.append({slot, value.mid(equals + 1)});
    }
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(convert)) {
        options.convertSource = parser.value(convert);
        if (positional.isEmpty() || positional.first().startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)
            || options.convertSource.isEmpty()) {
            options.error = QCoreApplication::translate("Options", "--convert 需要 IN 和 OUT:dpx --convert IN OUT.raw");
            return options;
        }
        options.convertTarget = positional.takeFirst();
        options.convertStart = parser.isSet(start) ? parseTime(parser.value(start)) : 0;
        bool numeric = !parser.isSet(length);
        if (parser.isSet(length))
            options.convertLength = parser.value(length).toDouble(&numeric);
        if (options.convertStart < 0) {
            options.error = QCoreApplication::translate("Options", "--start 需要 M:SS,例如 1:05:%1").arg(parser.value(start));
            return options;
        }
        if (!numeric || !(options.convertLength >= 0) || (parser.isSet(length) && !(options.convertLength > 0))
            || options.convertLength > 36) {
            options.error = QCoreApplication::translate("Options", "--length 需要大於 0、最多 36 的秒數:%1").arg(parser.value(length));
            return options;
        }
    } else if (parser.isSet(start) || parser.isSet(length)) {
        options.error = QCoreApplication::translate("Options", "--start 和 --length 只能與 --convert 一起使用。");
        return options;
    }
    options.importFiles = parser.values(importContacts);
    options.exportVCard = parser.value(exportVCard);
    if (!options.importFiles.isEmpty()) {
        // --import takes every file that follows it.
        for (const QString &arg : positional) {
            if (!arg.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
                options.importFiles.append(arg);
        }
    }
    options.importFiles.removeAll(QString());
    const int jobKinds = int(!options.eepromBackup.isEmpty()) + int(!options.eepromRestore.isEmpty())
        + int(!options.ringLoads.isEmpty()) + int(options.factoryDefault) + int(!options.convertSource.isEmpty())
        + int(parser.isSet(importContacts)) + int(parser.isSet(exportVCard));
    if (jobKinds > 1) {
        options.error = QCoreApplication::translate("Options", "--eeprom-backup、--eeprom-restore、--load-ring、--factory-default、--convert、--import 和 --export-vcard 一次只能選一個。");
        return options;
    }
    if (parser.isSet(backup) && options.eepromBackup.isEmpty())
        options.error = QCoreApplication::translate("Options", "--eeprom-backup 需要檔名。");
    if (parser.isSet(restore) && options.eepromRestore.isEmpty())
        options.error = QCoreApplication::translate("Options", "--eeprom-restore 需要檔名。");
    if (parser.isSet(importContacts) && options.importFiles.isEmpty())
        options.error = QCoreApplication::translate("Options", "--import 需要至少一個檔名。");
    if (parser.isSet(exportVCard) && options.exportVCard.isEmpty())
        options.error = QCoreApplication::translate("Options", "--export-vcard 需要檔名。");
    if (!options.error.isEmpty())
        return options;
    options.dataDir = parser.value(dataDir);
    options.simScript = parser.value(script);
    options.dialNumber = parser.value(dial);
    options.traceHid = parser.value(traceHid);
    options.replayHid = parser.value(replayHid);
    options.logFile = parser.value(log);
    if (parser.isSet(replaySpeed)) {
        bool ok = false;
        options.replaySpeed = parser.value(replaySpeed).toDouble(&ok);
        if (!ok || !(options.replaySpeed > 0) || options.replaySpeed > 1000) {
            options.error = QCoreApplication::translate("Options", "--replay-speed 需要大於 0 的數字(最多 1000)");
            return options;
        }
    }
    for (const QString &arg : positional) {
        if (arg.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)) {
            options.dialNumber = arg;
        } else if (!options.importFiles.contains(arg)) {
            options.error = QCoreApplication::translate("Options", "多餘的參數:%1").arg(arg);
            return options;
        }
    }
    return options;
}

QStringList Options::jobArguments() const
{
    const auto absolute = [](const QString &path) { return QFileInfo(path).absoluteFilePath(); };
    QStringList arguments;
    if (!eepromBackup.isEmpty())
        arguments << QStringLiteral("--eeprom-backup") << absolute(eepromBackup);
    if (!eepromRestore.isEmpty())
        arguments << QStringLiteral("--eeprom-restore") << absolute(eepromRestore);
    for (const RingLoad &load : ringLoads)
        arguments << QStringLiteral("--load-ring") << QStringLiteral("%1=%2").arg(load.slot).arg(absolute(load.path));
    if (factoryDefault)
        arguments << QStringLiteral("--factory-default");
    if (noVerify)
        arguments << QStringLiteral("--no-verify");
    if (!convertSource.isEmpty()) {
        arguments << QStringLiteral("--convert") << absolute(convertSource) << absolute(convertTarget)
                  << QStringLiteral("--start") << QString::number(convertStart, 'g', 17);
        if (convertLength > 0)
            arguments << QStringLiteral("--length") << QString::number(convertLength, 'g', 17);
    }
    for (const QString &file : importFiles)
        arguments << QStringLiteral("--import") << absolute(file);
    if (!exportVCard.isEmpty())
        arguments << QStringLiteral("--export-vcard") << absolute(exportVCard);
    return arguments;
}

double Options::parseTime(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() > 2 || parts.last().isEmpty())
        return -1;
    bool ok = true;
    const double seconds = parts.last().toDouble(&ok);
    if (!ok || !(seconds >= 0) || !std::isfinite(seconds))
        return -1;
    if (parts.size() == 1)
        return seconds;
    const int minutes = parts.first().toInt(&ok);
    if (!ok || minutes < 0 || seconds >= 60)
        return -1;
    return minutes * 60.0 + seconds;
}

bool Options::hasJob() const
{
    return !eepromBackup.isEmpty() || !eepromRestore.isEmpty() || !ringLoads.isEmpty() || factoryDefault
        || !convertSource.isEmpty() || !importFiles.isEmpty() || !exportVCard.isEmpty();
}

bool Options::usesBox() const
{
    return !eepromBackup.isEmpty() || !eepromRestore.isEmpty() || !ringLoads.isEmpty() || factoryDefault;
}

} // namespace dpx
