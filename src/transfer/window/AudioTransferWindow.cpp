// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/window/AudioTransferWindow.h"

#include "ui/Translated.h"

#include "transfer/AudioSourceFile.h"
#include "transfer/InfoTable.h"
#include "transfer/TransferPlans.h"
#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"
#include "ui/Art.h"
#include "ui/ConfirmDialog.h"
#include "ui/ImageButton.h"
#include "ui/ReportListCtrl.h"
#include "ui/SkinBitmapButton.h"
#include "ui/FileChooser.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>

namespace dpx {

namespace text = transfer_text;

namespace {
constexpr int ButtonBitmap = 132;
constexpr QSize DefaultSize{300, 275};
constexpr QRgb CloseKey = 0xFFFF00FF;
} // namespace

QStringList AudioTransferWindow::slotNames()
{
    QStringList names;
    for (int slot = 0; slot < InfoTable::SlotCount; ++slot)
        names << InfoTable::slotName(slot);
    return names;
}

AudioTransferWindow::AudioTransferWindow(Services services, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_services(std::move(services))
    , m_browseFolder(m_services.dataFolder)
{
    setObjectName(QStringLiteral("transfer"));
    setTranslated(this, "windowTitle", this, QT_TR_NOOP("音檔傳輸"));
    m_background = titledBackground();
    const QSize size = m_background.isNull() ? DefaultSize : m_background.deviceIndependentSize().toSize();
    setFixedSize(size.width() - 1, size.height()); // one pixel narrower than its picture

    m_list = new ReportListCtrl(this);
    m_list->setObjectName(QStringLiteral("1032"));
    m_list->setColumnSpec(tr("音檔名稱,150;傳輸位置,95"));
    m_list->listModel()->setCheckable(true);
    m_list->setChoiceColumn(1, slotNames(), 200);

    const auto makeButton = [this](const char *caption, const char *id) {
        auto *button = new SkinBitmapButton(QString(), this);
        setTranslated(button, "text", this, caption);
        button->setObjectName(QLatin1String(id));
        button->SetUp(ButtonBitmap, 5, 5, 5, 5, 4);
        return button;
    };
    m_add = makeButton(QT_TR_NOOP("增加"), "1030");
    m_delete = makeButton(QT_TR_NOOP("刪除"), "1010");
    m_transfer = makeButton(QT_TR_NOOP("傳輸"), "1031");
    m_factory = makeButton(QT_TR_NOOP("出廠值"), "1033");
    connect(m_add, &QPushButton::clicked, this, &AudioTransferWindow::addFromDialog);
    connect(m_delete, &QPushButton::clicked, this, &AudioTransferWindow::deleteSelected);
    connect(m_transfer, &QPushButton::clicked, this, &AudioTransferWindow::transferOrCancel);
    connect(m_factory, &QPushButton::clicked, this, &AudioTransferWindow::factoryDefault);

    m_close = new ImageButton(this);
    m_close->setObjectName(QStringLiteral("2"));
    m_close->LoadImages(artPixmap(QStringLiteral("transfer-close-hot")).toImage(), QColor::fromRgb(CloseKey),
                        artPixmap(QStringLiteral("transfer-close")).toImage(), QColor::fromRgb(CloseKey));
    m_close->UseParentBackground(false);
    m_close->SetDrawBorder(false);
    m_close->SetTipText(tr("關閉"), true);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    m_minimise = new ImageButton(this); // hidden; Enter minimises the window
    m_minimise->setObjectName(QStringLiteral("1028"));
    m_minimise->setDefault(true);
    m_minimise->hide();
    connect(m_minimise, &QPushButton::clicked, this, &QWidget::showMinimized);

    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setRange(0, 1000);
    m_bar->setValue(0);
    m_barText = new QLabel(this);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_barText->setFont(small);
    m_bar->hide();
    m_barText->hide();
    layoutControls();

    if (m_services.session) {
        connect(m_services.session, &TransferSession::runningChanged, this, &AudioTransferWindow::onRunning);
        connect(m_services.session, &TransferSession::progress, this, &AudioTransferWindow::onProgress);
        connect(m_services.session, &TransferSession::message, this, [this](const QString &t) {
            if (m_ownRun)
                message(t);
        });
        onRunning(m_services.session->isRunning());
    }
}

AudioTransferWindow::~AudioTransferWindow() = default;

void AudioTransferWindow::layoutControls()
{
    const int w = width();
    const int h = height();
    m_close->setGeometry(w - 24, 4, 20, 20);
    m_list->setGeometry(10, 30, w - 20, h - 104);
    m_bar->setGeometry(10, h - 70, w - 20, 6);
    m_barText->setGeometry(10, h - 62, w - 20, 16);
    const int buttonWidth = (w - 20 - 3 * 8) / 4;
    int x = 10;
    for (SkinBitmapButton *button : {m_add, m_delete, m_transfer, m_factory}) {
        button->setGeometry(x, h - 38, buttonWidth, 26);
        x += buttonWidth + 8;
    }
}

QString AudioTransferWindow::pathOf(int row) const
{
    return m_list->listModel()->rowData(row).toString();
}

void AudioTransferWindow::message(const QString &text)
{
    if (m_services.showMessage)
        m_services.showMessage(text);
}

bool AudioTransferWindow::addFile(const QString &path)
{
    // A .raw file in any case, or a WAVE file in the box's own format.
    const AudioSourceFile source(path, 0, 0);
    if (source.error() == QCoreApplication::translate("AudioSourceFile", AudioSourceFile::FormatNotSupported)
        || (!source.isOpen() && !QFileInfo(path).isFile())) {
        message(QCoreApplication::translate("AudioSourceFile", AudioSourceFile::FormatNotSupported));
        return false;
    }
    m_browseFolder = QFileInfo(path).absolutePath();
    ReportListModel::Row row;
    row.cells = {QFileInfo(path).fileName(), QString()};
    row.data = QFileInfo(path).absoluteFilePath();
    row.checked = true;
    m_list->listModel()->appendRow(row);
    return true;
}

void AudioTransferWindow::addFromDialog()
{
    for (;;) {
        // "All Files" also lists names without a dot.
        const QString path =
            chooseFiles(this, {FileRequest::Mode::Open, {}, m_browseFolder, {},
                               {QStringLiteral("Windows Audio Files (*.raw *.wav)"), QStringLiteral("All Files(*.*) (*)")}, {}})
                .value(0);
        if (path.isEmpty() || addFile(path))
            return; // one file per press
    }
}

void AudioTransferWindow::deleteSelected()
{
    const QList<int> rows = m_list->selectedRows();
    if (m_list->rowCount() > 0 && !rows.isEmpty())
        m_list->listModel()->removeRow(rows.first());
}

void AudioTransferWindow::setSlot(int row, int slot)
{
    m_list->listModel()->setCell(row, 1, InfoTable::slotName(slot));
}

void AudioTransferWindow::start(const TransferPlan &plan, bool fromFactory)
{
    if (!m_services.session)
        return;
    m_ownRun = true;
    m_factoryRun = fromFactory;
    if (!m_services.session->start(plan)) {
        m_ownRun = false;
        message(QStringLiteral("A transfer into the box is running: try again when it has ended."));
    }
}

void AudioTransferWindow::transferOrCancel()
{
    if (m_services.isBoxPresent && !m_services.isBoxPresent()) {
        message(text::usbError());
        return;
    }
    if (m_services.session && m_services.session->isRunning()) {
        m_services.session->cancel();
        return;
    }
    m_list->commitChoice();
    const ReportListModel *model = m_list->listModel();
    QList<SlotJob> jobs;
    // Jobs in the order the list shows them (a heading click sorts the rows themselves, each
    // path with its row); every checked row is one.
    for (int row = 0; row < model->rowCount(); ++row) {
        if (!model->isChecked(row))
            continue;
        const QString name = model->cell(row, 0);
        const std::optional<int> slot = InfoTable::slotFromName(model->cell(row, 1));
        if (!slot) {
            message(text::noSlotChosen(name));
            return;
        }
        jobs.append({pathOf(row), *slot, name});
    }
    if (jobs.isEmpty()) {
        message(text::noFileChecked());
        return;
    }
    const PlanOrRefusal plan = TransferPlans::slots(jobs, m_verify);
    if (!plan.plan) {
        for (const QString &m : plan.messages)
            message(m);
        return;
    }
    start(*plan.plan, false);
}

void AudioTransferWindow::factoryDefault()
{
    if (m_services.session && m_services.session->isRunning()) {
        m_services.session->cancel(); // while a transfer runs the button only cancels
        return;
    }
    if (m_services.isBoxPresent && !m_services.isBoxPresent()) {
        message(text::noDevice());
        return;
    }
    const bool sure = m_services.confirm ? m_services.confirm(text::confirmFactory())
                                         : ConfirmDialog::ask(this, text::confirmFactory());
    if (!sure) {
        if (m_services.showStatus)
            m_services.showStatus(QString());
        return;
    }
    if (m_services.showStatus)
        m_services.showStatus(text::buildingTable());
    const PlanOrRefusal plan = TransferPlans::factoryDefault(m_services.dataFolder, m_verify);
    if (!plan.plan) {
        for (const QString &m : plan.messages)
            message(m);
        if (m_services.showStatus)
            m_services.showStatus(QString());
        return;
    }
    start(*plan.plan, true);
}

void AudioTransferWindow::onRunning(bool running)
{
    setTranslated(m_transfer, "text", this, running ? QT_TR_NOOP("取消") : QT_TR_NOOP("傳輸"));
    m_add->setEnabled(!running);
    m_delete->setEnabled(!running);
    // A factory run may be cancelled with its own button.
    m_factory->setEnabled(!running || m_factoryRun);
    m_bar->setVisible(running);
    m_barText->setVisible(running);
    if (!running) {
        m_ownRun = false;
        m_factoryRun = false;
        m_phase = -1;
        m_bar->setValue(0);
    }
}

void AudioTransferWindow::onProgress(const TransferProgress &progress)
{
    if (int(progress.phase) != m_phase) {
        m_phase = int(progress.phase);
        m_phaseClock.start();
    }
    const qint64 total = std::max<qint64>(progress.total, 1);
    m_bar->setValue(int(progress.done * 1000 / total));
    static const char *const phases[] = {QT_TR_NOOP("擦除"), QT_TR_NOOP("寫入"), QT_TR_NOOP("校驗"),
                                         QT_TR_NOOP("讀取"), QT_TR_NOOP("信息表")};
    QString line = QStringLiteral("%1 %2").arg(progress.name, tr(phases[m_phase]));
    if (progress.phase != TransferProgress::Phase::Erase)
        line += QStringLiteral("  %1/%2 KB").arg(progress.done / 1024).arg(progress.total / 1024);
    const qint64 elapsed = m_phaseClock.elapsed();
    if (progress.done > 0 && elapsed > 500) {
        const qint64 left = elapsed * (progress.total - progress.done) / progress.done / 1000;
        line += QStringLiteral("  %1 s").arg(left);
    }
    m_barText->setText(line);
}

void AudioTransferWindow::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *verify = menu.addAction(tr("寫入後讀回校驗"));
    verify->setCheckable(true);
    verify->setChecked(m_verify);
    connect(verify, &QAction::toggled, this, [this](bool on) { m_verify = on; });
    menu.addSeparator();
    const bool idle = !m_services.session || !m_services.session->isRunning();
    menu.addAction(tr("備份EEPROM..."), this, &AudioTransferWindow::backupImage)->setEnabled(idle);
    menu.addAction(tr("還原EEPROM..."), this, &AudioTransferWindow::restoreImage)->setEnabled(idle);
    menu.exec(event->globalPos());
}

void AudioTransferWindow::backupImage()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), m_browseFolder,
                                                      QStringLiteral("EEPROM (*.img);;All Files(*.*)"));
    if (path.isEmpty())
        return;
    const PlanOrRefusal plan = TransferPlans::backup(path);
    if (plan.plan)
        start(*plan.plan, false);
    else
        message(plan.messages.join(QLatin1Char('\n')));
}

void AudioTransferWindow::restoreImage()
{
    const QString path =
        chooseFiles(this, {FileRequest::Mode::Open, {}, m_browseFolder, {},
                           {QStringLiteral("EEPROM (*.img)"), QStringLiteral("All Files(*.*) (*)")}, {}})
            .value(0);
    if (path.isEmpty())
        return;
    const PlanOrRefusal plan = TransferPlans::restore(path, m_verify);
    if (!plan.plan) {
        message(plan.messages.join(QLatin1Char('\n')));
        return;
    }
    const QString question = tr("注意!! %1").arg(QFileInfo(path).fileName());
    if (m_services.confirm ? m_services.confirm(question) : ConfirmDialog::ask(this, question))
        start(*plan.plan, false);
}

void AudioTransferWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(0, 0, m_background);
    else
        painter.fillRect(rect(), palette().window());
}

void AudioTransferWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_minimise->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AudioTransferWindow::mousePressEvent(QMouseEvent *event)
{
    // A press anywhere else drags the window, as on a caption.
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(event);
}

void AudioTransferWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QWidget::mouseMoveEvent(event);
}

void AudioTransferWindow::closeEvent(QCloseEvent *event)
{
    m_list->commitChoice();
    if (m_services.session && m_services.session->isRunning() && m_ownRun)
        m_services.session->cancel(); // the session outlives the window and cleans up
    if (m_services.showStatus)
        m_services.showStatus(QString());
    QWidget::closeEvent(event);
}

QPixmap AudioTransferWindow::titledBackground() const
{
    // The title is part of the art: each language has its own picture.
    const QPixmap titled = artPixmap(tr("152", "the name of the background art with the title in this language"));
    return titled.isNull() ? artPixmap(QStringLiteral("152")) : titled;
}

void AudioTransferWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_list) {
        m_list->setColumnHeadings(tr("音檔名稱,150;傳輸位置,95"));
        m_background = titledBackground();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace dpx
