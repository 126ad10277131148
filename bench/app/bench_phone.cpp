// SPDX-License-Identifier: GPL-3.0-or-later
// The telephone mirror and the keypad, measured on the real window (offscreen) against the
// simulated box. Each figure is printed with the reference it is compared with.
#include "addressbook/AddressDatabase.h"
#include "BenchData.h"
#include "app/DataFolder.h"
#include "app/DialSequencer.h"
#include "app/Keypad.h"
#include "app/LcdPanel.h"
#include "app/MainPhoneWindow.h"
#include "addressbook/ContactCursor.h"
#include "app/PhoneBookTree.h"
#include "device/BoxLink.h"
#include "sim/SimTelephone.h"
#include "sim/SimulatedBox.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

#include "BenchTiming.h"

using namespace dpx;

namespace {

using bench::median;
using bench::timeMs;

void waitUntil(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::BenchData bench;
    if (!bench.open())
        return 1;
    DataFolder &data = bench.folder;
    AddressDatabase &db = bench.db;
    SimulatedBox box;
    box.plug();
    BoxLink link(box);
    QSignalSpy listening(&link, &BoxLink::readerListening);
    PhoneServices services;
    services.dataFolder = &data;
    services.database = &db;
    services.box = &link;
    MainPhoneWindow window(services);
    window.show();
    waitUntil([&] { return listening.size() > 0; });

    // 1. One event pair: model updated and the display repainted.
    QList<double> pair, naive;
    for (int i = 0; i < 5000; ++i) {
        const quint8 code = quint8(0x20 + (i % 32)), ch = quint8('A' + i % 26);
        pair << timeMs([&] {
            window.OnDeviceEvent(code, ch);
            window.lcd().repaint();
        });
    }
    for (int i = 0; i < 500; ++i) {
        const quint8 code = quint8(0x20 + (i % 32)), ch = quint8('a' + i % 26);
        naive << timeMs([&] {
            window.OnDeviceEvent(code, ch);
            window.repaint();
        });
    }
    std::printf("event pair -> display model and repaint: median %.3f ms (target <= 0.2 ms); "
                "reference, repainting the whole window each time: median %.3f ms\n",
                median(pair), median(naive));

    // 2. A 32-character string entry from the box to the window, end to end.
    QList<double> entry;
    for (int round = 0; round < 100; ++round) {
        // Each round ends in another number, so line 2 changes every time.
        const QByteArray text = QByteArray::number(100000 + round).rightJustified(32, '.');
        QList<std::pair<quint8, quint8>> pairs{{0x40, 0xC0}};
        for (int i = 0; i < 32; i += 2)
            pairs.append({quint8(text[i]), quint8(text[i + 1])});
        pairs.append({0x80, 0x00});
        const QString line2 = QString::fromLatin1(text.mid(16));
        entry << timeMs([&] {
            box.sendEvent(pairs);
            waitUntil([&] { return window.mirror().displayedLine2() == line2
                                   && !window.mirror().stringEntryActive(); });
        });
    }
    std::printf("32-character string entry, box to window: median %.2f ms (target <= 5 ms)\n",
                median(entry));

    // 3. A click on an on-screen key until its report is written.
    KeyButton *hash = window.keyButton(findKey(27)->id);
    QList<double> press;
    for (int i = 0; i < 300; ++i) {
        const qsizetype before = box.outputReports().size();
        press << timeMs([&] {
            hash->click();
            waitUntil([&] { return box.outputReports().size() > before; });
        });
    }
    std::printf("key click -> report written: median %.2f ms (target <= 2 ms; it includes the "
                "1 ms pause the box needs after every command frame)\n", median(press));

    // 4. Dialling ten digits after a one-digit line code.
    db.updateLineCode(QStringLiteral("9"));
    Keypad keypad(link);
    DialSequencer dialer([&](int key) { return keypad.PressKey(key) == Keypad::Result::Sent; });
    QSignalSpy finished(&dialer, &DialSequencer::finished);
    const double formula = 300.0 * 11 + 1500;
    const double dialled = timeMs([&] {
        dialer.start(dialSteps(u"9", u"0223456789"), QStringLiteral("0223456789"));
        waitUntil([&] { return !finished.isEmpty(); }, 10000);
    });
    std::printf("dialling 10 digits after a 1-digit line code: %.0f ms; formula 300 x 11 + 1500 = "
                "%.0f ms (%+.2f %%, target within 2 %%)\n",
                dialled, formula, 100.0 * (dialled - formula) / formula);

    // 5. The phone-book tree with 10 000 contacts.
    db.Execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < 10000; ++i) {
        ContactRecord c;
        c.setText(ContactColumn::Name, QStringLiteral("Contact %1").arg(i, 5, 10, QLatin1Char('0')));
        c.setText(ContactColumn::MobileTelephoneNumber, QStringLiteral("09%1").arg(20000000 + i));
        c.setText(ContactColumn::HomeTelephoneNumber, QStringLiteral("02-2%1").arg(3000000 + i));
        db.insertContact(c);
    }
    db.Execute(QStringLiteral("COMMIT"));
    QList<double> fill, reference;
    for (int i = 0; i < 5; ++i)
        fill << timeMs([&] { window.FillPhoneBookTree(); });
    QTreeWidget plain;
    for (int i = 0; i < 3; ++i) {
        reference << timeMs([&] {
            // One item per row, added to the live tree one by one, each with its four lines.
            plain.clear();
            ContactCursor cursor(db);
            for (cursor.QueryContacts(); !cursor.IsEOF(); cursor.MoveNext()) {
                auto *item = new QTreeWidgetItem(QStringList{cursor.GetText(QStringLiteral("name"))});
                plain.addTopLevelItem(item);
                for (const char *column : {"hometelephonenumber", "mobiletelephonenumber",
                                           "businesstelephonenumber", "nickname"})
                    item->addChild(new QTreeWidgetItem(QStringList{cursor.GetText(QLatin1String(column))}));
            }
        });
    }
    std::printf("phone-book tree, 10 000 contacts: median %.0f ms (target <= 150 ms); reference, "
                "items added one by one: median %.0f ms\n", median(fill), median(reference));
    return 0;
}
