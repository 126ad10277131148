// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/AddressDatabase.h"
#include "app/DataFolder.h"
#include "app/MainPhoneWindow.h"
#include "app/ToolWindows.h"
#include "device/BoxLink.h"
#include "sim/SimulatedBox.h"
#include "transfer/TransferSession.h"
#include "../support/TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

namespace dpx {

// A contact with a name and a mobile number.
inline ContactRecord contact(const QString &name, const QString &mobile)
{
    ContactRecord record;
    record.setText(ContactColumn::Name, name);
    record.setText(ContactColumn::MobileTelephoneNumber, mobile);
    return record;
}

// A main window on the simulated box with a fresh data folder.
struct Phone {
    QTemporaryDir root;
    DataFolder data{root.filePath(QStringLiteral("data"))};
    std::unique_ptr<AddressDatabase> db;
    SimulatedBox box;
    std::unique_ptr<BoxLink> link;
    std::unique_ptr<TransferSession> transfer; // after the link, before the window: as the program
    std::unique_ptr<MainPhoneWindow> window;
    std::unique_ptr<QSignalSpy> listening;

    explicit Phone(bool plugged = true)
    {
        data.prepare();
        db = std::make_unique<AddressDatabase>(data.databasePath(), QStringLiteral("window-test"));
        db->Open();
        if (plugged)
            box.plug();
        link = std::make_unique<BoxLink>(box);
        listening = std::make_unique<QSignalSpy>(link.get(), &BoxLink::readerListening);
        transfer = std::make_unique<TransferSession>(TransferSession::hooksFor(*link));
        PhoneServices services;
        services.dataFolder = &data;
        services.database = db.get();
        services.box = link.get();
        services.transfer = transfer.get();
        window = std::make_unique<MainPhoneWindow>(services);
        window->show();
    }
};

} // namespace dpx
