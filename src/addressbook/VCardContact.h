// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One vCard as a ContactRecord.

#include "addressbook/ImportEntry.h"
#include "addressbook/VCardParser.h"

namespace dpx {

// Maps a parsed card. Values are decoded per property (ENCODING, CHARSET; without a CHARSET
// UTF-8 when valid, else `legacyEncoding`). A fault in a value the contact uses fails the card.
ImportEntry vcardEntry(const VCardCard &card, const QByteArray &legacyEncoding);

// The columns written as X-DPX-<column> lines by the export and read back here.
bool isVCardExtensionColumn(ContactColumn column);

} // namespace dpx
