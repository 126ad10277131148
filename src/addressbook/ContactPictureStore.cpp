// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactPictureStore.h"

#include "addressbook/AddressDatabase.h"
#include "addressbook/PictureNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace dpx {

namespace {

QString keyNameOf(const ContactRecord &contact)
{
    return contact.name();
}

QString mobileOf(const ContactRecord &contact)
{
    return contact.text(ContactColumn::MobileTelephoneNumber);
}

} // namespace

ContactPictureStore::ContactPictureStore(const QString &folder)
    : m_folder(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')) {}

QString ContactPictureStore::defaultPicturePath() const
{
    return m_folder + QLatin1String(kDefaultPictureFile);
}

QString ContactPictureStore::pathFor(const ContactRecord &contact) const
{
    const QString name = pictureFileName(keyNameOf(contact), mobileOf(contact));
    return name.isEmpty() ? QString() : m_folder + name;
}

bool ContactPictureStore::isInside(const QString &path) const
{
    const QString folder = QFileInfo(m_folder).canonicalFilePath();
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString resolved = info.exists() || info.isSymLink()
                                 ? info.canonicalFilePath()
                                 : QFileInfo(info.absolutePath()).canonicalFilePath() +
                                       QLatin1Char('/') + info.fileName();
    return !resolved.isEmpty() && resolved.startsWith(folder + QLatin1Char('/')) &&
           !resolved.mid(folder.size() + 1).contains(QLatin1Char('/'));
}

QString ContactPictureStore::pictureOf(const ContactRecord &row, AddressDatabase *database) const
{
    const QString path = pathFor(row);
    if (path.isEmpty() || !QFileInfo::exists(path) || !isInside(path))
        return {};
    if (row.hasPicture())
        return path;
    if (database)
        removeUnclaimed(*database, row);
    return {};
}

void ContactPictureStore::removeUnclaimed(AddressDatabase &database,
                                          const ContactRecord &owner) const {
    const QString path = pathFor(owner);
    if (path.isEmpty() || !QFileInfo::exists(path) || !isInside(path))
        return;
    const std::optional<bool> claimed =
        database.isPictureClaimed(keyNameOf(owner), mobileOf(owner));
    if (claimed && !*claimed)
        QFile::remove(path);
}

ContactSaveResult saveContactWithPicture(AddressDatabase &database,
                                         const ContactPictureStore &store,
                                         const std::optional<ContactRecord> &loaded,
                                         ContactRecord contact, const PictureChoice &picture)
{
    ContactSaveResult result;
    const QString target = store.pathFor(contact);
    const QString oldPath = loaded ? store.pictureOf(*loaded) : QString();

    // The bytes of the file the contact will have, if any.
    QByteArray bytes;
    bool writeFile = false;
    switch (picture.kind) {
    case PictureChoice::Kind::Replace:
        bytes = picture.bmp;
        writeFile = !bytes.isEmpty();
        break;
    case PictureChoice::Kind::Keep:
        if (!oldPath.isEmpty() && oldPath != target) {
            QFile old(oldPath);
            if (old.open(QIODevice::ReadOnly)) {
                bytes = old.readAll();
                writeFile = !bytes.isEmpty();
            }
        }
        break;
    case PictureChoice::Kind::Remove:
        break;
    }
    const bool keepsSameFile =
        picture.kind == PictureChoice::Kind::Keep && !oldPath.isEmpty() && oldPath == target;
    contact.setHasPicture(!target.isEmpty() && (writeFile || keepsSameFile));

    QSaveFile file(target);
    if (writeFile && !target.isEmpty()) {
        if (!store.isInside(target)) {
            result.error =
                QStringLiteral("The picture would be written outside the picture folder.");
            return result;
        }
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            result.error = QStringLiteral("The picture cannot be written in %1: %2")
                               .arg(QDir::toNativeSeparators(store.folder()), file.errorString());
            return result;
        }
    }

    const bool written =
        loaded ? database.replaceContact(*loaded, contact) : database.insertContact(contact);
    if (!written) {
        file.cancelWriting();
        result.error = database.lastError();
        return result;
    }
    if (writeFile && !file.commit()) {
        // The row is saved; without its file the default picture shows.
        contact.setHasPicture(false);
        database.replaceContact(contact, contact);
    }
    // The loaded contact's file, when it is no longer this contact's, goes unless claimed.
    if (loaded && (target != store.pathFor(*loaded) || picture.kind == PictureChoice::Kind::Remove))
        store.removeUnclaimed(database, *loaded);
    result.ok = true;
    result.saved = contact;
    return result;
}

QString deleteContactsWithPictures(AddressDatabase &database, const ContactPictureStore &store,
                                   const QList<ContactRecord> &identities)
{
    if (database.deleteContacts(identities) < 0)
        return database.lastError();
    for (const ContactRecord &identity : identities)
        store.removeUnclaimed(database, identity);
    return {};
}

} // namespace dpx
