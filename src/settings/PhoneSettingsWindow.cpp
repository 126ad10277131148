// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PhoneSettingsWindow.h"

#include "ui/Translated.h"

#include "addressbook/AddressDatabase.h"
#include "audio/RingRules.h"
#include "audio/RingTonePlayer.h"
#include "audio/SoundFileReader.h"
#include "settings/RingInstall.h"
#include "settings/SettingsSave.h"
#include "ui/Art.h"
#include "ui/SkinBitmapButton.h"
#include "ui/FileChooser.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace dpx {

namespace {

// Labels and radio buttons sit on the window's own bitmap: black text, no background, whatever
// the look.
const QString kOnBitmap = QStringLiteral("color: black; background: transparent;");

} // namespace

PhoneSettingsWindow::PhoneSettingsWindow(PhoneSettingsServices services, QWidget *parent)
    : QDialog(parent),
      m_services(std::move(services)),
      m_background(artPixmap(QStringLiteral("519")))
{
    setObjectName(QStringLiteral("phoneSettingsWindow"));
    setTranslated(this, "windowTitle", this, QT_TR_NOOP("話機設定"));
    setModal(false);
    setFixedSize(Width, Height);
    if (m_services.database && m_services.database->IsOpen())
        m_draft = SettingsDraft(m_services.database->ReadSettingsRow());
    build();
    showDraft();
}

PhoneSettingsWindow::~PhoneSettingsWindow()
{
    if (m_previewing && m_services.ringPlayer)
        m_services.ringPlayer->Stop();
}

SkinBitmapButton *PhoneSettingsWindow::button(const char *caption, const char *name)
{
    auto *b = new SkinBitmapButton(QString(), this);
    setTranslated(b, "text", this, caption);
    b->setObjectName(QLatin1String(name));
    b->SetUp(132, 5, 3, 3, 3, 3);
    b->setAutoDefault(false);
    return b;
}

void PhoneSettingsWindow::build()
{
    auto label = [this](const char *text, int x, int y, int w = 200) {
        auto *l = new QLabel(this);
        setTranslated(l, "text", this, text);
        l->setStyleSheet(kOnBitmap);
        l->setGeometry(x, y, w, 20);
        return l;
    };
    auto radio = [this](const char *text, const char *name, int x, int y, QButtonGroup *group) {
        auto *r = new QRadioButton(this);
        setTranslated(r, "text", this, text);
        r->setObjectName(QLatin1String(name));
        r->setStyleSheet(kOnBitmap);
        r->move(x, y);
        r->resize(r->sizeHint()); // no dead space beside the text that ignores clicks
        group->addButton(r);
        return r;
    };

    label(QT_TR_NOOP("來電時顯示連絡人資訊"), 20, 16);
    auto *cardGroup = new QButtonGroup(this);
    m_hideCard = radio(QT_TR_NOOP("不顯示"), "hideCallerCard", 40, 38, cardGroup);
    m_showCard = radio(QT_TR_NOOP("顯示"), "showCallerCard", 150, 38, cardGroup);
    connect(m_showCard, &QRadioButton::toggled, this, [this](bool on) { m_draft.setShowCallerCard(on); });

    label(QT_TR_NOOP("電話類型:"), 20, 70, 80);
    auto *typeGroup = new QButtonGroup(this);
    m_dx = radio("DX", "phoneTypeDx", 110, 69, typeGroup);
    m_sd = radio("SD", "phoneTypeSd", 200, 69, typeGroup);
    connect(m_dx, &QRadioButton::toggled, this,
            [this](bool on) { m_draft.setPhoneType(on ? PhoneType::DX : PhoneType::SD); });

    label(QT_TR_NOOP("佔外線代碼:"), 20, 104, 90);
    m_lineCode = new QLineEdit(this);
    m_lineCode->setObjectName(QStringLiteral("lineCode"));
    m_lineCode->setGeometry(110, 102, 100, 24);
    m_lineCode->setMaxLength(kLineCodeMaxLength);
    // A validator rather than a key filter: pasted text is held to the same rule.
    m_lineCode->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9Pp]{0,8}")), m_lineCode));
    connect(m_lineCode, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_draft.setLineCode(text); });

    const struct {
        RingKind kind;
        const char *title;
        int y;
        QLineEdit **edit;
        const char *names[4];
    } rings[] = {
        {RingKind::Co, QT_TR_NOOP("外線鈴聲選擇:"), 136, &m_coRing, {"coRing", "coBrowse", "coDelete", "coListen"}},
        {RingKind::Icm, QT_TR_NOOP("內線鈴聲選擇:"), 216, &m_icmRing, {"icmRing", "icmBrowse", "icmDelete", "icmListen"}},
    };
    for (const auto &ring : rings) {
        label(ring.title, 20, ring.y);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(ring.names[0]));
        edit->setReadOnly(true);
        edit->setGeometry(20, ring.y + 22, 300, 24);
        *ring.edit = edit;
        const RingKind kind = ring.kind;
        auto *browseButton = button(QT_TR_NOOP("瀏灠"), ring.names[1]);
        browseButton->setGeometry(20, ring.y + 50, 70, 24);
        connect(browseButton, &QPushButton::clicked, this, [this, kind] { browse(kind); });
        auto *deleteButton = button(QT_TR_NOOP("刪除"), ring.names[2]);
        deleteButton->setGeometry(96, ring.y + 50, 70, 24);
        connect(deleteButton, &QPushButton::clicked, this, [this, kind] { clearRing(kind); });
        auto *listenButton = button(QT_TR_NOOP("試聽"), ring.names[3]);
        listenButton->setGeometry(172, ring.y + 50, 70, 24);
        connect(listenButton, &QPushButton::clicked, this, [this, kind] { listen(kind); });
    }

    auto *saveButton = button(QT_TR_NOOP("儲存"), "save");
    saveButton->setGeometry(Width - 100, Height - 44, 80, 28);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
}

void PhoneSettingsWindow::showDraft()
{
    const PhoneSettings &shown = m_draft.current();
    (shown.showCallerCard ? m_showCard : m_hideCard)->setChecked(true);
    (shown.phoneType == PhoneType::DX ? m_dx : m_sd)->setChecked(true);
    // A stored code the rule refuses is shown all the same; the validator only governs edits.
    const QSignalBlocker block(m_lineCode);
    m_lineCode->setText(shown.lineCode);
    m_coRing->setText(shown.coRing);
    m_icmRing->setText(shown.icmRing);
}

void PhoneSettingsWindow::message(const QString &text)
{
    m_lastMessage = text;
    if (m_services.showMessage)
        m_services.showMessage(text);
}

bool PhoneSettingsWindow::isPlayableAudio(const QString &path)
{
    SoundFileReader reader;
    return reader.open(path) && reader.channels() > 0 && reader.sampleRate() > 0;
}

void PhoneSettingsWindow::browse(RingKind kind)
{
    const QStringList chosen = chooseFiles(
        this, {FileRequest::Mode::Open, {}, {}, {},
               tr("Audio Files (*.mp3);;音訊文件 (*.mp3 *.wav *.flac *.ogg *.oga)").split(QStringLiteral(";;")), {}});
    const QString path = chosen.value(0);
    if (!path.isEmpty())
        chooseRing(kind, path);
}

bool PhoneSettingsWindow::chooseRing(RingKind kind, const QString &path)
{
    const QString problem = ringSourceProblem(path, &PhoneSettingsWindow::isPlayableAudio);
    if (!problem.isEmpty()) {
        message(problem);
        return false;
    }
    m_draft.chooseRing(kind, path);
    (kind == RingKind::Co ? m_coRing : m_icmRing)->setText(path);
    return true;
}

void PhoneSettingsWindow::clearRing(RingKind kind)
{
    m_draft.clearRing(kind);
    (kind == RingKind::Co ? m_coRing : m_icmRing)->clear();
}

bool PhoneSettingsWindow::listen(RingKind kind)
{
    const QString path = m_draft.ring(kind);
    if (path.isEmpty() || !m_services.ringPlayer)
        return false;
    m_previewing = m_services.ringPlayer->Play(path);
    return m_previewing;
}

bool PhoneSettingsWindow::save()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RingTargets targets{RingFilePath(m_services.dataFolder, true),
                              RingFilePath(m_services.dataFolder, false)};
    QString noDatabase = QString::fromLatin1(NoDatabaseText);
    if (m_services.database && !m_services.database->lastError().isEmpty())
        noDatabase = m_services.database->lastError();
    RingTonePlayer *player = m_services.ringPlayer;
    const SettingsSaveResult result = saveSettingsDraft(
        m_services.database, m_draft, targets,
        [this, player] {
            // The player lets the ring files go before they are replaced.
            if (player)
                player->Stop();
            m_previewing = false;
        },
        noDatabase);
    QApplication::restoreOverrideCursor();
    if (result.kind == SettingsSaveResult::Kind::Failed) {
        message(result.message);
        return false;
    }
    if (result.kind == SettingsSaveResult::Kind::Saved && m_services.settingsSaved)
        m_services.settingsSaved();
    close();
    return true;
}

void PhoneSettingsWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawPixmap(rect(), m_background);
}

void PhoneSettingsWindow::closeEvent(QCloseEvent *event)
{
    if (m_previewing && m_services.ringPlayer)
        m_services.ringPlayer->Stop();
    m_previewing = false;
    QDialog::closeEvent(event);
}

void PhoneSettingsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The buttons take their new texts after this window: sized once they have them.
        QMetaObject::invokeMethod(this, [this] {
            for (QRadioButton *radio : findChildren<QRadioButton *>())
                radio->resize(radio->sizeHint());
        }, Qt::QueuedConnection);
    }
    QDialog::changeEvent(event);
}

} // namespace dpx
