<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
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
    <name>dpx::CallerPopup</name>
    <message>
        <source>忽略</source>
        <translation>Ignore</translation>
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
</context>
<context>
    <name>dpx::PhoneBookTree</name>
    <message>
        <source>無法開啟通訊簿</source>
        <translation>Cannot open the phone book</translation>
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
</TS>
