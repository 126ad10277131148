// SPDX-License-Identifier: GPL-3.0-or-later
// Switching the language while windows are open, and every window in both languages with no
// text wider than the control that shows it (the renderings are kept for a look).
#include "app/CallHistoryHookup.h"
#include "app/CallerPopup.h"
#include "app/DesktopIntegration.h"
#include "app/Language.h"
#include "app/LanguageMenu.h"
#include "app/PhoneTray.h"
#include "app/SimPanel.h"
#include "app/ToolWindows.h"
#include "history/CallHistoryRecorder.h"
#include "transfer/TransferSession.h"
#include "ui/BitmapSlider.h"
#include "ui/FolderBar.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace dpx;

#include "PhoneFixture.h"

namespace {

// The main window with every tool window the program registers.
struct FullPhone : Phone {
    std::unique_ptr<CallHistoryRecorder> history = std::make_unique<CallHistoryRecorder>(db.get());
    std::unique_ptr<DesktopIntegration> integration;

    FullPhone()
    {
        connectCallHistory(*history, *window);
        integration = std::make_unique<DesktopIntegration>(history->tracker(), *window, data.path());
    }
    ~FullPhone() { window->shutDown(); }
};

void switchTo(LanguageSwitcher &switcher, const char *language)
{
    QVERIFY(switcher.apply(QString::fromLatin1(language)));
    QCoreApplication::sendPostedEvents(); // the LanguageChange events
    QCoreApplication::processEvents();
}

QStringList folderBarTexts(const CGfxOutBarCtrl &bar)
{
    QStringList texts;
    for (int folder = 0; folder < bar.folderCount(); ++folder) {
        texts << bar.folderName(folder);
        for (int item = 0; item < bar.itemCount(folder); ++item)
            texts << bar.itemText(folder, item);
    }
    return texts;
}

// Single-line texts of labels and buttons that do not fit their control.
QStringList clippedTexts(const QWidget *window)
{
    QStringList clipped;
    const auto check = [&](const QWidget *widget, const QString &text, int room) {
        if (!widget->isVisibleTo(window) || text.trimmed().isEmpty() || text.contains(QLatin1Char('\n')))
            return;
        const int needed = widget->fontMetrics().horizontalAdvance(text);
        if (needed > room)
            clipped << QStringLiteral("%1 \"%2\": %3 px in %4").arg(widget->metaObject()->className(), text)
                           .arg(needed).arg(room);
    };
    const QList<QLineEdit *> fields = window->findChildren<QLineEdit *>();
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->wordWrap() && label->pixmap().isNull())
            check(label, label->text().remove(QLatin1Char('&')), label->contentsRect().width() - 2 * label->margin());
        // Labels placed by hand beside a field: inside the window, clear of every field.
        if (label->parentWidget() != window || label->layout() || !label->isVisibleTo(window))
            continue;
        if (label->geometry().left() < 0)
            clipped << QStringLiteral("\"%1\" starts left of the window").arg(label->text());
        for (const QLineEdit *field : fields) {
            if (field->parentWidget() == window && field->geometry().intersects(label->geometry()))
                clipped << QStringLiteral("\"%1\" covers a field").arg(label->text());
        }
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        // Check boxes and radio buttons draw their mark before the text.
        const int mark = button->inherits("QCheckBox") || button->inherits("QRadioButton") ? 20 : 4;
        check(button, button->text().remove(QLatin1Char('&')), button->width() - mark);
    }
    for (const QGroupBox *box : window->findChildren<QGroupBox *>())
        check(box, box->title(), box->width() - 16);
    return clipped;
}

const ToolWindow kWindows[] = {ToolWindow::PhoneBook, ToolWindow::ContactEditor, ToolWindow::Transfer,
                               ToolWindow::Converter, ToolWindow::Settings,      ToolWindow::History,
                               ToolWindow::CallActions};

} // namespace

class LanguageWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openWindowsFollowTheSwitch()
    {
        LanguageSwitcher switcher;
        Phone phone;
        MainPhoneWindow &window = *phone.window;
        CGfxOutBarCtrl &bar = *window.folderBar();
        bar.setFolderName(2, QStringLiteral("My own")); // renamed by the user: kept
        const QStringList chinese = folderBarTexts(bar);
        QVERIFY(chinese.contains(QStringLiteral("工具")));

        switchTo(switcher, Language::English);
        const QStringList english = folderBarTexts(bar);
        QVERIFY2(english.contains(QStringLiteral("Tools")) && english.contains(QStringLiteral("Phone book"))
                     && english.contains(QStringLiteral("Audio converter")),
                 qPrintable(english.join(u',')));
        QCOMPARE(bar.folderName(2), QStringLiteral("My own"));
        QCOMPARE(window.tray().phoneBookAction()->text(), QStringLiteral("Phone book"));
        QCOMPARE(window.tray().exitAction()->text(), QStringLiteral("Exit"));
        QCOMPARE(window.volumeSlider()->toolTip(), QStringLiteral("Volume"));
        const QMenu *languages = window.tray().menu()->findChild<QMenu *>(QStringLiteral("languageMenu"));
        QVERIFY(languages);
        QCOMPARE(languages->title(), QString::fromUtf8(LanguageMenuTitle));

        // The tray's language menu switches back, and the choice is kept.
        for (QAction *action : languages->actions()) {
            if (action->data().toString() == QLatin1String(Language::Default))
                action->trigger();
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(switcher.current(), QString::fromLatin1(Language::Default));
        QCOMPARE(Language::savedChoice(), QString::fromLatin1(Language::Default));
        QCOMPARE(folderBarTexts(bar), chinese);
        QCOMPARE(window.tray().phoneBookAction()->text(), QStringLiteral("通訊簿"));
    }

    void everyWindowFitsItsTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_TW") << QString::fromLatin1(Language::Default);
        QTest::newRow("en") << QString::fromLatin1(Language::English);
    }
    void everyWindowFitsItsTexts()
    {
        QFETCH(QString, language);
        LanguageSwitcher switcher;
        QVERIFY(switcher.apply(language));
        FullPhone phone;
        const QString folder = QStringLiteral(DPX_SCREENSHOT_DIR "/") + language;
        QDir().mkpath(folder);
        QStringList faults;
        const auto look = [&](QWidget *window, const QString &name) {
            QCoreApplication::processEvents();
            window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
            for (const QString &fault : clippedTexts(window))
                faults << name + QStringLiteral(": ") + fault;
        };
        look(phone.window.get(), QStringLiteral("main"));
        CallerPopup &popup = phone.window->callerPopup();
        popup.setCaller(QStringLiteral("王大明"), QStringLiteral("0223456789"));
        popup.resize(popup.sizeHint().expandedTo(QSize(240, 90)));
        popup.grab().save(folder + QStringLiteral("/caller.png")); // owner-drawn: looked at only
        SimPanel panel(phone.box);
        panel.show();
        look(&panel, QStringLiteral("simulated"));
        for (ToolWindow which : kWindows) {
            QWidget *window = phone.window->toolWindows().open(which);
            if (!window)
                continue; // not part of this build
            look(window, toolWindowName(which));
            // Open windows retranslate in place and fit the other language's texts too.
            const QString other = language == QLatin1String(Language::English) ? QString::fromLatin1(Language::Default)
                                                                               : QString::fromLatin1(Language::English);
            switchTo(switcher, other.toLatin1().constData());
            look(window, toolWindowName(which) + QStringLiteral("-switched"));
            switchTo(switcher, language.toLatin1().constData());
            look(window, toolWindowName(which) + QStringLiteral("-again"));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("\n") + faults.join(u'\n')));
    }
};

QTEST_MAIN(LanguageWindowsTest)
#include "test_language_windows.moc"
