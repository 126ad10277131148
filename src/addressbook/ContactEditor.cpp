// SPDX-License-Identifier: GPL-3.0-or-later
#include "addressbook/ContactEditor.h"

#include "ui/Translated.h"

#include "addressbook/ContactName.h"
#include "addressbook/ContactPictureImage.h"
#include "addressbook/PictureBox.h"
#include "addressbook/WindowMessage.h"
#include "ui/Art.h"
#include "ui/SkinBitmapButton.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace dpx {

namespace {

constexpr int Unit = 2; // pixels per dialog unit

struct FieldPlace {
    ContactColumn column;
    const char *label;
    int x, y, width, height; // dialog units
};

// The fields in tab order.
constexpr FieldPlace Fields[] = {
    {ContactColumn::LastName, QT_TRANSLATE_NOOP("dpx::ContactEditor", "姓氏"), 31, 5, 53, 14},
    {ContactColumn::FirstName, QT_TRANSLATE_NOOP("dpx::ContactEditor", "名字"), 122, 5, 69, 14},
    {ContactColumn::NickName, QT_TRANSLATE_NOOP("dpx::ContactEditor", "暱稱"), 219, 5, 67, 14},
    {ContactColumn::CompanyNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "公司統編"), 331, 5, 40, 14},
    {ContactColumn::JobTitle, QT_TRANSLATE_NOOP("dpx::ContactEditor", "職稱"), 31, 27, 53, 14},
    {ContactColumn::Department, QT_TRANSLATE_NOOP("dpx::ContactEditor", "部門"), 122, 27, 69, 14},
    {ContactColumn::Spouse, QT_TRANSLATE_NOOP("dpx::ContactEditor", "配偶"), 280, 27, 51, 14},
    {ContactColumn::BusinessTelephoneNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "商務電話"), 49, 47, 109, 14},
    {ContactColumn::BusinessExtension, QT_TRANSLATE_NOOP("dpx::ContactEditor", "分機"), 188, 47, 51, 14},
    {ContactColumn::Birthday, QT_TRANSLATE_NOOP("dpx::ContactEditor", "生日"), 280, 46, 51, 14},
    {ContactColumn::HomeTelephoneNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "住家電話"), 49, 66, 109, 14},
    {ContactColumn::HomeExtension, QT_TRANSLATE_NOOP("dpx::ContactEditor", "分機"), 188, 66, 51, 14},
    {ContactColumn::Anniversary, QT_TRANSLATE_NOOP("dpx::ContactEditor", "紀念日"), 280, 65, 51, 14},
    {ContactColumn::BusinessFaxNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "商務傳真"), 49, 83, 109, 14},
    {ContactColumn::BusinessFaxExtension, QT_TRANSLATE_NOOP("dpx::ContactEditor", "分機"), 188, 83, 51, 14},
    {ContactColumn::EmailAddress, QT_TRANSLATE_NOOP("dpx::ContactEditor", "電子郵件"), 280, 84, 99, 14},
    {ContactColumn::MobileTelephoneNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "行動電話"), 49, 105, 109, 14},
    {ContactColumn::WebPage, QT_TRANSLATE_NOOP("dpx::ContactEditor", "網頁"), 280, 103, 99, 14},
    {ContactColumn::NetworkPhoneNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "網路電話"), 49, 124, 109, 14},
    {ContactColumn::NetworkExtension, QT_TRANSLATE_NOOP("dpx::ContactEditor", "分機"), 188, 124, 51, 14},
    {ContactColumn::ImmdiateNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "即時通帳號"), 49, 143, 109, 14},
    {ContactColumn::AssistantPhoneNumber, QT_TRANSLATE_NOOP("dpx::ContactEditor", "助理"), 49, 160, 109, 14},
    {ContactColumn::AssitantExtension, QT_TRANSLATE_NOOP("dpx::ContactEditor", "分機"), 188, 160, 51, 14},
    {ContactColumn::Company, QT_TRANSLATE_NOOP("dpx::ContactEditor", "公司"), 49, 181, 189, 14},
    {ContactColumn::CompanyPostalCode, QT_TRANSLATE_NOOP("dpx::ContactEditor", "郵遞區號"), 49, 199, 79, 14},
    {ContactColumn::CompanyAddress, QT_TRANSLATE_NOOP("dpx::ContactEditor", "公司地址"), 49, 219, 189, 14},
    {ContactColumn::HomePostalCode, QT_TRANSLATE_NOOP("dpx::ContactEditor", "郵遞區號"), 49, 238, 79, 14},
    {ContactColumn::HomeAddress, QT_TRANSLATE_NOOP("dpx::ContactEditor", "住家地址"), 49, 257, 189, 14},
};

QRect placed(int x, int y, int width, int height)
{
    return QRect(x * Unit, y * Unit, width * Unit, height * Unit);
}

// A field's label ends just left of the field, as wide as its text in the language in use.
constexpr const char *BesideProperty = "besideField";

void placeLabel(QLabel *label)
{
    const QRect beside = label->property(BesideProperty).toRect();
    const int width = label->sizeHint().width();
    label->setGeometry(beside.left() - width - 6, beside.top(), width, beside.height());
}

QLabel *addLabel(QWidget *parent, const char *source, const QRect &beside)
{
    auto *label = new QLabel(parent);
    setTranslated(label, "text", "dpx::ContactEditor", source);
    label->setProperty(BesideProperty, beside);
    placeLabel(label);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

ContactEditor::ContactEditor(ContactEditorContext context, QWidget *parent)
    : QDialog(parent), m_context(std::move(context)), m_store(m_context.pictureFolder)
{
    setTranslated(this, "windowTitle", this, Title);
    setFixedSize(Width, Height);
    buildFields();
    connect(&m_conversion, &QFutureWatcher<ConvertedPicture>::finished, this, &ContactEditor::onConverted);
    showContact(m_context.loaded);
}

ContactEditor::~ContactEditor()
{
    m_conversion.waitForFinished();
    if (m_converting)
        QApplication::restoreOverrideCursor();
}

void ContactEditor::buildFields()
{
    for (const FieldPlace &place : Fields) {
        auto *edit = new QLineEdit(this);
        edit->setGeometry(placed(place.x, place.y, place.width, place.height));
        addLabel(this, place.label, edit->geometry());
        m_fields.insert(place.column, edit);
    }
    m_remark = new QPlainTextEdit(this);
    m_remark->setGeometry(placed(280, 199, 99, 72));
    m_remark->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_remark->setTabChangesFocus(true);
    addLabel(this, QT_TR_NOOP("備註"), m_remark->geometry());

    m_picture = new PictureBox(this);
    m_picture->move(280 * Unit, 122 * Unit);
    auto *caption = new QLabel(this);
    setTranslated(caption, "text", this, QT_TR_NOOP("照片"));
    caption->setGeometry(placed(246, 121, 21, 11));
    connect(m_picture, &PictureBox::chooseRequested, this, &ContactEditor::openChooser);
    connect(m_picture, &PictureBox::fileDropped, this, &ContactEditor::choosePictureFile);
    connect(m_picture, &PictureBox::removeRequested, this, &ContactEditor::removePicture);

    const QFont buttonFont(QStringLiteral("Arial"), 12);
    m_ok = new SkinBitmapButton(QString(), this);
    m_cancel = new SkinBitmapButton(QString(), this);
    setTranslated(m_ok, "text", this, QT_TR_NOOP("確定"));
    setTranslated(m_cancel, "text", this, QT_TR_NOOP("取消"));
    for (SkinBitmapButton *button : {m_ok, m_cancel}) {
        button->setFont(buttonFont);
        button->SetUp(132, 5, 3, 3, 3, 3);
    }
    m_ok->setGeometry(placed(129, 284, 50, 14));
    m_cancel->setGeometry(placed(217, 284, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, &ContactEditor::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const bool readOnly = m_context.readOnly;
    m_ok->setEnabled(!readOnly);
    for (QLineEdit *edit : std::as_const(m_fields))
        edit->setReadOnly(readOnly);
    m_remark->setReadOnly(readOnly);
    m_picture->setChangeable(!readOnly);
    if (readOnly)
        m_cancel->setFocus();
    else
        m_fields.value(ContactColumn::LastName)->setFocus();
}

void ContactEditor::showContact(const std::optional<ContactRecord> &contact)
{
    m_context.loaded = contact;
    m_pending.clear();
    m_pendingImage = {};
    m_removed = false;
    fillFields(contact.value_or(ContactRecord()));
    // A stored row shows its own file; the editor (not the card) clears a stray file nobody claims.
    m_picturePath = contact ? m_store.pictureOf(*contact, m_context.readOnly ? nullptr : m_context.database)
                            : QString();
    showPicture();
}

QString ContactEditor::contactName() const
{
    return m_context.loaded ? m_context.loaded->name() : QString();
}

void ContactEditor::fillFields(const ContactRecord &contact)
{
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        it.value()->setText(contact.text(it.key()));
    m_remark->setPlainText(contact.text(ContactColumn::Remark));
    m_assistantName = contact.text(ContactColumn::AssistantName);
}

ContactRecord ContactEditor::fieldsRecord() const
{
    ContactRecord record;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        record.setText(it.key(), it.value()->text());
    record.setText(ContactColumn::Remark, m_remark->toPlainText());
    record.setText(ContactColumn::AssistantName, m_assistantName);
    record.setText(ContactColumn::Name, joinContactName(record.text(ContactColumn::LastName),
                                                        record.text(ContactColumn::FirstName)));
    return record;
}

void ContactEditor::showPicture()
{
    m_picture->setRemovable(!m_pending.isEmpty() || (!m_picturePath.isEmpty() && !m_removed));
    if (!m_pendingImage.isNull()) {
        m_picture->setImage(m_pendingImage);
        return;
    }
    const QString path = m_picturePath.isEmpty() || m_removed ? m_store.defaultPicturePath() : m_picturePath;
    const QImage image = readPictureFile(path);
    m_picture->setImage(image);
    if (image.isNull() && !m_failedPictures.contains(path)) {
        m_failedPictures.insert(path);
        message(tr(PictureLoadFailedText));
    }
}

void ContactEditor::openChooser()
{
    auto *dialog = new QFileDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilters({QStringLiteral("Jpg Files (*.jpg)"), QStringLiteral("Bmp Files (*.bmp)"),
                            QStringLiteral("Png Files (*.png)"), QStringLiteral("Jpeg Files (*.jpeg)")});
    // "photo.JPG" counts as a .jpg file.
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(QStringLiteral("jpg"));
    connect(dialog, &QFileDialog::fileSelected, this, &ContactEditor::choosePictureFile);
    dialog->open();
}

void ContactEditor::choosePictureFile(const QString &path)
{
    if (m_context.readOnly || m_converting)
        return;
    m_converting = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_conversion.setFuture(QtConcurrent::run([path] { return convertContactPicture(path); }));
}

void ContactEditor::onConverted()
{
    if (!m_converting)
        return; // already taken by a save
    m_converting = false;
    QApplication::restoreOverrideCursor();
    const ConvertedPicture result = m_conversion.result();
    if (!result.ok()) {
        // The picture chosen before (if any) stays.
        message(tr(ConvertFailedText), result.error);
        return;
    }
    m_pending = result.bmp;
    m_pendingImage = result.image;
    m_removed = false;
    showPicture();
}

void ContactEditor::removePicture()
{
    m_pending.clear();
    m_pendingImage = {};
    m_removed = true;
    showPicture();
}

bool ContactEditor::save()
{
    if (m_context.readOnly)
        return false;
    if (!m_context.database) {
        message(tr(SaveFailedText), tr("沒有通訊簿資料庫。"));
        return false;
    }
    if (m_converting) {
        // The picture being converted belongs to this save.
        m_conversion.waitForFinished();
        onConverted();
    }
    const ContactRecord record = fieldsRecord();
    if (record.name().isEmpty()) {
        message(tr(EmptyNameText));
        m_fields.value(ContactColumn::LastName)->setFocus();
        return false;
    }
    PictureChoice picture;
    if (!m_pending.isEmpty())
        picture = {PictureChoice::Kind::Replace, m_pending};
    else if (m_removed)
        picture.kind = PictureChoice::Kind::Remove;
    const ContactSaveResult result =
        saveContactWithPicture(*m_context.database, m_store, m_context.loaded, record, picture);
    if (!result.ok) {
        message(tr(SaveFailedText), result.error);
        return false;
    }
    Q_EMIT saved(result.saved);
    accept();
    return true;
}

void ContactEditor::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ContactEditor::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xE8, 0xEC, 0xF0));
}

void ContactEditor::message(const QString &text, const QString &detail)
{
    m_lastMessage = text;
    showWindowMessage(this, text, detail);
}

void ContactEditor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The labels take their new texts after this window: placed again once they have them.
        QMetaObject::invokeMethod(this, [this] {
            for (QLabel *label : findChildren<QLabel *>()) {
                if (label->property(BesideProperty).isValid())
                    placeLabel(label);
            }
        }, Qt::QueuedConnection);
    }
    QDialog::changeEvent(event);
}

} // namespace dpx
