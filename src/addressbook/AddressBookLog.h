// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Off unless enabled with QT_LOGGING_RULES="dpx.addressbook.debug=true": the program keeps no log.
Q_DECLARE_LOGGING_CATEGORY(lcAddressBook)
