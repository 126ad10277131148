// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/TransferPlan.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;

namespace dpx {

class ImageButton;
class ReportListCtrl;
class SkinBitmapButton;
class TransferSession;

// Where the window picks files, gives each a slot and starts the transfer into the box; it
// also offers the factory default and, in its context menu, read-back, backup and restore.
// Progress goes to the main window's status line and to a slim bar here. The session belongs
// to the program: closing the window cancels a run, the run still cleans up.
class AudioTransferWindow : public QWidget {
    Q_OBJECT
public:
    struct Services {
        TransferSession *session = nullptr;
        QString dataFolder;
        std::function<bool()> isBoxPresent;
        std::function<void(const QString &)> showStatus;
        std::function<void(const QString &)> showMessage;
        // Asks a yes/no question (ConfirmDialog unless a script answers).
        std::function<bool(const QString &)> confirm;
    };

    static constexpr QPoint DockOffset{501, 313};

    explicit AudioTransferWindow(Services services, QWidget *parent = nullptr);
    ~AudioTransferWindow() override;

    // The buttons' actions, also for scripts and tests.
    bool addFile(const QString &path); // false (with "程式不支持這種格式!") for another kind of file
    void addFromDialog();
    void deleteSelected();
    void transferOrCancel();
    void factoryDefault();
    void setSlot(int row, int slot);
    void setVerify(bool verify) { m_verify = verify; }
    bool verify() const { return m_verify; }

    ReportListCtrl *list() const { return m_list; }
    QString pathOf(int row) const;
    SkinBitmapButton *transferButton() const { return m_transfer; }
    SkinBitmapButton *factoryButton() const { return m_factory; }
    SkinBitmapButton *addButton() const { return m_add; }
    SkinBitmapButton *deleteButton() const { return m_delete; }
    QString lastBrowseFolder() const { return m_browseFolder; }

    // The slot list's choices: "一般鈴聲", "音樂1" .. "音樂5".
    static QStringList slotNames();

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QPixmap titledBackground() const;
    void message(const QString &text);
    void start(const TransferPlan &plan, bool fromFactory);
    void onRunning(bool running);
    void onProgress(const TransferProgress &progress);
    void backupImage();
    void restoreImage();
    void layoutControls();

    Services m_services;
    QPixmap m_background;
    ReportListCtrl *m_list = nullptr;
    SkinBitmapButton *m_add = nullptr;
    SkinBitmapButton *m_delete = nullptr;
    SkinBitmapButton *m_transfer = nullptr;
    SkinBitmapButton *m_factory = nullptr;
    ImageButton *m_close = nullptr;
    ImageButton *m_minimise = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_barText = nullptr;
    QString m_browseFolder;
    bool m_verify = true;
    bool m_ownRun = false;     // the running transfer was started here
    bool m_factoryRun = false; // ... by 出廠值
    QElapsedTimer m_phaseClock;
    int m_phase = -1;
    QPoint m_dragOffset;
};

} // namespace dpx
