// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The state behind AddressDatabase, shared by its source files (not installed).

#include "addressbook/AddressDatabase.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <vector>

namespace dpx {

struct AddressDatabase::Private {
    QString filePath;
    QString connectionName;
    int busyTimeoutMs = kDefaultBusyTimeoutMs;
    QSqlDatabase db; // valid only while open
    QString error;
    std::vector<ContactCursor *> cursors;
    // Statements prepared once per connection: preparing an insert compiles the index's
    // triggers into it, which costs ten times the insert itself.
    QHash<QString, QSqlQuery> prepared;
    // The contact_number index is there and kept by the file's triggers; without it the caller
    // lookup reads every row (a read-only or locked file from before the index existed).
    bool numberIndex = false;
    // The index disagreed with the rows and could not be rebuilt: read rows until reopened.
    bool numberIndexDistrusted = false;
    // call_history is in the file (added at open unless the file is read-only).
    bool callHistory = false;
    bool importBatch = false; // inside beginImportBatch() .. commit/abort
};

} // namespace dpx
