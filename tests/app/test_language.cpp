// SPDX-License-Identifier: GPL-3.0-or-later
// The language core: names, the kept choice, the start's choice and loading the translation.
#include "app/Language.h"
#include "../support/TestFiles.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

class LanguageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en" << "en";
        QTest::newRow("upper case") << "EN" << "en";
        QTest::newRow("spaces") << " en " << "en";
        QTest::newRow("zh_TW") << "zh_TW" << "zh_TW";
        QTest::newRow("hyphen, lower case") << "zh-tw" << "zh_TW";
        QTest::newRow("other language") << "fr" << "";
        QTest::newRow("region of English") << "en_US" << "";
        QTest::newRow("empty") << "" << "";
    }
    void names()
    {
        QFETCH(QString, given);
        QFETCH(QString, language);
        QCOMPARE(Language::fromName(given), language);
    }

    void refusalListsTheLanguages()
    {
        const QString text = Language::refusal(QStringLiteral("fr"), QStringLiteral("--lang"));
        QVERIFY(text.contains(QStringLiteral("\"fr\"")));
        for (const QString &name : Language::names())
            QVERIFY2(text.contains(name), qPrintable(text));
    }

    void keptChoice_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("language");
        QTest::newRow("nothing kept") << QVariant() << "zh_TW";
        QTest::newRow("English") << QVariant(QStringLiteral("en")) << "en";
        QTest::newRow("unknown name") << QVariant(QStringLiteral("klingon")) << "zh_TW";
        QTest::newRow("a list") << QVariant(QStringList{QStringLiteral("en"), QStringLiteral("x")}) << "zh_TW";
        QTest::newRow("a number") << QVariant(7) << "zh_TW";
    }
    void keptChoice()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, language);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dpx.conf"));
        {
            QSettings settings(path, QSettings::IniFormat);
            if (stored.isValid())
                settings.setValue(QLatin1String(Language::SettingsKey), stored);
        }
        QCOMPARE(Language::saved(QSettings(path, QSettings::IniFormat)), language);
    }

    void damagedSettingsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dpx.conf"));
        QVERIFY(test::writeFile(path, "\xff\xfe[General\nlanguage=\x01\x02\nlanguage"));
        QCOMPARE(Language::saved(QSettings(path, QSettings::IniFormat)), QStringLiteral("zh_TW"));
    }

    void startChoice_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("problem");
        QTest::newRow("the option wins") << "zh_TW" << "en" << "en" << "zh_TW" << false;
        QTest::newRow("then the environment") << "" << "en" << "zh_TW" << "en" << false;
        QTest::newRow("then the kept choice") << "" << "" << "en" << "en" << false;
        QTest::newRow("unknown environment") << "" << "xx" << "en" << "en" << true;
        QTest::newRow("nothing at all") << "" << "" << "" << "zh_TW" << false;
    }
    void startChoice()
    {
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QString, kept);
        QFETCH(QString, language);
        QFETCH(bool, problem);
        QString why;
        QCOMPARE(Language::forStart(option, environment, kept, &why), language);
        QCOMPARE(!why.isEmpty(), problem);
        if (problem)
            QVERIFY(why.contains(QStringLiteral("DPX_LANG")) && why.contains(QStringLiteral("en")));
    }

    void switchesBackAndForth()
    {
        LanguageSwitcher switcher;
        QSignalSpy changed(&switcher, &LanguageSwitcher::changed);
        const auto folder = [] { return QCoreApplication::translate("dpx::MainPhoneWindow", "工具"); };
        QCOMPARE(folder(), QStringLiteral("工具"));
        QVERIFY(switcher.apply(QStringLiteral("en")));
        QCOMPARE(switcher.current(), QStringLiteral("en"));
        QCOMPARE(folder(), QStringLiteral("Tools"));
        QVERIFY(switcher.apply(QStringLiteral("en"))); // no change: no signal
        QVERIFY(switcher.apply(QStringLiteral("zh_TW")));
        QCOMPARE(folder(), QStringLiteral("工具"));
        QCOMPARE(changed.count(), 2);
        QVERIFY(switcher.problem().isEmpty());
    }

    void brokenTranslationFallsBack_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("corrupt") << QByteArray("not a translation at all, just bytes\x00\x01", 39);
        QTest::newRow("truncated header") << QByteArray("\x3c\xb8\x64\x18\xca\xef\x9c\x95", 8);
    }
    void brokenTranslationFallsBack()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        if (!contents.isEmpty())
            QVERIFY(test::writeFile(dir.filePath(QStringLiteral("dpx_en.qm")), contents));
        LanguageSwitcher switcher(dir.path());
        QSignalSpy changed(&switcher, &LanguageSwitcher::changed);
        QVERIFY(!switcher.apply(QStringLiteral("en")));
        QCOMPARE(switcher.current(), QStringLiteral("zh_TW"));
        QVERIFY(!switcher.problem().isEmpty());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(QCoreApplication::translate("dpx::MainPhoneWindow", "工具"), QStringLiteral("工具"));
    }
};

QTEST_GUILESS_MAIN(LanguageTest)
#include "test_language.moc"
