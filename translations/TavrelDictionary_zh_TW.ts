<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AnswerPage</name>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>pinyin</source>
        <translation>拼音</translation>
    </message>
    <message>
        <source>English–Chinese</source>
        <translation>英漢</translation>
    </message>
    <message>
        <source>10,000 or more</source>
        <translation>10,000 次以上</translation>
    </message>
    <message>
        <source>1,000 to 9,999</source>
        <translation>1,000–9,999 次</translation>
    </message>
    <message>
        <source>100 to 999</source>
        <translation>100–999 次</translation>
    </message>
    <message>
        <source>10 to 99</source>
        <translation>10–99 次</translation>
    </message>
    <message>
        <source>fewer than 10</source>
        <translation>少於 10 次</translation>
    </message>
    <message>
        <source>very common</source>
        <translation>非常常用</translation>
    </message>
    <message>
        <source>common</source>
        <translation>常用</translation>
    </message>
    <message>
        <source>less common</source>
        <translation>較常用</translation>
    </message>
    <message>
        <source>uncommon</source>
        <translation>不常用</translation>
    </message>
    <message>
        <source>rare</source>
        <translation>罕用</translation>
    </message>
    <message>
        <source>How common: %1, %2 times in the 60 million words of jieba&apos;s word list</source>
        <translation>常用程度：%1，在結巴斷詞詞表的 6000 萬個詞中出現 %2</translation>
    </message>
    <message>
        <source>Read as %1</source>
        <translation>識別為%1</translation>
    </message>
    <message>
        <source>%1 more %2 not shown.</source>
        <translation>另有 %1 個%2未顯示。</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>詞條</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>詞條</translation>
    </message>
    <message>
        <source>Its words: </source>
        <translation>其中的詞：</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>重試</translation>
    </message>
    <message>
        <source>The site %1 couldn&apos;t be reached: %2.%3</source>
        <translation>無法連上網站 %1：%2。%3</translation>
    </message>
    <message>
        <source>Only the first %1 characters were looked up.</source>
        <translation>只查詢了前 %1 個字元。</translation>
    </message>
    <message>
        <source>The built-in dictionary could not be read: %1</source>
        <translation>無法讀取內建字典：%1</translation>
    </message>
    <message>
        <source>Nothing found for “%1”.</source>
        <translation>找不到「%1」。</translation>
    </message>
    <message>
        <source>From ECDICT, MIT licence, and CC-CEDICT, CC BY-SA 4.0%1.</source>
        <translation>資料來源：ECDICT（MIT 授權）和 CC-CEDICT（CC BY-SA 4.0）%1。</translation>
    </message>
    <message>
        <source>Measure word:</source>
        <translation>量詞：</translation>
    </message>
    <message>
        <source>Measure words:</source>
        <translation>量詞：</translation>
    </message>
    <message>
        <source>Read as %1 (as %2)</source>
        <translation>識別為%1（依拼法 %2）</translation>
    </message>
</context>
<context>
    <name>AnswerView</name>
    <message>
        <source>Dictionary page: </source>
        <translation>字典頁面：</translation>
    </message>
    <message>
        <source>Pronounce</source>
        <translation>朗讀</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>上一頁</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>下一頁</translation>
    </message>
</context>
<context>
    <name>AppearancePage</name>
    <message>
        <source>Tone colours:</source>
        <translation>聲調顏色：</translation>
    </message>
    <message>
        <source>Tone colours</source>
        <translation>聲調顏色</translation>
    </message>
    <message>
        <source>Tone 1</source>
        <translation>第一聲</translation>
    </message>
    <message>
        <source>Tone 2</source>
        <translation>第二聲</translation>
    </message>
    <message>
        <source>Tone 3</source>
        <translation>第三聲</translation>
    </message>
    <message>
        <source>Tone 4</source>
        <translation>第四聲</translation>
    </message>
    <message>
        <source>Neutral</source>
        <translation>輕聲</translation>
    </message>
    <message>
        <source>Colour the characters too</source>
        <translation>漢字也依聲調著色</translation>
    </message>
</context>
<context>
    <name>CharacterDiagram</name>
    <message>
        <source>No stroke data for %1</source>
        <translation>沒有 %1 的筆順資料</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>a character, its stroke count</comment>
        <translation>%1，%2</translation>
    </message>
    <message>
        <source>1 stroke</source>
        <translation>1 畫</translation>
    </message>
    <message>
        <source>%1 strokes</source>
        <translation>%1 畫</translation>
    </message>
    <message>
        <source>stroke %1 of %2</source>
        <translation>第 %1 畫，共 %2 畫</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Looks English and Chinese words up in an online dictionary. Given a word, it hands it to the copy already running from the same folder, or starts with the word looked up.
With --print or --json it answers from its built-in dictionary in the terminal instead, each word on its own, and opens no window; &quot;-&quot; instead of words reads one word a line from stdin. The exit status is then 0 when every word was found, 1 when one was not, 2 when the dictionary&apos;s index can&apos;t be read.</source>
        <translation>在線上字典中查詢英文和中文單字。指定單字時，會將它交給從同一資料夾執行的程式；若沒有程式在執行，則啟動並查詢該單字。
使用 --print 或 --json 時，改為在終端機中以內建字典逐一回答每個單字，不開啟視窗；以「-」取代單字時，會從標準輸入每行讀取一個單字。此時，所有單字都找到則結束狀態為 0，有單字找不到為 1，無法讀取字典索引為 2。</translation>
    </message>
    <message>
        <source>Print the built-in dictionary&apos;s answer for each word as text.</source>
        <translation>以純文字輸出內建字典對每個單字的解釋。</translation>
    </message>
    <message>
        <source>Print the built-in dictionary&apos;s answer for each word as JSON, one object a line (JSON Lines).</source>
        <translation>以 JSON 格式輸出內建字典對每個單字的解釋，每行一個物件（JSON Lines）。</translation>
    </message>
    <message>
        <source>The word to look up; several words are joined with single spaces. &quot;--&quot; ends the options, so that a word may begin with &quot;-&quot;.</source>
        <translation>要查詢的單字；多個單字以單一空格連接。「--」表示選項結束，之後的單字可以用「-」開頭。</translation>
    </message>
    <message>
        <source>[WORD...]</source>
        <translation>[單字...]</translation>
    </message>
    <message>
        <source>--print and --json can&apos;t be given together.</source>
        <translation>--print 和 --json 不能同時使用。</translation>
    </message>
    <message>
        <source>No word to look up: give words, or &quot;-&quot; to read them from stdin.</source>
        <translation>沒有要查詢的單字：請指定單字，或用「-」從標準輸入讀取。</translation>
    </message>
    <message>
        <source>Look the selected text up in the pop-up, or the clipboard&apos;s when no text is selected. Bind it to a key in the desktop&apos;s shortcut settings.</source>
        <translation>在快顯視窗中查詢選取的文字；沒有選取文字時查詢剪貼簿中的文字。可在桌面的快速鍵設定中將其指定給一個按鍵。</translation>
    </message>
    <message>
        <source>Look the clipboard&apos;s text up in the pop-up.</source>
        <translation>在快顯視窗中查詢剪貼簿中的文字。</translation>
    </message>
    <message>
        <source>Start without a window and wait for lookups on the session bus (org.tavrel.Dictionary).</source>
        <translation>不開啟視窗啟動，在工作階段匯流排上等候查詢要求（org.tavrel.Dictionary）。</translation>
    </message>
    <message>
        <source>Recognise handwritten characters: reads one drawing a line from stdin, a JSON array of strokes of [x, y] points in a 300x300 box with y pointing down, and prints one JSON object a line, {&quot;candidates&quot;: [{&quot;character&quot;: ..., &quot;score&quot;: ...}, ...]} with up to 10 candidates best first, or {&quot;error&quot;: ...} for a bad line. The input must be &quot;-&quot;.</source>
        <translation>辨識手寫字：從標準輸入每行讀取一個手寫圖形，即由筆畫組成的 JSON 陣列，每個筆畫是 300x300 方框內的 [x, y] 點（y 軸向下）；每行輸出一個 JSON 物件 {&quot;candidates&quot;: [{&quot;character&quot;: ..., &quot;score&quot;: ...}, ...]}，最多 10 個候選字，最佳的在前；無效的行輸出 {&quot;error&quot;: ...}。輸入必須是「-」。</translation>
    </message>
    <message>
        <source>input</source>
        <translation>輸入</translation>
    </message>
</context>
<context>
    <name>EnglishChinese</name>
    <message>
        <source>Also written: %1</source>
        <translation>又作：%1</translation>
    </message>
</context>
<context>
    <name>EnglishChineseAnswer</name>
    <message>
        <source>English definition</source>
        <translation>英文釋義</translation>
    </message>
    <message>
        <source>The English–Chinese dictionary could not be read: %1</source>
        <translation>無法讀取英漢字典：%1</translation>
    </message>
    <message>
        <source>Did you mean:</source>
        <translation>您是不是要找：</translation>
    </message>
</context>
<context>
    <name>FavouriteLink</name>
    <message>
        <source>Add %1 to favourites</source>
        <translation>將 %1 加入我的最愛</translation>
    </message>
    <message>
        <source>%1 is in favourites: remove it</source>
        <translation>%1 已在我的最愛中：按一下移除</translation>
    </message>
    <message>
        <source>★ In favourites</source>
        <translation>★ 已加入我的最愛</translation>
    </message>
    <message>
        <source>☆ Add to favourites</source>
        <translation>☆ 加入我的最愛</translation>
    </message>
</context>
<context>
    <name>FavouritesWindow</name>
    <message>
        <source>Word</source>
        <translation>單字</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>讀音</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>釋義</translation>
    </message>
    <message>
        <source>Favourites</source>
        <translation>我的最愛</translation>
    </message>
    <message>
        <source>Look Up</source>
        <translation>查詢</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>匯出…</translation>
    </message>
    <message>
        <source>%1 could not be removed: %2</source>
        <translation>無法移除 %1：%2</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>The favourites could not be written to
%1

%2</source>
        <translation>無法將我的最愛寫入
%1

%2</translation>
    </message>
    <message>
        <source>Export Favourites for Anki</source>
        <translation>匯出我的最愛供 Anki 使用</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>文字檔 (*.txt);;所有檔案 (*)</translation>
    </message>
</context>
<context>
    <name>Handwriting</name>
    <message>
        <source>The handwriting model is missing (%1). Install the package tegaki-zinnia-simplified-chinese to write characters by hand.</source>
        <translation>缺少手寫辨識模型（%1）。請安裝套件 tegaki-zinnia-simplified-chinese 以使用手寫輸入。</translation>
    </message>
    <message>
        <source>The handwriting model can&apos;t be read (%1): %2.</source>
        <translation>無法讀取手寫辨識模型（%1）：%2。</translation>
    </message>
    <message>
        <source>The drawing is too large.</source>
        <translation>手寫圖形太大。</translation>
    </message>
    <message>
        <source>Not JSON: %1.</source>
        <translation>不是 JSON：%1。</translation>
    </message>
    <message>
        <source>A drawing is an array of strokes.</source>
        <translation>手寫圖形應為筆畫陣列。</translation>
    </message>
    <message>
        <source>A stroke is an array of [x, y] points.</source>
        <translation>筆畫應為 [x, y] 點的陣列。</translation>
    </message>
    <message>
        <source>A point is an array of two numbers, [x, y].</source>
        <translation>點應為包含兩個數字的陣列 [x, y]。</translation>
    </message>
    <message>
        <source>The drawing has no strokes.</source>
        <translation>手寫圖形沒有筆畫。</translation>
    </message>
</context>
<context>
    <name>Handwriting::HandwritingPad</name>
    <message>
        <source>Undo</source>
        <translation>復原</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Handwriting pad</source>
        <translation>手寫板</translation>
    </message>
    <message>
        <source>Drawing area</source>
        <translation>書寫區</translation>
    </message>
    <message>
        <source>Insert %1</source>
        <translation>插入 %1</translation>
    </message>
</context>
<context>
    <name>HandwritingInput</name>
    <message>
        <source>Handwriting</source>
        <translation>手寫</translation>
    </message>
    <message>
        <source>Write a character by hand</source>
        <translation>手寫輸入中文字</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Word</source>
        <translation>單字</translation>
    </message>
    <message>
        <source>Times</source>
        <translation>次數</translation>
    </message>
    <message>
        <source>Last looked up</source>
        <translation>上次查詢</translation>
    </message>
    <message>
        <source>History</source>
        <translation>歷史紀錄</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>清除歷史紀錄</translation>
    </message>
    <message>
        <source>Remove every word from the history? This can&apos;t be undone.</source>
        <translation>要從歷史紀錄中移除所有單字嗎？此動作無法復原。</translation>
    </message>
    <message>
        <source>The history could not be cleared: %1</source>
        <translation>無法清除歷史紀錄：%1</translation>
    </message>
</context>
<context>
    <name>LanguagePage</name>
    <message>
        <source>Interface language:</source>
        <translation>介面語言：</translation>
    </message>
    <message>
        <source>System</source>
        <translation>使用系統設定</translation>
    </message>
    <message>
        <source>The interface changes to the language chosen at the next start of the program.</source>
        <translation>介面將在下次啟動程式時改用所選的語言。</translation>
    </message>
    <message>
        <source>I read traditional characters (handwriting offers them too)</source>
        <translation>我閱讀繁體字（手寫辨識也提供繁體字）</translation>
    </message>
</context>
<context>
    <name>PopUp</name>
    <message>
        <source>Nothing selected</source>
        <translation>未選取任何內容</translation>
    </message>
</context>
<context>
    <name>PopUpLookup</name>
    <message>
        <source>Reading the selection...</source>
        <translation>正在讀取選取的內容...</translation>
    </message>
</context>
<context>
    <name>PopUpPage</name>
    <message>
        <source>Shortcut:</source>
        <translation>快速鍵：</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>快速鍵</translation>
    </message>
    <message>
        <source>Watch the selection</source>
        <translation>監看選取內容</translation>
    </message>
    <message>
        <source>Open the pop-up when you select a word or two in another program</source>
        <translation>在其他程式中選取一兩個單字時開啟快顯視窗</translation>
    </message>
    <message>
        <source>This desktop lets no program take a key of its own. In the desktop&apos;s keyboard settings, add a shortcut that runs this command:</source>
        <translation>此桌面不允許程式自行佔用按鍵。請在桌面的鍵盤設定中新增一個執行以下命令的快速鍵：</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>複製</translation>
    </message>
</context>
<context>
    <name>PopUpWindow</name>
    <message>
        <source>Tavrel Dictionary Pop-up</source>
        <translation>Tavrel 字典快顯視窗</translation>
    </message>
    <message>
        <source>Open in Main Window</source>
        <translation>在主視窗中開啟</translation>
    </message>
    <message>
        <source>Pin</source>
        <translation>釘選</translation>
    </message>
    <message>
        <source>Keep the pop-up open when you click elsewhere</source>
        <translation>按一下其他位置時保持快顯視窗開啟</translation>
    </message>
</context>
<context>
    <name>Pronouncer</name>
    <message>
        <source>No sound output</source>
        <translation>沒有聲音輸出</translation>
    </message>
    <message>
        <source>No speech: </source>
        <translation>無法朗讀：</translation>
    </message>
</context>
<context>
    <name>PronunciationPage</name>
    <message>
        <source>English voice:</source>
        <translation>英語語音：</translation>
    </message>
    <message>
        <source>American</source>
        <translation>美式</translation>
    </message>
    <message>
        <source>British</source>
        <translation>英式</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>語速：</translation>
    </message>
    <message>
        <source> words a minute</source>
        <translation> 字/分鐘</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>語速</translation>
    </message>
    <message>
        <source>Read the first entry after each lookup</source>
        <translation>每次查詢後朗讀第一個詞條</translation>
    </message>
</context>
<context>
    <name>QWebEnginePage</name>
    <message>
        <source>Are you sure you want to leave this page? Changes that you made may not be saved.</source>
        <translation>Are you sure you want to leave this page? Changes that you made may not be saved.</translation>
    </message>
</context>
<context>
    <name>StrokeOrderLink</name>
    <message>
        <source>Stroke order of %1</source>
        <translation>%1 的筆順</translation>
    </message>
</context>
<context>
    <name>StrokeOrderPanel</name>
    <message>
        <source>Stroke order of %1</source>
        <translation>%1 的筆順</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>&amp;Speed:</source>
        <translation>速度(&amp;S)：</translation>
    </message>
    <message>
        <source>&amp;Outline</source>
        <translation>輪廓(&amp;O)</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>逐筆</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暫停</translation>
    </message>
    <message>
        <source>Replay</source>
        <translation>重播</translation>
    </message>
</context>
<context>
    <name>SuggestionList</name>
    <message>
        <source>Suggestions</source>
        <translation>建議</translation>
    </message>
</context>
<context>
    <name>ToneColours</name>
    <message>
        <source>Default</source>
        <translation>預設</translation>
    </message>
    <message>
        <source>Colour-blind safe</source>
        <translation>色盲友善</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
</context>
<context>
    <name>WebBrowser</name>
    <message>
        <source>No page can be shown: the browser engine could not be loaded.

Its module, tavrel_browserengine, was looked for in:
%1

Why:
%2</source>
        <translation>無法顯示頁面：無法載入瀏覽器引擎。

已在以下位置尋找其模組 tavrel_browserengine：
%1

原因：
%2</translation>
    </message>
    <message>
        <source>Dictionary page</source>
        <translation>字典頁面</translation>
    </message>
    <message>
        <source>Dictionary page: </source>
        <translation>字典頁面：</translation>
    </message>
    <message>
        <source>Open Page in Web Browser</source>
        <translation>在網頁瀏覽器中開啟頁面</translation>
    </message>
</context>
<context>
    <name>WordListWindow</name>
    <message>
        <source>Filter</source>
        <translation>篩選</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>篩選(&amp;F)：</translation>
    </message>
</context>
<context>
    <name>Words::Store</name>
    <message>
        <source>History and favourites can&apos;t be kept: Qt&apos;s SQLite driver (libqt6sql6-sqlite) is not installed.</source>
        <translation>無法保留歷史紀錄和我的最愛：未安裝 Qt 的 SQLite 驅動程式（libqt6sql6-sqlite）。</translation>
    </message>
    <message>
        <source>%1 is read-only: history and favourites are shown but not changed.</source>
        <translation>%1 是唯讀檔案：歷史紀錄和我的最愛只能檢視，不會變更。</translation>
    </message>
    <message>
        <source>The words database could not be read (%1); it was set aside as %2 and a new one started.</source>
        <translation>無法讀取單字資料庫（%1）；已將其重新命名為 %2 留存，並建立了新的資料庫。</translation>
    </message>
    <message>
        <source>History and favourites are kept only until the program ends: %1.</source>
        <translation>歷史紀錄和我的最愛只保留到程式結束：%1。</translation>
    </message>
    <message>
        <source>The words database is in use by another copy of the program; the words looked up wait until it is free.</source>
        <translation>單字資料庫正被本程式的另一個副本使用；查過的單字將等待，直到它空閒為止。</translation>
    </message>
</context>
<context>
    <name>X11Shortcut</name>
    <message>
        <source>Only X11 lets a program take a key for itself: bind &quot;TavrelDictionary --selection&quot; in the desktop&apos;s shortcut settings.</source>
        <translation>只有 X11 允許程式自行佔用按鍵：請在桌面的快速鍵設定中指定「TavrelDictionary --selection」。</translation>
    </message>
    <message>
        <source>The keyboard has no key %1.</source>
        <translation>鍵盤上沒有 %1 鍵。</translation>
    </message>
    <message>
        <source>Another program holds %1: choose another key.</source>
        <translation>%1 已被其他程式佔用：請選擇其他按鍵。</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About Tavrel Dictionary</source>
        <translation>關於 Tavrel 字典</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Contact points</source>
        <translation>聯絡方式</translation>
    </message>
    <message>
        <source>Email: </source>
        <translation>電子郵件：</translation>
    </message>
    <message>
        <source>Url:     </source>
        <translation>網址：    </translation>
    </message>
    <message>
        <source>Contact points are:</source>
        <translation>聯絡方式如下：</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>產品</translation>
    </message>
    <message>
        <source>              version 1.1</source>
        <translation>              版本 1.1</translation>
    </message>
    <message>
        <source>      All rights reserved.</source>
        <translation>      版權所有。</translation>
    </message>
</context>
<context>
    <name>frmBrowser</name>
    <message>
        <source>Tavrel Dictionary v1.1 (English &lt;&gt; Chinese Dictionary)</source>
        <translation>Tavrel 字典 v1.1（英漢 &lt;&gt; 漢英字典）</translation>
    </message>
    <message>
        <source>Translate</source>
        <translation>翻譯</translation>
    </message>
    <message>
        <source>Word:</source>
        <translation>單字：</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>單字</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>Online Dictionary Query String</source>
        <translation>線上字典查詢字串</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>結束</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>單字</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>歷史紀錄…</translation>
    </message>
    <message>
        <source>Keep History</source>
        <translation>保留歷史紀錄</translation>
    </message>
    <message>
        <source>Favourites…</source>
        <translation>我的最愛…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>說明</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>網站</translation>
    </message>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>%1 could not be kept: %2</source>
        <translation>無法更新我的最愛中的 %1：%2</translation>
    </message>
    <message>
        <source>Tavrel Dictionary</source>
        <translation>Tavrel 字典</translation>
    </message>
    <message>
        <source>The query string could not be saved in the settings file
%1

%2

The new query string applies until the program ends; at the next start it will be gone.</source>
        <translation>無法將查詢字串儲存到設定檔
%1

%2

新的查詢字串在程式結束前有效；下次啟動時將不再保留。</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>偏好設定...</translation>
    </message>
    <message>
        <source>The preferences could not be saved: </source>
        <translation>無法儲存偏好設定：</translation>
    </message>
    <message>
        <source>The history is busy; &quot;%1&quot; is kept until it can be recorded: %2</source>
        <translation>歷史紀錄正忙；「%1」將暫存，直到可以記錄為止：%2</translation>
    </message>
    <message>
        <source>The history can be written again; every word looked up meanwhile is in it.</source>
        <translation>歷史紀錄又可以寫入了；這期間查過的每個單字都已記入。</translation>
    </message>
    <message>
        <source>The history can&apos;t be written (%1). The words looked up are kept and will be added once it can.</source>
        <translation>無法寫入歷史紀錄（%1）。查過的單字已暫存，一旦可以寫入就會加入。</translation>
    </message>
</context>
<context>
    <name>frmChinese</name>
    <message>
        <source>Select Online Dictionary Provider Suggestion</source>
        <translation>選擇推薦的線上字典</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Provider suggestions</source>
        <translation>推薦的字典</translation>
    </message>
    <message>
        <source>Yahoo Dictionary (Hong Kong)</source>
        <translation>Yahoo 字典（香港）</translation>
    </message>
    <message>
        <source>OK88 Dictionary</source>
        <translation>OK88 字典</translation>
    </message>
    <message>
        <source>Yahoo Dictionary (China)</source>
        <translation>Yahoo 字典（中國）</translation>
    </message>
</context>
<context>
    <name>frmOption</name>
    <message>
        <source>Online Dictionary Query String</source>
        <translation>線上字典查詢字串</translation>
    </message>
    <message>
        <source>Query String:</source>
        <translation>查詢字串：</translation>
    </message>
    <message>
        <source>Query String</source>
        <translation>查詢字串</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>選擇</translation>
    </message>
</context>
<context>
    <name>frmPreferences</name>
    <message>
        <source>Preferences</source>
        <translation>偏好設定</translation>
    </message>
    <message>
        <source>Subjects</source>
        <translation>類別</translation>
    </message>
    <message>
        <source>Pronunciation</source>
        <translation>發音</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Pop-up Lookup</source>
        <translation>快顯查詢</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>外觀</translation>
    </message>
</context>
</TS>
