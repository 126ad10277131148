// SPDX-License-Identifier: GPL-3.0-or-later
// The phone settings window and the looks, measured on the real windows (offscreen). Each
// figure is printed with the reference it is compared with, measured in the same run.
#include "addressbook/AddressDatabase.h"
#include "addressbook/ContactColumns.h"
#include "BenchData.h"
#include "app/DataFolder.h"
#include "app/MainPhoneWindow.h"
#include "app/ToolWindows.h"
#include "settings/PhoneSettingsWindow.h"
#include "settings/Themes.h"
#include "ui/FolderBar.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "BenchTiming.h"

using namespace dpx;

namespace {

using bench::median;
using bench::timeMs;

// The same controls in a plain dialog: no bitmaps, no database.
QDialog *plainSettingsDialog()
{
    auto *dialog = new QDialog;
    dialog->setFixedSize(PhoneSettingsWindow::Width, PhoneSettingsWindow::Height);
    for (const char *text : {"來電時顯示連絡人資訊", "電話類型:", "佔外線代碼:", "外線鈴聲選擇:", "內線鈴聲選擇:"})
        new QLabel(QString::fromUtf8(text), dialog);
    for (const char *text : {"不顯示", "顯示", "DX", "SD"})
        new QRadioButton(QString::fromUtf8(text), dialog);
    for (int i = 0; i < 3; ++i)
        new QLineEdit(dialog);
    for (const char *text : {"瀏灠", "刪除", "試聽", "瀏灠", "刪除", "試聽", "儲存"})
        new QPushButton(QString::fromUtf8(text), dialog);
    return dialog;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Themes::apply(6);
    bench::BenchData bench;
    if (!bench.open())
        return 1;
    DataFolder &data = bench.folder;
    AddressDatabase &db = bench.db;
    PhoneServices services;
    services.dataFolder = &data;
    services.database = &db;
    MainPhoneWindow window(services);
    window.show();
    ToolWindows &tools = window.toolWindows();

    // 1. 話機配置: window built, row read, first paint.
    QList<double> open, plain;
    for (int i = 0; i < 30; ++i) {
        open << timeMs([&] { tools.open(ToolWindow::Settings)->grab(); });
        tools.close(ToolWindow::Settings);
        QCoreApplication::processEvents(); // the closed window is deleted
        plain << timeMs([&] {
            QDialog *dialog = plainSettingsDialog();
            dialog->show();
            dialog->grab();
            delete dialog;
        });
    }
    std::printf("settings window opened and painted: median %.2f ms; plain dialog with the same "
                "controls: %.2f ms (target <= 100 ms)\n", median(open), median(plain));

    // 2. A look applied with the telephone, the settings window and a 10 000-contact tree open.
    db.Execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < 10000; ++i) {
        ContactRecord c;
        c.setText(ContactColumn::Name, QStringLiteral("Contact %1").arg(i, 5, 10, QLatin1Char('0')));
        c.setText(ContactColumn::MobileTelephoneNumber, QStringLiteral("09%1").arg(20000000 + i));
        db.insertContact(c);
    }
    db.Execute(QStringLiteral("COMMIT"));
    window.folderBar()->SelectFolder(1);
    window.FillPhoneBookTree();
    QWidget *settings = tools.open(ToolWindow::Settings);
    const auto repaintAll = [&] {
        window.grab();
        settings->grab();
    };
    QList<double> apply, repaint;
    for (int i = 0; i < 14; ++i) {
        apply << timeMs([&] {
            Themes::apply(i % 7);
            repaintAll();
        });
        repaint << timeMs(repaintAll);
    }
    std::printf("look applied, every window repainted (10 000 contacts in the tree): median %.2f ms; "
                "repaint without a change of look: %.2f ms (target <= 100 ms)\n",
                median(apply), median(repaint));
    return 0;
}
