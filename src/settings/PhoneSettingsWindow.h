// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SettingsDraft.h"

#include <QDialog>
#include <QPixmap>

#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace dpx {

class AddressDatabase;
class RingTonePlayer;
class SkinBitmapButton;

struct PhoneSettingsServices {
    AddressDatabase *database = nullptr; // may be closed
    QString dataFolder;                  // where "co.mp3" and "icm.mp3" go
    RingTonePlayer *ringPlayer = nullptr;
    std::function<void(const QString &)> showMessage;
    std::function<void()> settingsSaved; // the main window takes the new row
};

// "話機設定": whether the caller's card is shown, the telephone type, the outside-line code
// and the PC ring files. Edits stay in the window until 儲存; a save writes only what changed,
// installs the chosen rings, and closes; a save that fails keeps the window and its entries.
class PhoneSettingsWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 340;
    static constexpr int Height = 340;
    static constexpr const char *NoDatabaseText = "No address database: working without contacts.";

    explicit PhoneSettingsWindow(PhoneSettingsServices services, QWidget *parent = nullptr);
    ~PhoneSettingsWindow() override;

    const SettingsDraft &draft() const { return m_draft; }
    // A ring file picked by the user (瀏灠): checked, then shown; a refused file keeps the
    // previous choice and shows why. True when taken.
    bool chooseRing(RingKind kind, const QString &path);
    void clearRing(RingKind kind); // 刪除
    bool listen(RingKind kind);    // 試聽: plays the chosen file once
    // 儲存; true when the window closes.
    bool save();
    QString lastMessage() const { return m_lastMessage; }

    // Whether a file can be played as a ring (decodable audio).
    static bool isPlayableAudio(const QString &path);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void showDraft();
    void browse(RingKind kind);
    void message(const QString &text);
    SkinBitmapButton *button(const char *caption, const char *name); // caption: a QT_TR_NOOP text

    PhoneSettingsServices m_services;
    SettingsDraft m_draft;
    QPixmap m_background;
    QRadioButton *m_hideCard = nullptr;
    QRadioButton *m_showCard = nullptr;
    QRadioButton *m_dx = nullptr;
    QRadioButton *m_sd = nullptr;
    QLineEdit *m_lineCode = nullptr;
    QLineEdit *m_coRing = nullptr;
    QLineEdit *m_icmRing = nullptr;
    QString m_lastMessage;
    bool m_previewing = false;
};

} // namespace dpx
