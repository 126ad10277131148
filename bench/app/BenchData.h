// SPDX-License-Identifier: GPL-3.0-or-later
// A prepared data folder with its address database in a temporary folder, for the benchmark
// programs that run the real window.
#pragma once

#include "addressbook/AddressDatabase.h"
#include "app/DataFolder.h"

#include <QTemporaryDir>

#include <cstdio>

namespace dpx::bench {

struct BenchData {
    QTemporaryDir root;
    DataFolder folder{root.filePath(QStringLiteral("data"))};
    AddressDatabase db{folder.databasePath(), QStringLiteral("bench")};

    // Seeds the folder and opens the database; says why on stderr when it cannot.
    bool open()
    {
        if (!folder.prepare()) {
            std::fprintf(stderr, "%s\n", qPrintable(folder.error()));
            return false;
        }
        db.Open();
        return true;
    }
};

} // namespace dpx::bench
