<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>AudioSourceFile</name>
    <message>
        <source>程式不支持這種格式!</source>
        <translation>This file format is not supported!</translation>
    </message>
</context>
<context>
    <name>CallActions</name>
    <message>
        <source>來電動作未執行: %1</source>
        <translation>Call action not run: %1</translation>
    </message>
    <message>
        <source>動作 %1: %2</source>
        <translation>Action %1: %2</translation>
    </message>
</context>
<context>
    <name>ChatClient</name>
    <message>
        <source>错误:无法打开相关的hKEY!</source>
        <translation>Error: cannot open the settings key!</translation>
    </message>
    <message>
        <source>错误:无法查询有关注册表信息!</source>
        <translation>Error: cannot read the settings!</translation>
    </message>
    <message>
        <source>请先安装Skype软件!</source>
        <translation>Please install Skype first!</translation>
    </message>
    <message>
        <source>该账户权限不够,不能使用skype!</source>
        <translation>This account may not use Skype!</translation>
    </message>
    <message>
        <source>SKype启动失败!</source>
        <translation>Skype did not start!</translation>
    </message>
    <message>
        <source>没有找到</source>
        <translation>Not found</translation>
    </message>
</context>
<context>
    <name>ContactImport</name>
    <message>
        <source>第 %1 行:未匯入的電話號碼 %2 (%3)</source>
        <translation>Line %1: phone number not imported %2 (%3)</translation>
    </message>
    <message>
        <source>第 %1 行:%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>找不到檔案</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>不是檔案</source>
        <translation>Not a file</translation>
    </message>
    <message>
        <source>檔案超過 128 MiB</source>
        <translation>File larger than 128 MiB</translation>
    </message>
    <message>
        <source>內容不是有效的 %1 文字</source>
        <translation>The contents are not valid %1 text</translation>
    </message>
    <message>
        <source>標題列沒有可辨識的欄位</source>
        <translation>No known fields in the heading row</translation>
    </message>
    <message>
        <source>略過空白列</source>
        <translation>Empty row skipped</translation>
    </message>
    <message>
        <source>匯入已取消:</source>
        <translation>Import cancelled: </translation>
    </message>
    <message>
        <source>匯入完成:</source>
        <translation>Import done: </translation>
    </message>
    <message>
        <source>新增 %1 位連絡人,略過重複 %2 位,無法讀取 %3 筆。</source>
        <translation>%1 contacts added, %2 duplicates skipped, %3 entries unreadable.</translation>
    </message>
    <message>
        <source>找不到通訊錄資料庫</source>
        <translation>Phone book database not found</translation>
    </message>
    <message>
        <source>欄位比標題列多 (%1 &gt; %2)</source>
        <translation>More fields than the heading row (%1 &gt; %2)</translation>
    </message>
    <message>
        <source>未匯入的地址 </source>
        <translation>Address not imported: </translation>
    </message>
    <message>
        <source>略過空白的連絡人</source>
        <translation>Empty contact skipped</translation>
    </message>
    <message>
        <source>第 %1 行起的引號沒有結束</source>
        <translation>The quote opened on line %1 is never closed</translation>
    </message>
    <message>
        <source>quoted-printable 編碼錯誤</source>
        <translation>Bad quoted-printable encoding</translation>
    </message>
    <message>
        <source>base64 編碼錯誤</source>
        <translation>Bad base64 encoding</translation>
    </message>
    <message>
        <source>不明的 ENCODING「%1」</source>
        <translation>Unknown ENCODING &quot;%1&quot;</translation>
    </message>
    <message>
        <source>不明的 CHARSET「%1」</source>
        <translation>Unknown CHARSET &quot;%1&quot;</translation>
    </message>
    <message>
        <source>略過群組</source>
        <translation>Group skipped</translation>
    </message>
    <message>
        <source>此行沒有「:」</source>
        <translation>No &quot;:&quot; on this line</translation>
    </message>
    <message>
        <source>此行沒有屬性名稱</source>
        <translation>No property name on this line</translation>
    </message>
    <message>
        <source>一行超過 16 MiB</source>
        <translation>A line longer than 16 MiB</translation>
    </message>
    <message>
        <source>巢狀超過 %1 層</source>
        <translation>Nested more than %1 levels</translation>
    </message>
    <message>
        <source>缺少 END:VCARD</source>
        <translation>END:VCARD missing</translation>
    </message>
    <message>
        <source>已匯出 %1 位連絡人</source>
        <translation>%1 contacts exported</translation>
    </message>
</context>
<context>
    <name>ConvertJob</name>
    <message>
        <source>音檔轉換失敗!</source>
        <translation>Audio conversion failed!</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>無法建立資料夾 %1。</source>
        <translation>Cannot create the folder %1.</translation>
    </message>
    <message>
        <source>資料夾 %1 無法寫入。</source>
        <translation>Cannot write to the folder %1.</translation>
    </message>
    <message>
        <source>無法建立通訊簿資料庫:%1</source>
        <translation>Cannot create the phone book database: %1</translation>
    </message>
    <message>
        <source>無法寫入預設檔案 %1。</source>
        <translation>Cannot write the default file %1.</translation>
    </message>
</context>
<context>
    <name>FolderCommand</name>
    <message>
        <source>音檔轉換</source>
        <translation>Audio converter</translation>
    </message>
    <message>
        <source>音檔傳輸</source>
        <translation>Transfer to phone</translation>
    </message>
    <message>
        <source>話機配置</source>
        <translation>Phone settings</translation>
    </message>
    <message>
        <source>Skin</source>
        <translation>Skin</translation>
    </message>
    <message>
        <source>網路電話</source>
        <translation>Internet phone</translation>
    </message>
    <message>
        <source>通話記錄</source>
        <translation>Call history</translation>
    </message>
    <message>
        <source>來電動作</source>
        <translation>Call actions</translation>
    </message>
</context>
<context>
    <name>Keypad</name>
    <message>
        <source>USB設備錯誤!</source>
        <translation>USB device error!</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>DPX - VKS 按鍵電話的桌面助手</source>
        <translation>DPX - desktop companion for the VKS key telephone</translation>
    </message>
    <message>
        <source>顯示這份說明後結束。</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>顯示版本後結束。</source>
        <translation>Show the version and exit.</translation>
    </message>
    <message>
        <source>使用模擬電話機執行。</source>
        <translation>Run against the simulated telephone.</translation>
    </message>
    <message>
        <source>所有資料存放在 DIR。</source>
        <translation>Keep all data in DIR.</translation>
    </message>
    <message>
        <source>執行電話操作腳本(同時啟用 --simulate)。</source>
        <translation>Run a script of telephone actions (implies --simulate).</translation>
    </message>
    <message>
        <source>用桌上電話撥打 NUMBER。</source>
        <translation>Dial NUMBER on the desk telephone.</translation>
    </message>
    <message>
        <source>把與電話盒往來的每份報告寫入 FILE。</source>
        <translation>Write every report exchanged with the box to FILE.</translation>
    </message>
    <message>
        <source>重播記錄檔 FILE 中電話盒的一方,並檢查 DPX 寫出的內容。</source>
        <translation>Play the box&apos;s side of a trace FILE and check what DPX writes.</translation>
    </message>
    <message>
        <source>以記錄速度的 N 倍重播(預設 1)。</source>
        <translation>Replay N times faster than recorded (default 1).</translation>
    </message>
    <message>
        <source>把帶時間戳記的診斷訊息寫入 FILE。</source>
        <translation>Write diagnostics with time stamps to FILE.</translation>
    </message>
    <message>
        <source>模擬電話盒的 EEPROM 存放在 FILE,4 MiB 的映像檔(同時啟用 --simulate)。</source>
        <translation>Keep the simulated box&apos;s EEPROM in FILE, a 4 MiB image (implies --simulate).</translation>
    </message>
    <message>
        <source>把電話盒的整個 EEPROM 存入 FILE(4 MiB)。</source>
        <translation>Save the box&apos;s whole EEPROM into FILE (4 MiB).</translation>
    </message>
    <message>
        <source>把 EEPROM 映像檔 FILE 寫回電話盒。</source>
        <translation>Write an EEPROM image FILE back into the box.</translation>
    </message>
    <message>
        <source>把 FILE(.raw 或 16 kHz 單聲道 mu-law WAVE)載入 SLOT:0 = 鈴聲,1-5 = 音樂。可重複。</source>
        <translation>Load FILE (.raw or mu-law 16 kHz mono WAVE) into SLOT: 0 = ring, 1-5 = music. Repeatable.</translation>
    </message>
    <message>
        <source>把出廠列表和六個出廠檔案寫入電話盒。</source>
        <translation>Write the factory table and the six factory files into the box.</translation>
    </message>
    <message>
        <source>寫入後不從電話盒讀回核對。</source>
        <translation>Do not read written data back from the box.</translation>
    </message>
    <message>
        <source>從 vCard 或 CSV 檔案匯入聯絡人(FILE 及其後的檔案);已有的聯絡人略過。</source>
        <translation>Import contacts from vCard or CSV files (FILE and the files after it); contacts already present are skipped.</translation>
    </message>
    <message>
        <source>把所有聯絡人以 vCard 3.0 匯出到 FILE。</source>
        <translation>Export every contact to FILE as vCard 3.0.</translation>
    </message>
    <message>
        <source>把音檔 IN(WAV、MP3 ...)的一段轉成電話盒的 raw 格式:dpx --convert IN OUT.raw [--start M:SS] [--length SECONDS]。</source>
        <translation>Convert a part of the sound file IN (WAV, MP3, ...) into the box&apos;s raw format: dpx --convert IN OUT.raw [--start M:SS] [--length SECONDS].</translation>
    </message>
    <message>
        <source>--convert 的起點(預設 0:00)。</source>
        <translation>Where --convert starts (default 0:00).</translation>
    </message>
    <message>
        <source>--convert 擷取的秒數,最多 36(預設:到結尾,最多 36)。</source>
        <translation>Seconds --convert takes, at most 36 (default: to the end, at most 36).</translation>
    </message>
    <message>
        <source>介面語言 LANG:zh_TW(繁體中文,預設)或 en(English)。</source>
        <translation>Interface language LANG: zh_TW (繁體中文, the default) or en (English).</translation>
    </message>
    <message>
        <source>要撥打的 tel: 網址。</source>
        <translation>A tel: URL to dial.</translation>
    </message>
    <message>
        <source>--load-ring 需要 SLOT=FILE,SLOT 為 0(鈴聲)到 5:%1</source>
        <translation>--load-ring wants SLOT=FILE with SLOT 0 (ring) to 5: %1</translation>
    </message>
    <message>
        <source>--convert 需要 IN 和 OUT:dpx --convert IN OUT.raw</source>
        <translation>--convert wants IN and OUT: dpx --convert IN OUT.raw</translation>
    </message>
    <message>
        <source>--start 需要 M:SS,例如 1:05:%1</source>
        <translation>--start wants M:SS, e.g. 1:05: %1</translation>
    </message>
    <message>
        <source>--length 需要大於 0、最多 36 的秒數:%1</source>
        <translation>--length wants seconds above 0 and at most 36: %1</translation>
    </message>
    <message>
        <source>--start 和 --length 只能與 --convert 一起使用。</source>
        <translation>--start and --length go with --convert.</translation>
    </message>
    <message>
        <source>--eeprom-backup、--eeprom-restore、--load-ring、--factory-default、--convert、--import 和 --export-vcard 一次只能選一個。</source>
        <translation>Choose one of --eeprom-backup, --eeprom-restore, --load-ring, --factory-default, --convert, --import and --export-vcard at a time.</translation>
    </message>
    <message>
        <source>--eeprom-backup 需要檔名。</source>
        <translation>--eeprom-backup wants a file name.</translation>
    </message>
    <message>
        <source>--eeprom-restore 需要檔名。</source>
        <translation>--eeprom-restore wants a file name.</translation>
    </message>
    <message>
        <source>--import 需要至少一個檔名。</source>
        <translation>--import wants at least one file name.</translation>
    </message>
    <message>
        <source>--export-vcard 需要檔名。</source>
        <translation>--export-vcard wants a file name.</translation>
    </message>
    <message>
        <source>--replay-speed 需要大於 0 的數字(最多 1000)</source>
        <translation>--replay-speed needs a number above 0 (up to 1000)</translation>
    </message>
    <message>
        <source>多餘的參數:%1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
</context>
<context>
    <name>PhoneApp</name>
    <message>
        <source>找不到通訊簿資料庫,來電不會顯示姓名。</source>
        <translation>Phone book database not found: callers will show without names.</translation>
    </message>
    <message>
        <source>通訊簿資料庫無法開啟,來電不會顯示姓名:%1</source>
        <translation>Cannot open the phone book database, callers will show without names: %1</translation>
    </message>
</context>
<context>
    <name>RingFiles</name>
    <message>
        <source>没有找到放音设备</source>
        <translation>No playback device found</translation>
    </message>
    <message>
        <source>找不到鈴聲文件!</source>
        <translation>Ring tone file not found!</translation>
    </message>
    <message>
        <source>鈴聲文件複製失敗:</source>
        <translation>Could not copy the ring tone file: </translation>
    </message>
    <message>
        <source>找不到文件:</source>
        <translation>File not found: </translation>
    </message>
    <message>
        <source>鈴聲文件必須是一般文件:</source>
        <translation>The ring tone must be a plain file: </translation>
    </message>
    <message>
        <source>鈴聲文件太大 (最大 100 MiB):</source>
        <translation>Ring tone file too large (at most 100 MiB): </translation>
    </message>
    <message>
        <source>無法播放此鈴聲文件:</source>
        <translation>This ring tone file cannot be played: </translation>
    </message>
</context>
<context>
    <name>SegmentCapture</name>
    <message>
        <source>轉換錯誤!</source>
        <translation>Conversion error!</translation>
    </message>
</context>
<context>
    <name>TransferTexts</name>
    <message>
        <source>打開設備錯誤</source>
        <translation>Cannot open the device</translation>
    </message>
    <message>
        <source>USB設備錯誤</source>
        <translation>USB device error</translation>
    </message>
    <message>
        <source>USB設備錯誤!</source>
        <translation>USB device error!</translation>
    </message>
    <message>
        <source>初始化EEPROM...</source>
        <translation>Preparing EEPROM...</translation>
    </message>
    <message>
        <source>禁止EEPROM</source>
        <translation>EEPROM disabled</translation>
    </message>
    <message>
        <source>停止傳輸</source>
        <translation>Transfer stopped</translation>
    </message>
    <message>
        <source>開始傳輸...</source>
        <translation>Starting transfer...</translation>
    </message>
    <message>
        <source>接收音檔信息表...</source>
        <translation>Reading the sound table...</translation>
    </message>
    <message>
        <source>請先初始化信息列表!</source>
        <translation>Please set up the sound table first!</translation>
    </message>
    <message>
        <source>請先初始化信息列表...</source>
        <translation>Please set up the sound table first...</translation>
    </message>
    <message>
        <source>接受信息列表錯誤!</source>
        <translation>Error reading the sound table!</translation>
    </message>
    <message>
        <source>接受音檔信息列表錯誤...</source>
        <translation>Error reading the sound table...</translation>
    </message>
    <message>
        <source>擦除EEPROM...</source>
        <translation>Erasing EEPROM...</translation>
    </message>
    <message>
        <source>更新音檔信息表...</source>
        <translation>Updating the sound table...</translation>
    </message>
    <message>
        <source>傳輸:%1%</source>
        <translation>Transfer: %1%</translation>
    </message>
    <message>
        <source>傳輸 %1 錯誤</source>
        <translation>Error transferring %1</translation>
    </message>
    <message>
        <source>傳輸音檔信息列表...</source>
        <translation>Writing the sound table...</translation>
    </message>
    <message>
        <source>初始化信息列表錯誤!</source>
        <translation>Error setting up the sound table!</translation>
    </message>
    <message>
        <source>完成初始化信息列表</source>
        <translation>Sound table set up</translation>
    </message>
    <message>
        <source>初始化音檔信息表....</source>
        <translation>Setting up the sound table....</translation>
    </message>
    <message>
        <source>找不到默認配置文檔.</source>
        <translation>Default settings file not found.</translation>
    </message>
    <message>
        <source>沒有設備</source>
        <translation>No device</translation>
    </message>
    <message>
        <source>歌曲文件%1沒有找到!</source>
        <translation>Sound file %1 not found!</translation>
    </message>
    <message>
        <source>歌曲文件丟失﹐初始化歌曲失敗﹗</source>
        <translation>Sound files missing, factory sounds not written!</translation>
    </message>
    <message>
        <source>請選擇傳輸音檔!</source>
        <translation>Please choose the sound files to transfer!</translation>
    </message>
    <message>
        <source>請選擇歌曲%1的傳輸位置!</source>
        <translation>Please choose where %1 goes!</translation>
    </message>
    <message>
        <source>音檔傳輸程式 警告...</source>
        <translation>Transfer to phone - warning...</translation>
    </message>
    <message>
        <source>注意!!</source>
        <translation>Attention!!</translation>
    </message>
</context>
<context>
    <name>dpx::AboutBox</name>
    <message>
        <source>About DPX</source>
        <translation>About DPX</translation>
    </message>
    <message>
        <source>Version:VKSDPX.F01(N)</source>
        <translation>Version: VKSDPX.F01(N)</translation>
    </message>
    <message>
        <source>Released at 2009-09-16 09:00</source>
        <translation>Released at 2009-09-16 09:00</translation>
    </message>
</context>
<context>
    <name>dpx::AudioConverterWindow</name>
    <message>
        <source>停止轉換</source>
        <translation>Stop converting</translation>
    </message>
    <message>
        <source>轉換</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>轉換音檔....</source>
        <translation>Converting....</translation>
    </message>
    <message>
        <source>Windows Audio Files (*.raw)</source>
        <translation>Phone sound files (*.raw)</translation>
    </message>
    <message>
        <source>All Files(*.*) (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>這個音檔正在被使用.
 請另取個名字!</source>
        <translation>This sound file is in use.
 Please choose another name!</translation>
    </message>
    <message>
        <source>這個音檔已經存在. 
 你想覆蓋這個音檔嗎?</source>
        <translation>This sound file already exists. 
 Do you want to replace it?</translation>
    </message>
    <message>
        <source>試聽選取部分</source>
        <translation>Listen to the selection</translation>
    </message>
    <message>
        <source>轉換選取部分...</source>
        <translation>Convert the selection...</translation>
    </message>
    <message>
        <source>這個音檔無法播放</source>
        <translation>This sound file cannot be played</translation>
    </message>
    <message>
        <source>找不到這個音檔</source>
        <translation>Sound file not found</translation>
    </message>
    <message>
        <source> 音檔轉換器 </source>
        <translation> Audio converter </translation>
    </message>
    <message>
        <source>音檔轉換器</source>
        <translation>Audio converter</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>隱藏文檔列表</source>
        <translation>Hide the file list</translation>
    </message>
    <message>
        <source>打開文檔</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>暫停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>減小音量</source>
        <translation>Volume down</translation>
    </message>
    <message>
        <source>增加音量</source>
        <translation>Volume up</translation>
    </message>
    <message>
        <source>音檔轉換</source>
        <translation>Audio converter</translation>
    </message>
    <message>
        <source>添加音檔</source>
        <translation>Add sound file</translation>
    </message>
    <message>
        <source>刪除音檔</source>
        <translation>Remove sound file</translation>
    </message>
    <message>
        <source>媒體文件</source>
        <translation>Media files</translation>
    </message>
    <message>
        <source>Audio Files (*.wav *.mp3)</source>
        <translation>Audio Files (*.wav *.mp3)</translation>
    </message>
    <message>
        <source>隱藏文檔</source>
        <translation>Hide files</translation>
    </message>
    <message>
        <source>顯示文檔</source>
        <translation>Show files</translation>
    </message>
    <message>
        <source>138</source>
        <comment>the name of the background art with its texts in this language</comment>
        <translation>138-en</translation>
    </message>
</context>
<context>
    <name>dpx::AudioTransferWindow</name>
    <message>
        <source>音檔傳輸</source>
        <translation>Transfer to phone</translation>
    </message>
    <message>
        <source>音檔名稱,150;傳輸位置,95</source>
        <translation>Sound file,150;Slot,95</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>傳輸</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>出廠值</source>
        <translation>Factory</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>擦除</source>
        <translation>erasing</translation>
    </message>
    <message>
        <source>寫入</source>
        <translation>writing</translation>
    </message>
    <message>
        <source>校驗</source>
        <translation>checking</translation>
    </message>
    <message>
        <source>讀取</source>
        <translation>reading</translation>
    </message>
    <message>
        <source>信息表</source>
        <translation>sound table</translation>
    </message>
    <message>
        <source>寫入後讀回校驗</source>
        <translation>Read back and check after writing</translation>
    </message>
    <message>
        <source>備份EEPROM...</source>
        <translation>Back up EEPROM...</translation>
    </message>
    <message>
        <source>還原EEPROM...</source>
        <translation>Restore EEPROM...</translation>
    </message>
    <message>
        <source>注意!! %1</source>
        <translation>Attention!! %1</translation>
    </message>
    <message>
        <source>152</source>
        <comment>the name of the background art with the title in this language</comment>
        <translation>152-en</translation>
    </message>
</context>
<context>
    <name>dpx::CGfxOutBarCtrl</name>
    <message>
        <source>大圖示</source>
        <translation>Large icons</translation>
    </message>
    <message>
        <source>小圖示</source>
        <translation>Small icons</translation>
    </message>
    <message>
        <source>重新命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>移除</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>dpx::CallActionsWindow</name>
    <message>
        <source>來電響鈴</source>
        <translation>Ringing</translation>
    </message>
    <message>
        <source>接聽</source>
        <translation>Answered</translation>
    </message>
    <message>
        <source>通話結束</source>
        <translation>Call ended</translation>
    </message>
    <message>
        <source>未接來電</source>
        <translation>Missed call</translation>
    </message>
    <message>
        <source>開啟網址</source>
        <translation>Open web address</translation>
    </message>
    <message>
        <source>啟動程式</source>
        <translation>Start program</translation>
    </message>
    <message>
        <source>來電動作</source>
        <translation>Call actions</translation>
    </message>
    <message>
        <source>時機</source>
        <translation>When</translation>
    </message>
    <message>
        <source>動作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>網址或程式及參數</source>
        <translation>Web address, or program and arguments</translation>
    </message>
    <message>
        <source>試用</source>
        <translation>Try</translation>
    </message>
    <message>
        <source>可用欄位: {number} 號碼, {digits} 號碼數字, {name} 姓名, {line} co/icm, {time} 時間, {duration} 通話秒數。
程式: 第一個字是程式, 其餘是參數。網址限 http, https, mailto。
例: https://crm.example.com/search?phone={digits}</source>
        <translation>Fields: {number} number, {digits} number digits only, {name} name, {line} co/icm, {time} time, {duration} talk seconds.
Program: the first word is the program, the rest are its arguments. Web addresses: http, https, mailto only.
Example: https://crm.example.com/search?phone={digits}</translation>
    </message>
    <message>
        <source>儲存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>關閉</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>來電動作已儲存</source>
        <translation>Call actions saved</translation>
    </message>
</context>
<context>
    <name>dpx::CallHistoryModel</name>
    <message>
        <source>來電</source>
        <translation>Incoming</translation>
    </message>
    <message>
        <source>未接</source>
        <translation>Missed</translation>
    </message>
    <message>
        <source>撥出</source>
        <translation>Outgoing</translation>
    </message>
    <message>
        <source>內線來電</source>
        <translation>Intercom</translation>
    </message>
    <message>
        <source>內線未接</source>
        <translation>Intercom missed</translation>
    </message>
    <message>
        <source>(中斷)</source>
        <translation>(cut off)</translation>
    </message>
    <message>
        <source> (中斷)</source>
        <translation> (cut off)</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>電話號碼</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>類型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>通話時間</source>
        <translation>Talk time</translation>
    </message>
</context>
<context>
    <name>dpx::CallHistoryRecorder</name>
    <message>
        <source>通話記錄無法寫入,通話不會被保存</source>
        <translation>The call history cannot be written: calls are not kept</translation>
    </message>
</context>
<context>
    <name>dpx::CallHistoryWindow</name>
    <message>
        <source>通話記錄</source>
        <translation>Call history</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>未接</source>
        <translation>Missed</translation>
    </message>
    <message>
        <source>來電</source>
        <translation>Incoming</translation>
    </message>
    <message>
        <source>撥出</source>
        <translation>Outgoing</translation>
    </message>
    <message>
        <source>搜尋姓名或號碼</source>
        <translation>Search name or number</translation>
    </message>
    <message>
        <source>匯出...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>%1 / %2 筆</source>
        <translation>%1 / %2 calls</translation>
    </message>
    <message>
        <source>匯出失敗: %1</source>
        <translation>Export failed: %1</translation>
    </message>
    <message>
        <source>已匯出 %1 筆</source>
        <translation>%1 calls exported</translation>
    </message>
    <message>
        <source>匯出通話記錄</source>
        <translation>Export call history</translation>
    </message>
    <message>
        <source>回撥</source>
        <translation>Call back</translation>
    </message>
    <message>
        <source>加入電話簿</source>
        <translation>Add to phone book</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>清除全部記錄</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>確定要清除全部通話記錄嗎?</source>
        <translation>Clear the whole call history?</translation>
    </message>
</context>
<context>
    <name>dpx::CallerPopup</name>
    <message>
        <source>忽略</source>
        <translation>Ignore</translation>
    </message>
</context>
<context>
    <name>dpx::ChatClientPrompt</name>
    <message>
        <source>瀏灠...</source>
        <translation>Browse...</translation>
    </message>
</context>
<context>
    <name>dpx::ConfirmDialog</name>
    <message>
        <source>音檔傳輸程式 警告...</source>
        <translation>Transfer to phone - warning...</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>dpx::ContactEditor</name>
    <message>
        <source>姓氏</source>
        <translation>Surname</translation>
    </message>
    <message>
        <source>名字</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>暱稱</source>
        <translation>Alias</translation>
    </message>
    <message>
        <source>公司統編</source>
        <translation>Tax ID</translation>
    </message>
    <message>
        <source>職稱</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>部門</source>
        <translation>Dept.</translation>
    </message>
    <message>
        <source>配偶</source>
        <translation>Spouse</translation>
    </message>
    <message>
        <source>商務電話</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>分機</source>
        <translation>Ext.</translation>
    </message>
    <message>
        <source>生日</source>
        <translation>Birthday</translation>
    </message>
    <message>
        <source>住家電話</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>紀念日</source>
        <translation>Anniv.</translation>
    </message>
    <message>
        <source>商務傳真</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>電子郵件</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>行動電話</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>網頁</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>網路電話</source>
        <translation>Internet phone</translation>
    </message>
    <message>
        <source>即時通帳號</source>
        <translation>Chat ID</translation>
    </message>
    <message>
        <source>助理</source>
        <translation>Assistant</translation>
    </message>
    <message>
        <source>公司</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>郵遞區號</source>
        <translation>Postcode</translation>
    </message>
    <message>
        <source>公司地址</source>
        <translation>Work addr.</translation>
    </message>
    <message>
        <source>住家地址</source>
        <translation>Home addr.</translation>
    </message>
    <message>
        <source>備註</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>照片</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>沒有通訊簿資料庫。</source>
        <translation>There is no phone book database.</translation>
    </message>
    <message>
        <source>連絡人資料</source>
        <translation>Contact</translation>
    </message>
    <message>
        <source>請輸入連絡人的姓氏/名字!</source>
        <translation>Please enter the contact&apos;s last or first name!</translation>
    </message>
    <message>
        <source>保存失败!</source>
        <translation>Saving failed!</translation>
    </message>
    <message>
        <source>图片转换失败!</source>
        <translation>Picture conversion failed!</translation>
    </message>
    <message>
        <source>导入头像失败!</source>
        <translation>Could not load the photo!</translation>
    </message>
</context>
<context>
    <name>dpx::MainPhoneWindow</name>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>找到電話盒,但無法開啟:請安裝 README 所說的 udev 規則</source>
        <translation>Phone box found but it cannot be opened: install the udev rule the README describes</translation>
    </message>
    <message>
        <source>電話盒無法開啟</source>
        <translation>Cannot open box</translation>
    </message>
    <message>
        <source>請安裝 udev 規則</source>
        <translation>Install udev rule</translation>
    </message>
    <message>
        <source>電話盒未連接</source>
        <translation>Box not connected</translation>
    </message>
    <message>
        <source>請接上 USB 線</source>
        <translation>Plug in USB cable</translation>
    </message>
    <message>
        <source>隱藏</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>關於 DPX</source>
        <translation>About DPX</translation>
    </message>
    <message>
        <source>結束</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>%1 (這個版本尚未提供)</source>
        <translation>%1 (not in this version)</translation>
    </message>
    <message>
        <source>撥號 %1</source>
        <translation>Dial %1</translation>
    </message>
    <message>
        <source>Ingore this CALL!</source>
        <translation>Call ignored.</translation>
    </message>
    <message>
        <source>版本:VKSDPX.F01(N)</source>
        <translation>Version: VKSDPX.F01(N)</translation>
    </message>
    <message>
        <source>Device has Detected!</source>
        <translation>Device detected!</translation>
    </message>
    <message>
        <source>Device has Disconnected!</source>
        <translation>Device disconnected!</translation>
    </message>
    <message>
        <source>該電話號碼不合法,不能撥出!</source>
        <translation>This phone number is not valid and cannot be dialled!</translation>
    </message>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>電話簿</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>設置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>正在撥號 %1</source>
        <translation>Dialling %1</translation>
    </message>
    <message>
        <source>音檔轉換...</source>
        <translation>Audio converter...</translation>
    </message>
</context>
<context>
    <name>dpx::PhoneBookTransfers</name>
    <message>
        <source>%1 不是 UTF-8 文字,請選擇它的編碼:</source>
        <translation>%1 is not UTF-8 text; please choose its encoding:</translation>
    </message>
    <message>
        <source>尚未選擇匯入的檔案</source>
        <translation>No import file chosen yet</translation>
    </message>
    <message>
        <source>預設匯入:%1</source>
        <translation>Imports by default: %1</translation>
    </message>
    <message>
        <source>匯入連絡人...</source>
        <translation>Importing contacts...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>No Default !</source>
        <translation>No default!</translation>
    </message>
    <message>
        <source>沒有發現默認的Outlook聯繫人文件夾﹗</source>
        <translation>No default Outlook contacts file found!</translation>
    </message>
    <message>
        <source>不是聯繫人文件夾﹗</source>
        <translation>Not a contacts file!</translation>
    </message>
    <message>
        <source>不能得到聯繫人條目﹗</source>
        <translation>Could not read any contacts!</translation>
    </message>
</context>
<context>
    <name>dpx::PhoneBookTree</name>
    <message>
        <source>無法開啟通訊簿</source>
        <translation>Cannot open the phone book</translation>
    </message>
    <message>
        <source>編輯</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>外撥</source>
        <translation>Dial</translation>
    </message>
</context>
<context>
    <name>dpx::PhoneBookWindow</name>
    <message>
        <source>搜尋 (Ctrl+F)</source>
        <translation>Search (Ctrl+F)</translation>
    </message>
    <message>
        <source>新連絡人</source>
        <translation>New contact</translation>
    </message>
    <message>
        <source>刪除連絡人</source>
        <translation>Delete contact</translation>
    </message>
    <message>
        <source>Default </source>
        <translation>Default </translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Broswe...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>刪除選取的 %1 位連絡人?</source>
        <translation>Delete the %1 selected contacts?</translation>
    </message>
    <message>
        <source>電話簿</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>姓名, 85, 1;暱稱, 85, 1;職務, 85, 1;公司, 110, 1;部門, 110, 1;商務電話 , 110,1;商務傳真, 110, 1;住家電話 , 110,1;行動電話, 110,1;</source>
        <translation>Name, 85, 1;Nickname, 85, 1;Title, 85, 1;Company, 110, 1;Department, 110, 1;Work phone, 110,1;Work fax, 110, 1;Home phone, 110,1;Mobile, 110,1;</translation>
    </message>
    <message>
        <source>請選擇要刪除的連絡人!</source>
        <translation>Please choose the contacts to delete!</translation>
    </message>
    <message>
        <source>匯出所選連絡人 (vCard)...</source>
        <translation>Export selected contacts (vCard)...</translation>
    </message>
    <message>
        <source>匯出全部連絡人 (vCard)...</source>
        <translation>Export all contacts (vCard)...</translation>
    </message>
</context>
<context>
    <name>dpx::PhoneSettingsWindow</name>
    <message>
        <source>話機設定</source>
        <translation>Phone settings</translation>
    </message>
    <message>
        <source>來電時顯示連絡人資訊</source>
        <translation>Show the caller&apos;s contact card</translation>
    </message>
    <message>
        <source>不顯示</source>
        <translation>Don&apos;t show</translation>
    </message>
    <message>
        <source>顯示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>電話類型:</source>
        <translation>Phone type:</translation>
    </message>
    <message>
        <source>佔外線代碼:</source>
        <translation>Line code:</translation>
    </message>
    <message>
        <source>外線鈴聲選擇:</source>
        <translation>Line ring tone:</translation>
    </message>
    <message>
        <source>內線鈴聲選擇:</source>
        <translation>Intercom ring tone:</translation>
    </message>
    <message>
        <source>瀏灠</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>試聽</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>儲存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Audio Files (*.mp3);;音訊文件 (*.mp3 *.wav *.flac *.ogg *.oga)</source>
        <translation>Audio Files (*.mp3);;Sound files (*.mp3 *.wav *.flac *.ogg *.oga)</translation>
    </message>
</context>
<context>
    <name>dpx::PhoneTray</name>
    <message>
        <source>檔轉換...</source>
        <translation>Audio converter...</translation>
    </message>
    <message>
        <source>檔傳輸...</source>
        <translation>Transfer to phone...</translation>
    </message>
    <message>
        <source>通訊簿</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>通話記錄</source>
        <translation>Call history</translation>
    </message>
    <message>
        <source>來電動作</source>
        <translation>Call actions</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>%1 通未接來電</source>
        <translation>%1 missed calls</translation>
    </message>
</context>
<context>
    <name>dpx::PictureBox</name>
    <message>
        <source>雙擊以選擇照片</source>
        <translation>Double-click to choose a photo</translation>
    </message>
    <message>
        <source>選擇照片...</source>
        <translation>Choose photo...</translation>
    </message>
    <message>
        <source>移除照片</source>
        <translation>Remove photo</translation>
    </message>
</context>
<context>
    <name>dpx::RecordingFlow</name>
    <message>
        <source>沒有找到USB聲卡!</source>
        <translation>USB sound card not found!</translation>
    </message>
    <message>
        <source>錄音...</source>
        <translation>Recording...</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>创建directsound 失败！</source>
        <translation>Could not open the sound device!</translation>
    </message>
    <message>
        <source>error #01</source>
        <translation>error #01</translation>
    </message>
    <message>
        <source>錄音停止...</source>
        <translation>Recording stopped...</translation>
    </message>
    <message>
        <source>error Can not save</source>
        <translation>Error: cannot save</translation>
    </message>
    <message>
        <source>文檔已經存在,是否覆蓋?</source>
        <translation>The file already exists. Replace it?</translation>
    </message>
    <message>
        <source>錄音無法儲存:%1
它保留在資料夾中,下次啟動時會再詢問。</source>
        <translation>The recording could not be saved: %1
It stays in the folder; DPX asks again at the next start.</translation>
    </message>
    <message>
        <source>有未保存的錄音 %1, 是否保存?</source>
        <translation>There is an unsaved recording %1. Save it?</translation>
    </message>
</context>
<context>
    <name>dpx::SimPanel</name>
    <message>
        <source>模擬電話機</source>
        <translation>Simulated telephone</translation>
    </message>
    <message>
        <source>顯示幕</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>最多 16 個字元,按 Enter 送出</source>
        <translation>Up to 16 characters, Enter sends</translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>顯示時鐘</source>
        <translation>Show clock</translation>
    </message>
    <message>
        <source>燈號</source>
        <translation>Lamp</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>來電</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>來電號碼</source>
        <translation>Caller</translation>
    </message>
    <message>
        <source>外線響鈴</source>
        <translation>Ring line</translation>
    </message>
    <message>
        <source>內線響鈴</source>
        <translation>Ring intercom</translation>
    </message>
    <message>
        <source>掛斷</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>事件組</source>
        <translation>Event pairs</translation>
    </message>
    <message>
        <source>送出</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>拔下電話盒</source>
        <translation>Unplug the box</translation>
    </message>
    <message>
        <source>接上電話盒</source>
        <translation>Plug the box in</translation>
    </message>
    <message>
        <source>請輸入一到三組代碼/數值,例如 0x24 0x41。</source>
        <translation>Give one to three code/value pairs, e.g. 0x24 0x41.</translation>
    </message>
    <message>
        <source>1-24 按鍵燈,29 第 15 鍵,31 小指示燈,32 大指示燈</source>
        <translation>1-24 key lamps, 29 key 15, 31 small, 32 large indicator</translation>
    </message>
</context>
<context>
    <name>dpx::SimSlotView</name>
    <message>
        <source>鈴聲位置</source>
        <translation>Ring tone slots</translation>
    </message>
    <message>
        <source>電話盒沒有位置表(請用「出廠值」)</source>
        <translation>No slot table in the box (use Factory)</translation>
    </message>
    <message>
        <source>%1:區塊 %2-%3,已用 %4 KB</source>
        <translation>%1: blocks %2-%3, %4 KB held</translation>
    </message>
    <message>
        <source>,登記 %1 頁</source>
        <translation>, entry %1 pages</translation>
    </message>
</context>
<context>
    <name>dpx::SkinMenu</name>
    <message>
        <source>Skin</source>
        <translation>Skin</translation>
    </message>
    <message>
        <source>沒有資料庫</source>
        <translation>No database</translation>
    </message>
    <message>
        <source>Skin 未儲存: %1</source>
        <translation>Skin not saved: %1</translation>
    </message>
</context>
<context>
    <name>dpx::SoundRecorder</name>
    <message>
        <source>錄音無法寫入磁碟(磁碟可能已滿),錄音已停止。已錄下的部分已保留。</source>
        <translation>The recording cannot be written (the disk may be full): recording stopped. What was recorded is kept.</translation>
    </message>
    <message>
        <source>錄音裝置已被移除,錄音已停止。已錄下的部分已保留。</source>
        <translation>The recording device was removed: recording stopped. What was recorded is kept.</translation>
    </message>
</context>
</TS>
