// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace dpx {

class AddressDatabase;

// The contact picture folder: where a contact's picture lies, and the file side of saving and
// deleting contacts. The database is always changed first; a file is put in place only after
// the database change is committed, and an old file is deleted only when no remaining row
// claims it (rows share a file when their name and mobile number join to the same text).
// Nothing is read or written outside the folder.
class ContactPictureStore {
public:
    explicit ContactPictureStore(const QString &folder);

    QString folder() const { return m_folder; }
    QString defaultPicturePath() const;
    // The contact's picture file (it may not exist); empty when the contact can have none.
    QString pathFor(const ContactRecord &contact) const;
    // Whether the path lies in the folder once links are resolved.
    bool isInside(const QString &path) const;

    // The picture to show for a stored row: its file when the row has a picture and the file
    // exists, else empty (the default picture). With a database, a file the row does not
    // claim and no other row claims either is a stray and is removed.
    QString pictureOf(const ContactRecord &row, AddressDatabase *database = nullptr) const;

    // Removes the owner's picture file unless a row still claims it.
    void removeUnclaimed(AddressDatabase &database, const ContactRecord &owner) const;

private:
    QString m_folder; // with a trailing slash
};

// What becomes of the picture when a contact is saved.
struct PictureChoice {
    enum class Kind {
        Keep,    // the loaded contact's picture, moved along when name or mobile changed
        Replace, // a new picture: bmp holds the file
        Remove,  // no picture any more
    };
    Kind kind = Kind::Keep;
    QByteArray bmp;
};

struct ContactSaveResult {
    bool ok = false;
    QString error;          // why it failed (ok false)
    ContactRecord saved;    // the row as written, with its picture flag
};

// Saves `contact`: replaces the rows of `loaded` or, without one, inserts it. Read-only
// database or picture folder: fails with the reason, nothing changed.
ContactSaveResult saveContactWithPicture(AddressDatabase &database, const ContactPictureStore &store,
                                         const std::optional<ContactRecord> &loaded,
                                         ContactRecord contact, const PictureChoice &picture);

// Deletes the contacts (one transaction), then the picture files no remaining row claims.
// Empty on success, else the reason (and nothing was deleted).
QString deleteContactsWithPictures(AddressDatabase &database, const ContactPictureStore &store,
                                   const QList<ContactRecord> &identities);

} // namespace dpx
