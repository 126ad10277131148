// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "addressbook/ContactRecord.h"
#include "addressbook/PhoneSettings.h"
#include "phone/DisplayModel.h"

#include <memory>

class QLabel;
class QMessageBox;

namespace dpx {

class AddressDatabase;
class BitmapSlider;
class CallerPopup;
class GifAnimation;
class GifTicker;
class MasterOutputVolume;
class RingTonePlayer;
class BoxLink;
class DataFolder;
class DialSequencer;
class KeyButton;
class Keypad;
class LcdPanel;
class PhoneTray;
class RecordingFlow;
class StatusLine;
class CGfxOutBarCtrl;
class PhoneBookTree;
class ToolWindows;
class TransferSession;
class ChatClientPrompt;

// What the main window works with; owned by the application, alive as long as the window.
struct PhoneServices {
    DataFolder *dataFolder = nullptr;
    AddressDatabase *database = nullptr; // may be closed: the window then runs without data
    BoxLink *box = nullptr;
    TransferSession *transfer = nullptr;  // the transfer into the box (owned by the program)
    bool verifyTransfers = true;
    std::function<bool(const QString &)> confirm; // scripts answer questions themselves
    QString databaseProblem;             // shown once on the status line when not empty
};

// The phone-shaped main window: mirrors the telephone, shows the program's status line and
// owns the notification icon.
class MainPhoneWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int StatusTimerMs = 1500;
    static constexpr int ClockTimerMs = 10000;
    static constexpr int FadeStepMs = 200;
    // The clicked folder-bar item flashes this fast before it acts (a quicker flash than the
    // bar's default, so a tool opens without a noticeable wait).
    static constexpr int FolderBarBlinkMs = 100;
    // A key pressed on the PC keyboard shows its pressed look this long.
    static constexpr int KeyboardPressLookMs = 150;

    explicit MainPhoneWindow(const PhoneServices &services, QWidget *parent = nullptr);
    ~MainPhoneWindow() override;

    void ShowStatusText(const QString &text);
    QString statusText() const { return m_statusText; }
    bool DetectBox();

    // Flags other parts of the program read.
    bool isDxPhone() const { return m_phoneTypeDx; }
    bool showsCallerCard() const { return m_showCallerCard; }
    // Takes the telephone type and the caller-card flag of a settings row at once.
    void applySettings(const PhoneSettings &settings);
    bool isBoxPresent() const;
    BoxLink *boxLink() const { return m_services.box; }
    bool isRecording() const { return m_recording; }
    void setRecording(bool recording) { m_recording = recording; }
    // While a transfer into the box runs, status texts stay until the next one (the transfer's
    // progress); the session keeps this flag.
    bool isTransferRunning() const { return m_transferRunning; }
    void setTransferRunning(bool running);
    bool isTransferWindowOpen() const;

    // Sends a key to the telephone; without a box says "USB設備錯誤!".
    void PressKey(int keyNumber);
    // Dials the phone-book tree's selected text after the outside-line code, its visual
    // separators dropped; a text that is not a number (digits and the pause letter p/P) is
    // refused.
    void DialSelectedContact(const QString &selectedText);
    // A dial request from outside (a tel: link or --dial): separators dropped, then dialled.
    void dialRequest(const QString &request);
    bool isDialling() const;
    static constexpr const char *InvalidNumberText = QT_TR_NOOP("該電話號碼不合法,不能撥出!");

    // The incoming call: number capture from the display, the lookup in the address book and
    // the caller alert (the ringing icon and the popup).
    void RingRequest(bool outsideLine, bool stop);
    RingTonePlayer &ringPlayer() { return *m_ringPlayer; }
    void StartNumberCapture();
    void LookUpCaller(const QString &number);
    void EndCallerAlert(bool answer);
    bool isCallerAlertPending() const { return m_callerAlertPending; }
    bool callerFound() const { return m_callerFound; }
    const ContactRecord &caller() const { return m_caller; }
    CallerPopup &callerPopup() { return *m_popup; }
    bool isCapturingNumber() const { return m_captureTimer.isActive(); }
    // How deep device events were ever handled inside one another: 1 once any was handled;
    // more means the handler ran again inside itself.
    int deepestDeviceEventNesting() const { return m_deepestDeviceEventNesting; }

    // A message for the user: a message box that does not block the telephone. One box per
    // text: the same text while its box is open raises that box. The caption is the window's
    // title, or the one given.
    void showMessage(const QString &text);
    void showCaptionedMessage(const QString &caption, const QString &text);
    int openMessageCount() const;
    QString lastMessage() const { return m_lastMessage; }

    // The tool windows (phone book, settings, ...), opened by a typed request.
    ToolWindows &toolWindows() const { return *m_toolWindows; }

    // Tool windows docked to the right edge follow the main window at this offset.
    void dockToolWindow(QWidget *window, QPoint offset);

    // Ends the window for good (the program is ending): closes it, stops the alert and the
    // ring, removes the icon. requestExit also asks the program to end (exitRequested).
    void shutDown();
    void requestExit();

    // Hides to the notification area (or minimises when there is none).
    void hideToTray();
    // Shows the window again, fading in over five steps.
    void fadeIn();
    int fadeLevel() const { return m_fadeLevel; }

    const DisplayModel &mirror() const { return m_model; }
    PhoneTray &tray() { return *m_tray; }
    LcdPanel &lcd() { return *m_lcd; }
    KeyButton *keyButton(int controlId) const { return m_keys.value(controlId); }
    GifAnimation *lamp(int lampNumber) const { return m_lamps.value(lampNumber); }
    int lampImage(int lampNumber) const { return m_lampImages.value(lampNumber); }
    BitmapSlider *volumeSlider() const { return m_volumeSlider; }
    CGfxOutBarCtrl *folderBar() const { return m_folderBar; }
    PhoneBookTree *phoneBookTree() const { return m_tree; }
    // Refills the phone-book tree of the folder bar from the address book.
    void FillPhoneBookTree();
    MasterOutputVolume &masterVolume() { return *m_volume; }
    // The record button's recording and saving.
    RecordingFlow &recordingFlow() { return *m_recordingFlow; }

Q_SIGNALS:
    void exitRequested();
    // A key of the telephone was clicked (its key number).
    void keyClicked(int keyNumber);
    // A ringing caller was found and the caller card is to be shown (posted).
    void showCallerCardRequested();
    // The fade-in reached a new level (0 when it starts, 100 when it is over).
    void fadeLevelChanged(int level);
    // For the call history: each event pair once the mirror has applied it, the number read
    // while it rang (with the contact's name when found), and each number DPX starts dialling.
    void deviceEventApplied(const dpx::DeviceEventEffects &effects);
    void callerNumberRead(const QString &number, const QString &name);
    void diallingStarted(const QString &number);

public Q_SLOTS:
    void OnDeviceEvent(quint8 code, quint8 value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void readSettings();
    void placeControls();
    void applyShape();
    void onBoxFound();
    void onBoxLost();
    void onBoxUnreadable();
    // Lasting problems (the box cannot be opened, the address book cannot be read) stay on
    // the status line whenever it has nothing else to say; empty text clears the slot.
    enum StandingSlot { StandingDatabase, StandingBox, StandingSlots };
    void setStandingStatus(int slot, const QString &text);
    void onStatusTimer();
    void onFadeStep();
    void refreshLcd();
    void refreshLamp(int lampNumber);
    void refreshKeyImages(int lampNumber);
    void syncCallTimers();
    void onRing(RingEvent ring);
    void onCaptureTick();
    void updatePopup();
    void onSliderMoved(int controlId, int position);
    void createFolderBar(const QRect &area);
    void retranslateFolderBar();
    void retranslate();
    void onPanelNotify(int code, int value);
    void openTool(quint32 itemValue);
    void followOutsideVolume(int volume);
    void showAbout();
    void startDialling(const QString &number);
    void createToolWindows();
    void onTransferWindowClosed();

    PhoneServices m_services;
    Keypad *m_keypad = nullptr;
    DialSequencer *m_dialer = nullptr;
    QString m_lastMessage;
    QHash<QString, QPointer<QMessageBox>> m_openMessages;
    bool m_shuttingDown = false;
    DisplayModel m_model;
    PhoneTray *m_tray = nullptr;
    StatusLine *m_status = nullptr;
    LcdPanel *m_lcd = nullptr;
    QHash<int, KeyButton *> m_keys;  // by control ID
    GifTicker *m_gifTicker = nullptr;
    QHash<int, GifAnimation *> m_lamps; // by lamp number
    QHash<int, int> m_lampImages;        // image shown by each lamp
    BitmapSlider *m_volumeSlider = nullptr;
    CGfxOutBarCtrl *m_folderBar = nullptr;
    PhoneBookTree *m_tree = nullptr;
    MasterOutputVolume *m_volume = nullptr;
    ToolWindows *m_toolWindows = nullptr;
    RecordingFlow *m_recordingFlow = nullptr;
    ChatClientPrompt *m_chatClient = nullptr; // made on first use
    QPixmap m_background;
    QHash<QString, QString> m_folderBarTexts; // the texts last given to folders and items

    bool m_phoneTypeDx = true;
    bool m_showCallerCard = true;
    bool m_firstPaint = true;
    bool m_recording = false;
    bool m_transferRunning = false;
    QString m_statusText;
    QString m_standingStatus[StandingSlots];
    bool m_toldBoxUnreadable = false;
    int m_fadeLevel = 100;

    QTimer m_statusTimer;      // clears the status line after StatusTimerMs
    QTimer m_clockTimer;       // redraws the clock every ClockTimerMs while it is shown
    QTimer m_fadeTimer;        // one fade-in step every FadeStepMs
    QTimer m_callDisplayTimer; // the call duration on the display, every second
    QTimer m_silentCountTimer; // counts the call timer's silent seconds
    QTimer m_captureTimer;     // reads the caller's number from line 2 while it rings

    CallerPopup *m_popup = nullptr;
    RingTonePlayer *m_ringPlayer = nullptr;
    bool m_callerAlertPending = false;
    bool m_callerFound = false;
    bool m_inCall = false; // from the first ring report to the end of the ringing
    int m_callNumber = 0;  // counts ended calls: a ring queued for an ended call is dropped
    int m_deviceEventNesting = 0;
    int m_deepestDeviceEventNesting = 0;
    ContactRecord m_caller;
    QString m_callerNumber;

    QList<QPair<QPointer<QWidget>, QPoint>> m_docked;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace dpx
