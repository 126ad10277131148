// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

namespace dpx::transfer_text {

// The program's own texts of the transfer, exactly as the user sees them.
inline QString openFailed() { return QCoreApplication::translate("TransferTexts", "打開設備錯誤"); }
inline QString linkFailed() { return QCoreApplication::translate("TransferTexts", "USB設備錯誤"); }
inline QString usbError() { return QCoreApplication::translate("TransferTexts", "USB設備錯誤!"); }
inline QString startInit() { return QCoreApplication::translate("TransferTexts", "初始化EEPROM..."); }
inline QString eepromOffText() { return QCoreApplication::translate("TransferTexts", "禁止EEPROM"); }
inline QString stopped() { return QCoreApplication::translate("TransferTexts", "停止傳輸"); }
inline QString starting() { return QCoreApplication::translate("TransferTexts", "開始傳輸..."); }
inline QString readingTable() { return QCoreApplication::translate("TransferTexts", "接收音檔信息表..."); }
inline QString tableNotInitialized() { return QCoreApplication::translate("TransferTexts", "請先初始化信息列表!"); }
inline QString tableNotInitializedStatus() { return QCoreApplication::translate("TransferTexts", "請先初始化信息列表..."); }
inline QString tableReadFailed() { return QCoreApplication::translate("TransferTexts", "接受信息列表錯誤!"); }
inline QString tableReadFailedStatus() { return QCoreApplication::translate("TransferTexts", "接受音檔信息列表錯誤..."); }
inline QString erasing() { return QCoreApplication::translate("TransferTexts", "擦除EEPROM..."); }
inline QString updatingTable() { return QCoreApplication::translate("TransferTexts", "更新音檔信息表..."); }
inline QString progress(int percent) { return QCoreApplication::translate("TransferTexts", "傳輸:%1%").arg(percent); }
inline QString fileFailed(const QString &name) { return QCoreApplication::translate("TransferTexts", "傳輸 %1 錯誤").arg(name); }
inline QString writingTable() { return QCoreApplication::translate("TransferTexts", "傳輸音檔信息列表..."); }
inline QString tableWriteFailed() { return QCoreApplication::translate("TransferTexts", "初始化信息列表錯誤!"); }
inline QString tableWritten() { return QCoreApplication::translate("TransferTexts", "完成初始化信息列表"); }
inline QString buildingTable() { return QCoreApplication::translate("TransferTexts", "初始化音檔信息表...."); }
inline QString noInfoIni() { return QCoreApplication::translate("TransferTexts", "找不到默認配置文檔."); }
inline QString noDevice() { return QCoreApplication::translate("TransferTexts", "沒有設備"); }
inline QString factoryFileMissing(const QString &shown)
{
    return QCoreApplication::translate("TransferTexts", "歌曲文件%1沒有找到!").arg(shown);
}
inline QString factoryFilesLost() { return QCoreApplication::translate("TransferTexts", "歌曲文件丟失﹐初始化歌曲失敗﹗"); }
inline QString noFileChecked() { return QCoreApplication::translate("TransferTexts", "請選擇傳輸音檔!"); }
inline QString noSlotChosen(const QString &name)
{
    return QCoreApplication::translate("TransferTexts", "請選擇歌曲%1的傳輸位置!").arg(name);
}
inline QString confirmTitle() { return QCoreApplication::translate("TransferTexts", "音檔傳輸程式 警告..."); }
inline QString confirmFactory() { return QCoreApplication::translate("TransferTexts", "注意!!"); }

} // namespace dpx::transfer_text
