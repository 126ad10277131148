// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactRecord.h"

#include <QString>

namespace dpx {

class ToolWindows;

// Registers the phone book, the editor of a new contact and the caller card.
void registerAddressBookWindows();

// Shows the caller card for `caller`: one card, refilled when another caller is found.
void ShowCallerCard(ToolWindows &tools, const ContactRecord &caller);
// Opens the phone book with the contact of that name selected (none: as it opens).
void openPhoneBookAt(ToolWindows &tools, const QString &contactName);

} // namespace dpx
