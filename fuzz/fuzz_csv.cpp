// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes after a contact export's header row as a CSV file. No crash, no
// hang, and every row accepted as a contact comes back unchanged through the vCard export.

#include "addressbook/ContactFileReader.h"
#include "addressbook/VCardWriter.h"

#include <cstdlib>

using namespace dpx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Half the inputs get a known header, so that rows are reached; the rest test the header.
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (size > 0 && data[0] & 1)
        bytes = "First Name,Last Name,Mobile Phone,Birthday,Notes,Phone 1 - Type,Phone 1 - Value,"
                "Address 1 - Type,Address 1 - Street,Business City\r\n" + bytes.mid(1);
    ContactFileReader reader;
    if (!reader.openData(bytes, "windows-1252"))
        return 0;
    ImportEntry entry;
    while (reader.next(entry)) {
        if (entry.kind != ImportEntry::Kind::Contact)
            continue;
        ContactFileReader again;
        ImportEntry back;
        if (!again.openData(vcardOf(entry.contact), "windows-1252") || !again.next(back)
            || back.kind != ImportEntry::Kind::Contact || !(back.contact == entry.contact))
            std::abort();
    }
    return 0;
}
