// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as a vCard file. No crash, no hang, and every card accepted as a
// contact comes back unchanged through the vCard export and the import.

#include "addressbook/ContactFileReader.h"
#include "addressbook/VCardWriter.h"

#include <cstdlib>

using namespace dpx;

namespace {

void checkRoundTrip(const ContactRecord &contact)
{
    ContactFileReader again;
    ImportEntry entry;
    if (!again.openData(vcardOf(contact), "windows-1252") || !again.next(entry)
        || entry.kind != ImportEntry::Kind::Contact || !(entry.contact == contact))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray("BEGIN:VCARD\r\n") + QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    ContactFileReader reader;
    if (!reader.openData(bytes, "Big5"))
        return 0;
    ImportEntry entry;
    while (reader.next(entry)) {
        if (entry.kind == ImportEntry::Kind::Contact)
            checkRoundTrip(entry.contact);
    }
    return 0;
}
