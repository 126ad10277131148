// SPDX-License-Identifier: GPL-3.0-or-later
// Every tool window module of the program registers its windows here, one line each.
#include "app/ToolWindows.h"

#include "app/AddressBookWindows.h"
#include "app/ConverterWindows.h"
#include "app/TransferWindows.h"

namespace dpx {

void registerSettingsToolWindows();

void registerToolWindows()
{
    registerAddressBookWindows();
    registerConverterWindows();
    registerSettingsToolWindows();
    registerTransferWindows();
}

} // namespace dpx
