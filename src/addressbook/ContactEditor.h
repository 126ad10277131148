// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "addressbook/ContactPictureImage.h"
#include "addressbook/ContactPictureStore.h"
#include "addressbook/ContactRecord.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QHash>
#include <QSet>

#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace dpx {

class AddressDatabase;
class PictureBox;
class SkinBitmapButton;

// What the contact editor works on: the database, the picture folder, the contact as it was
// loaded (none: a new contact is inserted) and whether it only shows the contact (the caller
// card: nothing can be changed and nothing is written or deleted).
struct ContactEditorContext {
    AddressDatabase *database = nullptr;
    QString pictureFolder;
    std::optional<ContactRecord> loaded;
    bool readOnly = false;
};

// "連絡人資料": every field of one contact with its picture. 確定 saves (insert or replace)
// and closes; 取消 or Escape closes without writing. Enter moves to the next field, except in
// 備註, where it starts a line.
class ContactEditor : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString contactName READ contactName)
public:
    static constexpr int Width = 764;
    static constexpr int Height = 610;
    static constexpr const char *Title = QT_TR_NOOP("連絡人資料");
    static constexpr const char *EmptyNameText = QT_TR_NOOP("請輸入連絡人的姓氏/名字!");
    static constexpr const char *SaveFailedText = QT_TR_NOOP("保存失败!");
    static constexpr const char *ConvertFailedText = QT_TR_NOOP("图片转换失败!");
    static constexpr const char *PictureLoadFailedText = QT_TR_NOOP("导入头像失败!");

    explicit ContactEditor(ContactEditorContext context, QWidget *parent = nullptr);
    ~ContactEditor() override;

    // Shows another contact (the card of the next caller); pending changes are dropped.
    void showContact(const std::optional<ContactRecord> &contact);
    QString contactName() const;
    bool isReadOnly() const { return m_context.readOnly; }

    // The contact as the fields hold it now (name joined from last and first name).
    ContactRecord fieldsRecord() const;
    QLineEdit *field(ContactColumn column) const { return m_fields.value(column); }
    QPlainTextEdit *remarkField() const { return m_remark; }
    SkinBitmapButton *okButton() const { return m_ok; }
    SkinBitmapButton *cancelButton() const { return m_cancel; }
    PictureBox *pictureBox() const { return m_picture; }

    // Converts a picture file for the contact (the chooser, a drop); done on a worker.
    void choosePictureFile(const QString &path);
    bool isConverting() const { return m_converting; }
    bool hasPendingPicture() const { return !m_pending.isEmpty(); }
    void removePicture();

    // Saves as 確定 does; false (with a message) when it did not.
    bool save();
    QString lastMessage() const { return m_lastMessage; }

Q_SIGNALS:
    void saved(const dpx::ContactRecord &contact);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildFields();
    void fillFields(const ContactRecord &contact);
    void openChooser();
    void onConverted();
    void showPicture();
    void message(const QString &text, const QString &detail = {});

    ContactEditorContext m_context;
    ContactPictureStore m_store;
    QHash<ContactColumn, QLineEdit *> m_fields;
    QPlainTextEdit *m_remark = nullptr;
    PictureBox *m_picture = nullptr;
    SkinBitmapButton *m_ok = nullptr;
    SkinBitmapButton *m_cancel = nullptr;
    QString m_assistantName; // carried through unchanged: it has no field

    QString m_picturePath;   // the loaded contact's picture file; empty: none
    QByteArray m_pending;    // a converted new picture, not yet saved
    QImage m_pendingImage;
    bool m_removed = false;  // "移除照片" chosen
    QFutureWatcher<ConvertedPicture> m_conversion;
    bool m_converting = false; // until its result is taken
    QSet<QString> m_failedPictures; // shown "导入头像失败!" once each
    QString m_lastMessage;
};

} // namespace dpx
