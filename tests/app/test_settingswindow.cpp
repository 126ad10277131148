// SPDX-License-Identifier: GPL-3.0-or-later
// The phone settings window on a running main window, the Skin menu and the looks.

#include "../audio/AudioTestSupport.h"

#include "app/ChatClientLocator.h"
#include "app/FolderCommand.h"
#include "app/ToolWindows.h"
#include "ui/FolderBar.h"
#include "phone/KeyCodes.h"
#include "settings/PhoneSettingsWindow.h"
#include "settings/SkinMenu.h"
#include "settings/SkinTable.h"
#include "settings/ThemeColours.h"
#include "settings/Themes.h"
#include "audio/RingTonePlayer.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

using namespace dpx;

#include "PhoneFixture.h"

namespace {

PhoneSettingsWindow *openSettings(Phone &phone)
{
    return qobject_cast<PhoneSettingsWindow *>(phone.window->toolWindows().open(ToolWindow::Settings));
}

template <class W> W *child(QWidget *window, const char *name)
{
    return window->findChild<W *>(QLatin1String(name));
}

// WCAG relative luminance and contrast ratio.
double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A key whose code differs between the two telephone types.
int keyWithTypeSpecificCode()
{
    for (int key = FirstKeyNumber; key <= LastKeyNumber; ++key) {
        const int dx = keyCode7(key, PhoneType::DX), sd = keyCode7(key, PhoneType::SD);
        if (dx >= 0 && sd >= 0 && dx != sd)
            return key;
    }
    return -1;
}

QString storedColumn(Phone &phone, const char *column)
{
    const PhoneSettings row = phone.db->ReadSettingsRow();
    const QByteArray name(column);
    if (name == "phonetype")
        return row.phoneType == PhoneType::DX ? QStringLiteral("DX") : QStringLiteral("SD");
    if (name == "linecode")
        return row.lineCode;
    return row.coRing;
}

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnceOverTheTelephone()
    {
        Phone phone;
        phone.window->move(40, 30);
        PhoneSettingsWindow *window = openSettings(phone);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("話機設定"));
        QCOMPARE(window->pos(), QPoint(40, 30 + 155));
        QCOMPARE(openSettings(phone), window); // a second click brings it forward
        // The seed row: caller card shown, DX, code "0".
        QVERIFY(child<QRadioButton>(window, "showCallerCard")->isChecked());
        QVERIFY(child<QRadioButton>(window, "phoneTypeDx")->isChecked());
        QCOMPARE(child<QLineEdit>(window, "lineCode")->text(), QStringLiteral("0"));
    }

    void typeOnlySaveReachesTheTelephone()
    {
        Phone phone;
        QTRY_VERIFY(phone.listening->size() > 0);
        PhoneSettingsWindow *window = openSettings(phone);
        QTest::mouseClick(child<QRadioButton>(window, "phoneTypeSd"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(window, "save"), Qt::LeftButton);

        QTRY_VERIFY(!phone.window->toolWindows().isOpen(ToolWindow::Settings));
        QCOMPARE(storedColumn(phone, "phonetype"), QStringLiteral("SD"));
        QCOMPARE(storedColumn(phone, "linecode"), QStringLiteral("0"));
        QVERIFY(!phone.window->isDxPhone());

        const int key = keyWithTypeSpecificCode();
        QVERIFY(key > 0);
        phone.window->PressKey(key);
        QByteArray sd;
        sd.append(char(KeyPressCommand)).append(char(withEvenParity(quint8(keyCode7(key, PhoneType::SD)))));
        QTRY_VERIFY2(phone.box.lastOutputReport().contains(sd), phone.box.lastOutputReport().toHex().constData());
    }

    void lineCodeTypedAndPasted()
    {
        Phone phone(false);
        PhoneSettingsWindow *window = openSettings(phone);
        QLineEdit *code = child<QLineEdit>(window, "lineCode");
        code->selectAll();
        QTest::keyClicks(code, QStringLiteral("12x3P4p5678")); // the x and the ninth are refused
        QCOMPARE(code->text(), QStringLiteral("123P4p56"));
        QTest::keyClick(code, Qt::Key_Backspace); // still works at eight
        QCOMPARE(code->text(), QStringLiteral("123P4p5"));
        QApplication::clipboard()->setText(QStringLiteral("ab9"));
        code->paste();
        QCOMPARE(code->text(), QStringLiteral("123P4p5"));
        QApplication::clipboard()->setText(QStringLiteral("9ab"));
        code->paste(); // at most the digit gets in, never the letters
        QVERIFY(isValidLineCode(code->text()));
        code->clear();
        QVERIFY(window->save());
        QCOMPARE(storedColumn(phone, "linecode"), QStringLiteral("0"));
    }

    void refusedRingAndFailedSaveKeepTheEntries()
    {
        Phone phone(false);
        PhoneSettingsWindow *window = openSettings(phone);
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("notes.mp3"));
        QVERIFY(test::writeFile(text, "not a sound"));
        QVERIFY(!window->chooseRing(RingKind::Co, text));
        QVERIFY(phone.window->lastMessage().startsWith(QStringLiteral("無法播放此鈴聲文件:")));
        QCOMPARE(child<QLineEdit>(window, "coRing")->text(), QString());

        const QString wav = dir.filePath(QStringLiteral("Don't.wav"));
        QVERIFY(dpx::test::writeTone(wav, 0.2, 8000, 1));
        QVERIFY(window->chooseRing(RingKind::Co, wav));
        child<QLineEdit>(window, "lineCode")->setText(QStringLiteral("7"));
        phone.db->Close(); // the database goes away before the save
        QVERIFY(!window->save());
        QVERIFY(window->isVisible());
        QCOMPARE(child<QLineEdit>(window, "coRing")->text(), wav);
        QCOMPARE(window->draft().current().lineCode, QStringLiteral("7"));
        QVERIFY(!QFile::exists(phone.data.filePath(QStringLiteral("co.mp3"))));
        QVERIFY(phone.db->Open());
        QVERIFY(window->save());
        QCOMPARE(storedColumn(phone, "coring"), wav);
        QVERIFY(QFile::exists(phone.data.filePath(QStringLiteral("co.mp3"))));
    }

    // An installed WAV rings under its fixed name; a new choice stops the playing ring before
    // it replaces the file.
    void installedWavRingsAndIsReplacedWhilePlaying()
    {
        REQUIRE_TEST_SERVER();
        Phone phone(false);
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.wav"));
        const QString second = dir.filePath(QStringLiteral("second.wav"));
        QVERIFY(dpx::test::writeTone(first, 10.0, 22050, 1));
        QVERIFY(dpx::test::writeTone(second, 1.0, 8000, 1));
        PhoneSettingsWindow *window = openSettings(phone);
        QVERIFY(window->chooseRing(RingKind::Co, first));
        QVERIFY(window->save());
        const QString installed = phone.data.filePath(QStringLiteral("co.mp3"));
        QCOMPARE(dpx::test::openFileCount(installed), 0);
        RingTonePlayer &player = phone.window->ringPlayer();
        QVERIFY(player.Play(installed));
        QTRY_COMPARE(dpx::test::ownSinkInputs().size(), 1);
        QVERIFY(player.holdsFile());

        window = openSettings(phone);
        QVERIFY(window->chooseRing(RingKind::Co, second));
        QVERIFY(window->save());
        QVERIFY(!player.holdsFile());
        QCOMPARE(test::fileBytes(installed), test::fileBytes(second));
        QTRY_COMPARE(dpx::test::ownSinkInputs().size(), 0);
    }

    void skinChoiceReachesOpenAndNewWindows()
    {
        Phone phone(false);
        Themes::apply(kStartupSkin);
        PhoneSettingsWindow *window = openSettings(phone);
        auto *menu = qobject_cast<SkinMenu *>(phone.window->toolWindows().open(ToolWindow::SkinMenu));
        QVERIFY(menu);
        QCOMPARE(menu->checkedValue(), 0); // the seed row
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << action->text();
        QCOMPARE(texts.join(u' '), QStringLiteral("XPblue Corona Kromo XPgrean XPplus XPsteel Devior"));

        menu->actions().at(2)->trigger(); // "Kromo"
        QCOMPARE(phone.db->ReadSettingsRow().skin, 2);
        QCOMPARE(menu->checkedValue(), 2);
        const QColor kromo = QColor::fromRgb(themeColours()[2].window);
        QCOMPARE(window->palette().color(QPalette::Window), kromo);
        // Labels on the window's bitmap stay black in every look.
        QCOMPARE(child<QRadioButton>(window, "phoneTypeDx")->palette().color(QPalette::WindowText), QColor(Qt::black));
        window->close();
        QTRY_VERIFY(!phone.window->toolWindows().isOpen(ToolWindow::Settings));
        QCOMPARE(openSettings(phone)->palette().color(QPalette::Window), kromo);

        // The next start: the start-up look, with "Kromo" checked.
        Themes::apply(kStartupSkin);
        SkinMenu again(phone.db.get(), {});
        QCOMPARE(again.checkedValue(), 2);
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor::fromRgb(themeColours()[6].window));

        // A choice that cannot be stored still changes the look, and says so.
        QString status;
        phone.db->Close();
        SkinMenu closed(phone.db.get(), [&](const QString &text) { status = text; });
        closed.choose(3);
        QCOMPARE(Themes::current(), 3);
        QVERIFY(status.startsWith(QStringLiteral("Skin ")));
        QCOMPARE(closed.checkedValue(), 6);
        QVERIFY(!Themes::apply(7));
        QCOMPARE(Themes::current(), 3);
    }

    void folderItemsAndTheBarMenu()
    {
        QTemporaryDir empty; // no chat client anywhere, no settings file of the user's
        qputenv("PATH", empty.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", empty.path().toLocal8Bit());
        qputenv("XDG_DATA_DIRS", empty.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", empty.path().toLocal8Bit());
        Phone phone(false);
        CGfxOutBarCtrl &bar = *phone.window->folderBar();
        QCOMPARE(bar.itemUserValue(2, 1), quint32(Tool::SkinMenu)); // item 1 of 設置
        QCOMPARE(bar.itemUserValue(0, 2), quint32(Tool::ChatClient)); // 網路電話 in 工具

        bar.SelectFolder(0);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.layoutGeometry().iconRect(2).center());
        QTRY_COMPARE(phone.window->lastMessage(), QString::fromUtf8(ChatClientText::NotInstalled));
        QTRY_COMPARE(bar.selectedItem(), -1);

        bar.SelectFolder(2);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.layoutGeometry().iconRect(1).center());
        QTRY_VERIFY(phone.window->toolWindows().isOpen(ToolWindow::SkinMenu));

        std::unique_ptr<QMenu> menu(bar.createContextMenu(bar.layoutGeometry().iconRect(0).center()));
        auto *skins = menu->findChild<SkinMenu *>();
        QVERIFY(skins);
        QCOMPARE(skins->title(), QStringLiteral("Skin"));
        QCOMPARE(skins->checkedValue(), 0);
    }

    void everyLookIsReadableAndRenders()
    {
        Phone phone(false);
        PhoneSettingsWindow *window = openSettings(phone);
        const QString out = QStringLiteral(DPX_SCREENSHOT_DIR);
        QDir().mkpath(out);
        for (int value = 0; value < int(skinTable().size()); ++value) {
            QVERIFY(Themes::apply(value));
            const QPalette p = QApplication::palette();
            const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
                {QPalette::WindowText, QPalette::Window}, {QPalette::Text, QPalette::Base},
                {QPalette::ButtonText, QPalette::Button}, {QPalette::HighlightedText, QPalette::Highlight},
                {QPalette::ToolTipText, QPalette::ToolTipBase}, {QPalette::Text, QPalette::AlternateBase}};
            for (const auto &[text, back] : pairs)
                QVERIFY2(contrast(p.color(text), p.color(back)) >= 4.5,
                         qPrintable(QStringLiteral("%1: roles %2/%3").arg(value).arg(text).arg(back)));
            const QImage shot = window->grab().toImage();
            QCOMPARE(shot.size(), QSize(PhoneSettingsWindow::Width, PhoneSettingsWindow::Height));
            QVERIFY(shot.save(out + QStringLiteral("/settings-%1.png").arg(
                                        QString::fromLatin1(skinTable()[size_t(value)].resourceName))));
        }
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "test_settingswindow.moc"
