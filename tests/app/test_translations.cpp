// SPDX-License-Identifier: GPL-3.0-or-later
// The English translation is complete: every text of src/ is in it (lupdate is run over the
// sources into a copy first, so a text added without running tools/update-translations fails
// here), none is unfinished or left over, none is empty, and the placeholders match.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <set>

class TranslationsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void englishIsComplete()
    {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("dpx_en.ts"));
        QVERIFY(QFile::copy(QStringLiteral(DPX_SOURCE_DIR "/translations/dpx_en.ts"), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(DPX_SOURCE_DIR));
        lupdate.start(QStringLiteral(DPX_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                       QStringLiteral("-source-language"), QStringLiteral("zh_TW"),
                       QStringLiteral("-target-language"), QStringLiteral("en"), QStringLiteral("-extensions"),
                       QStringLiteral("cpp,h"), QStringLiteral("src"), QStringLiteral("-ts"), copy});
        QVERIFY2(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0,
                 lupdate.readAllStandardError().constData());

        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList faults;
        QString context;
        QString source;
        int messages = 0;
        static const QRegularExpression placeholder(QStringLiteral("%(\\d+)"));
        const auto placeholders = [](const QString &text) {
            std::multiset<QString> found;
            for (const auto &match : placeholder.globalMatch(text))
                found.insert(match.captured(1));
            return found;
        };
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                const QString english = xml.readElementText();
                const QString where = context + QStringLiteral(": ") + source;
                if (type == QLatin1String("unfinished"))
                    faults << QStringLiteral("not translated (run tools/update-translations) - ") + where;
                else if (!type.isEmpty())
                    faults << type + QStringLiteral(" - ") + where;
                else if (english.trimmed().isEmpty())
                    faults << QStringLiteral("empty - ") + where;
                else if (placeholders(english) != placeholders(source))
                    faults << QStringLiteral("placeholders differ - ") + where;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 0);
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("\n") + faults.join(QStringLiteral("\n"))));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "test_translations.moc"
