// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx::transfer_text {

// The program's own texts of the transfer, exactly as the user sees them.
inline QString openFailed() { return QStringLiteral("打開設備錯誤"); }
inline QString linkFailed() { return QStringLiteral("USB設備錯誤"); }
inline QString usbError() { return QStringLiteral("USB設備錯誤!"); }
inline QString startInit() { return QStringLiteral("初始化EEPROM..."); }
inline QString eepromOffText() { return QStringLiteral("禁止EEPROM"); }
inline QString stopped() { return QStringLiteral("停止傳輸"); }
inline QString starting() { return QStringLiteral("開始傳輸..."); }
inline QString readingTable() { return QStringLiteral("接收音檔信息表..."); }
inline QString tableNotInitialized() { return QStringLiteral("請先初始化信息列表!"); }
inline QString tableNotInitializedStatus() { return QStringLiteral("請先初始化信息列表..."); }
inline QString tableReadFailed() { return QStringLiteral("接受信息列表錯誤!"); }
inline QString tableReadFailedStatus() { return QStringLiteral("接受音檔信息列表錯誤..."); }
inline QString erasing() { return QStringLiteral("擦除EEPROM..."); }
inline QString updatingTable() { return QStringLiteral("更新音檔信息表..."); }
inline QString progress(int percent) { return QStringLiteral("傳輸:%1%").arg(percent); }
inline QString fileFailed(const QString &name) { return QStringLiteral("傳輸 %1 錯誤").arg(name); }
inline QString writingTable() { return QStringLiteral("傳輸音檔信息列表..."); }
inline QString tableWriteFailed() { return QStringLiteral("初始化信息列表錯誤!"); }
inline QString tableWritten() { return QStringLiteral("完成初始化信息列表"); }
inline QString buildingTable() { return QStringLiteral("初始化音檔信息表...."); }
inline QString noInfoIni() { return QStringLiteral("找不到默認配置文檔."); }
inline QString noDevice() { return QStringLiteral("沒有設備"); }
inline QString factoryFileMissing(const QString &shown)
{
    return QStringLiteral("歌曲文件%1沒有找到!").arg(shown);
}
inline QString factoryFilesLost() { return QStringLiteral("歌曲文件丟失﹐初始化歌曲失敗﹗"); }
inline QString noFileChecked() { return QStringLiteral("請選擇傳輸音檔!"); }
inline QString noSlotChosen(const QString &name)
{
    return QStringLiteral("請選擇歌曲%1的傳輸位置!").arg(name);
}
inline QString confirmTitle() { return QStringLiteral("音檔傳輸程式 警告..."); }
inline QString confirmFactory() { return QStringLiteral("注意!!"); }

} // namespace dpx::transfer_text
