<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
        <translation>英汉</translation>
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
        <translation>少于 10 次</translation>
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
        <translation>较常用</translation>
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
        <translation>常用程度：%1，在结巴分词词表的 6000 万个词中出现 %2</translation>
    </message>
    <message>
        <source>Read as %1</source>
        <translation>识别为%1</translation>
    </message>
    <message>
        <source>%1 more %2 not shown.</source>
        <translation>另有 %1 个%2未显示。</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>词条</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>词条</translation>
    </message>
    <message>
        <source>Its words: </source>
        <translation>其中的词：</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>The site %1 couldn&apos;t be reached: %2.%3</source>
        <translation>无法访问网站 %1：%2。%3</translation>
    </message>
    <message>
        <source>Only the first %1 characters were looked up.</source>
        <translation>只查询了前 %1 个字符。</translation>
    </message>
    <message>
        <source>The built-in dictionary could not be read: %1</source>
        <translation>无法读取内置词典：%1</translation>
    </message>
    <message>
        <source>Nothing found for “%1”.</source>
        <translation>未找到“%1”。</translation>
    </message>
    <message>
        <source>From ECDICT, MIT licence, and CC-CEDICT, CC BY-SA 4.0%1.</source>
        <translation>数据来源：ECDICT（MIT 许可证）和 CC-CEDICT（CC BY-SA 4.0）%1。</translation>
    </message>
    <message>
        <source>Measure word:</source>
        <translation>量词：</translation>
    </message>
    <message>
        <source>Measure words:</source>
        <translation>量词：</translation>
    </message>
    <message>
        <source>Read as %1 (as %2)</source>
        <translation>识别为%1（按拼写 %2）</translation>
    </message>
</context>
<context>
    <name>AnswerView</name>
    <message>
        <source>Dictionary page: </source>
        <translation>词典页面：</translation>
    </message>
    <message>
        <source>Pronounce</source>
        <translation>朗读</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>后退</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>前进</translation>
    </message>
</context>
<context>
    <name>AppearancePage</name>
    <message>
        <source>Tone colours:</source>
        <translation>声调颜色：</translation>
    </message>
    <message>
        <source>Tone colours</source>
        <translation>声调颜色</translation>
    </message>
    <message>
        <source>Tone 1</source>
        <translation>第一声</translation>
    </message>
    <message>
        <source>Tone 2</source>
        <translation>第二声</translation>
    </message>
    <message>
        <source>Tone 3</source>
        <translation>第三声</translation>
    </message>
    <message>
        <source>Tone 4</source>
        <translation>第四声</translation>
    </message>
    <message>
        <source>Neutral</source>
        <translation>轻声</translation>
    </message>
    <message>
        <source>Colour the characters too</source>
        <translation>汉字也按声调着色</translation>
    </message>
</context>
<context>
    <name>CharacterDiagram</name>
    <message>
        <source>No stroke data for %1</source>
        <translation>没有 %1 的笔顺数据</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>a character, its stroke count</comment>
        <translation>%1，%2</translation>
    </message>
    <message>
        <source>1 stroke</source>
        <translation>1 画</translation>
    </message>
    <message>
        <source>%1 strokes</source>
        <translation>%1 画</translation>
    </message>
    <message>
        <source>stroke %1 of %2</source>
        <translation>第 %1 画，共 %2 画</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Looks English and Chinese words up in an online dictionary. Given a word, it hands it to the copy already running from the same folder, or starts with the word looked up.
With --print or --json it answers from its built-in dictionary in the terminal instead, each word on its own, and opens no window; &quot;-&quot; instead of words reads one word a line from stdin. The exit status is then 0 when every word was found, 1 when one was not, 2 when the dictionary&apos;s index can&apos;t be read.</source>
        <translation>通过在线词典查询英文和中文单词。给出单词时，将其交给从同一文件夹运行的副本；若无副本运行，则启动并查询该单词。
使用 --print 或 --json 时，改为在终端中用内置词典逐个回答每个单词，不打开窗口；以“-”代替单词时，从标准输入每行读取一个单词。此时，所有单词都找到则退出状态为 0，有单词未找到为 1，无法读取词典索引为 2。</translation>
    </message>
    <message>
        <source>Print the built-in dictionary&apos;s answer for each word as text.</source>
        <translation>以文本形式输出内置词典对每个单词的释义。</translation>
    </message>
    <message>
        <source>Print the built-in dictionary&apos;s answer for each word as JSON, one object a line (JSON Lines).</source>
        <translation>以 JSON 格式输出内置词典对每个单词的释义，每行一个对象（JSON Lines）。</translation>
    </message>
    <message>
        <source>The word to look up; several words are joined with single spaces. &quot;--&quot; ends the options, so that a word may begin with &quot;-&quot;.</source>
        <translation>要查询的单词；多个单词以单个空格连接。“--”表示选项结束，之后的单词可以以“-”开头。</translation>
    </message>
    <message>
        <source>[WORD...]</source>
        <translation>[单词...]</translation>
    </message>
    <message>
        <source>--print and --json can&apos;t be given together.</source>
        <translation>--print 和 --json 不能同时使用。</translation>
    </message>
    <message>
        <source>No word to look up: give words, or &quot;-&quot; to read them from stdin.</source>
        <translation>没有要查询的单词：请给出单词，或用“-”从标准输入读取。</translation>
    </message>
    <message>
        <source>Look the selected text up in the pop-up, or the clipboard&apos;s when no text is selected. Bind it to a key in the desktop&apos;s shortcut settings.</source>
        <translation>在弹出窗口中查询选中的文本；没有选中文本时查询剪贴板中的文本。可在桌面的快捷键设置中将其绑定到一个按键。</translation>
    </message>
    <message>
        <source>Look the clipboard&apos;s text up in the pop-up.</source>
        <translation>在弹出窗口中查询剪贴板中的文本。</translation>
    </message>
    <message>
        <source>Start without a window and wait for lookups on the session bus (org.tavrel.Dictionary).</source>
        <translation>不打开窗口启动，在会话总线上等待查询请求（org.tavrel.Dictionary）。</translation>
    </message>
    <message>
        <source>Recognise handwritten characters: reads one drawing a line from stdin, a JSON array of strokes of [x, y] points in a 300x300 box with y pointing down, and prints one JSON object a line, {&quot;candidates&quot;: [{&quot;character&quot;: ..., &quot;score&quot;: ...}, ...]} with up to 10 candidates best first, or {&quot;error&quot;: ...} for a bad line. The input must be &quot;-&quot;.</source>
        <translation>识别手写汉字：从标准输入每行读取一个手写图形，即由笔画组成的 JSON 数组，每个笔画是 300x300 方框内的 [x, y] 点（y 轴向下）；每行输出一个 JSON 对象 {&quot;candidates&quot;: [{&quot;character&quot;: ..., &quot;score&quot;: ...}, ...]}，最多 10 个候选字，最佳的在前；无效的行输出 {&quot;error&quot;: ...}。输入必须是“-”。</translation>
    </message>
    <message>
        <source>input</source>
        <translation>输入</translation>
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
        <translation>英文释义</translation>
    </message>
    <message>
        <source>The English–Chinese dictionary could not be read: %1</source>
        <translation>无法读取英汉词典：%1</translation>
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
        <translation>将 %1 加入收藏夹</translation>
    </message>
    <message>
        <source>%1 is in favourites: remove it</source>
        <translation>%1 已在收藏夹中：点击移除</translation>
    </message>
    <message>
        <source>★ In favourites</source>
        <translation>★ 已收藏</translation>
    </message>
    <message>
        <source>☆ Add to favourites</source>
        <translation>☆ 加入收藏夹</translation>
    </message>
</context>
<context>
    <name>FavouritesWindow</name>
    <message>
        <source>Word</source>
        <translation>单词</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>读音</translation>
    </message>
    <message>
        <source>Meaning</source>
        <translation>释义</translation>
    </message>
    <message>
        <source>Favourites</source>
        <translation>收藏夹</translation>
    </message>
    <message>
        <source>Look Up</source>
        <translation>查询</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>导出…</translation>
    </message>
    <message>
        <source>%1 could not be removed: %2</source>
        <translation>无法删除 %1：%2</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>The favourites could not be written to
%1

%2</source>
        <translation>无法将收藏夹写入
%1

%2</translation>
    </message>
    <message>
        <source>Export Favourites for Anki</source>
        <translation>导出收藏夹供 Anki 使用</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>文本文件 (*.txt);;所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>Handwriting</name>
    <message>
        <source>The handwriting model is missing (%1). Install the package tegaki-zinnia-simplified-chinese to write characters by hand.</source>
        <translation>缺少手写识别模型（%1）。请安装软件包 tegaki-zinnia-simplified-chinese 以使用手写输入。</translation>
    </message>
    <message>
        <source>The handwriting model can&apos;t be read (%1): %2.</source>
        <translation>无法读取手写识别模型（%1）：%2。</translation>
    </message>
    <message>
        <source>The drawing is too large.</source>
        <translation>手写图形太大。</translation>
    </message>
    <message>
        <source>Not JSON: %1.</source>
        <translation>不是 JSON：%1。</translation>
    </message>
    <message>
        <source>A drawing is an array of strokes.</source>
        <translation>手写图形应为笔画数组。</translation>
    </message>
    <message>
        <source>A stroke is an array of [x, y] points.</source>
        <translation>笔画应为 [x, y] 点的数组。</translation>
    </message>
    <message>
        <source>A point is an array of two numbers, [x, y].</source>
        <translation>点应为包含两个数字的数组 [x, y]。</translation>
    </message>
    <message>
        <source>The drawing has no strokes.</source>
        <translation>手写图形没有笔画。</translation>
    </message>
</context>
<context>
    <name>Handwriting::HandwritingPad</name>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Handwriting pad</source>
        <translation>手写板</translation>
    </message>
    <message>
        <source>Drawing area</source>
        <translation>书写区</translation>
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
        <translation>手写</translation>
    </message>
    <message>
        <source>Write a character by hand</source>
        <translation>手写输入汉字</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Word</source>
        <translation>单词</translation>
    </message>
    <message>
        <source>Times</source>
        <translation>次数</translation>
    </message>
    <message>
        <source>Last looked up</source>
        <translation>上次查询</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>清除历史记录</translation>
    </message>
    <message>
        <source>Remove every word from the history? This can&apos;t be undone.</source>
        <translation>要从历史记录中删除所有单词吗？此操作无法撤销。</translation>
    </message>
    <message>
        <source>The history could not be cleared: %1</source>
        <translation>无法清除历史记录：%1</translation>
    </message>
</context>
<context>
    <name>LanguagePage</name>
    <message>
        <source>Interface language:</source>
        <translation>界面语言：</translation>
    </message>
    <message>
        <source>System</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <source>The interface changes to the language chosen at the next start of the program.</source>
        <translation>界面将在下次启动程序时改用所选的语言。</translation>
    </message>
    <message>
        <source>I read traditional characters (handwriting offers them too)</source>
        <translation>我阅读繁体字（手写识别也提供繁体字）</translation>
    </message>
</context>
<context>
    <name>PopUp</name>
    <message>
        <source>Nothing selected</source>
        <translation>未选中任何内容</translation>
    </message>
</context>
<context>
    <name>PopUpLookup</name>
    <message>
        <source>Reading the selection...</source>
        <translation>正在读取选中的内容...</translation>
    </message>
</context>
<context>
    <name>PopUpPage</name>
    <message>
        <source>Shortcut:</source>
        <translation>快捷键：</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>快捷键</translation>
    </message>
    <message>
        <source>Watch the selection</source>
        <translation>监视选中内容</translation>
    </message>
    <message>
        <source>Open the pop-up when you select a word or two in another program</source>
        <translation>在其他程序中选中一两个单词时打开弹出窗口</translation>
    </message>
    <message>
        <source>This desktop lets no program take a key of its own. In the desktop&apos;s keyboard settings, add a shortcut that runs this command:</source>
        <translation>此桌面不允许程序自行占用按键。请在桌面的键盘设置中添加一个运行以下命令的快捷键：</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
</context>
<context>
    <name>PopUpWindow</name>
    <message>
        <source>Tavrel Dictionary Pop-up</source>
        <translation>Tavrel 词典弹出窗口</translation>
    </message>
    <message>
        <source>Open in Main Window</source>
        <translation>在主窗口中打开</translation>
    </message>
    <message>
        <source>Pin</source>
        <translation>固定</translation>
    </message>
    <message>
        <source>Keep the pop-up open when you click elsewhere</source>
        <translation>单击其他位置时保持弹出窗口打开</translation>
    </message>
</context>
<context>
    <name>Pronouncer</name>
    <message>
        <source>No sound output</source>
        <translation>没有声音输出</translation>
    </message>
    <message>
        <source>No speech: </source>
        <translation>无法朗读：</translation>
    </message>
</context>
<context>
    <name>PronunciationPage</name>
    <message>
        <source>English voice:</source>
        <translation>英语语音：</translation>
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
        <translation>语速：</translation>
    </message>
    <message>
        <source> words a minute</source>
        <translation> 词/分钟</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>语速</translation>
    </message>
    <message>
        <source>Read the first entry after each lookup</source>
        <translation>每次查询后朗读第一个词条</translation>
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
        <translation>%1 的笔顺</translation>
    </message>
</context>
<context>
    <name>StrokeOrderPanel</name>
    <message>
        <source>Stroke order of %1</source>
        <translation>%1 的笔顺</translation>
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
        <translation>轮廓(&amp;O)</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>单步</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
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
        <translation>建议</translation>
    </message>
</context>
<context>
    <name>ToneColours</name>
    <message>
        <source>Default</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>Colour-blind safe</source>
        <translation>色盲友好</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
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
        <translation>无法显示页面：未能加载浏览器引擎。

已在以下位置查找其模块 tavrel_browserengine：
%1

原因：
%2</translation>
    </message>
    <message>
        <source>Dictionary page</source>
        <translation>词典页面</translation>
    </message>
    <message>
        <source>Dictionary page: </source>
        <translation>词典页面：</translation>
    </message>
    <message>
        <source>Open Page in Web Browser</source>
        <translation>在网页浏览器中打开页面</translation>
    </message>
</context>
<context>
    <name>WordListWindow</name>
    <message>
        <source>Filter</source>
        <translation>筛选</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>筛选(&amp;F)：</translation>
    </message>
</context>
<context>
    <name>Words::Store</name>
    <message>
        <source>History and favourites can&apos;t be kept: Qt&apos;s SQLite driver (libqt6sql6-sqlite) is not installed.</source>
        <translation>无法保留历史记录和收藏夹：未安装 Qt 的 SQLite 驱动程序（libqt6sql6-sqlite）。</translation>
    </message>
    <message>
        <source>%1 is read-only: history and favourites are shown but not changed.</source>
        <translation>%1 是只读文件：历史记录和收藏夹只能查看，不会更改。</translation>
    </message>
    <message>
        <source>The words database could not be read (%1); it was set aside as %2 and a new one started.</source>
        <translation>无法读取单词数据库（%1）；已将其重命名为 %2 留存，并新建了一个数据库。</translation>
    </message>
    <message>
        <source>History and favourites are kept only until the program ends: %1.</source>
        <translation>历史记录和收藏夹只保留到程序退出：%1。</translation>
    </message>
    <message>
        <source>The words database is in use by another copy of the program; the words looked up wait until it is free.</source>
        <translation>单词数据库正被本程序的另一个副本使用；查过的单词将等待，直到它空闲为止。</translation>
    </message>
</context>
<context>
    <name>X11Shortcut</name>
    <message>
        <source>Only X11 lets a program take a key for itself: bind &quot;TavrelDictionary --selection&quot; in the desktop&apos;s shortcut settings.</source>
        <translation>只有 X11 允许程序自行占用按键：请在桌面的快捷键设置中绑定“TavrelDictionary --selection”。</translation>
    </message>
    <message>
        <source>The keyboard has no key %1.</source>
        <translation>键盘上没有 %1 键。</translation>
    </message>
    <message>
        <source>Another program holds %1: choose another key.</source>
        <translation>%1 已被其他程序占用：请选择其他按键。</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About Tavrel Dictionary</source>
        <translation>关于 Tavrel 词典</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Contact points</source>
        <translation>联系方式</translation>
    </message>
    <message>
        <source>Email: </source>
        <translation>电子邮件：</translation>
    </message>
    <message>
        <source>Url:     </source>
        <translation>网址：    </translation>
    </message>
    <message>
        <source>Contact points are:</source>
        <translation>联系方式如下：</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>产品</translation>
    </message>
    <message>
        <source>              version 1.1</source>
        <translation>              版本 1.1</translation>
    </message>
    <message>
        <source>      All rights reserved.</source>
        <translation>      保留所有权利。</translation>
    </message>
</context>
<context>
    <name>frmBrowser</name>
    <message>
        <source>Tavrel Dictionary v1.1 (English &lt;&gt; Chinese Dictionary)</source>
        <translation>Tavrel 词典 v1.1（英汉 &lt;&gt; 汉英词典）</translation>
    </message>
    <message>
        <source>Translate</source>
        <translation>翻译</translation>
    </message>
    <message>
        <source>Word:</source>
        <translation>单词：</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>单词</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Online Dictionary Query String</source>
        <translation>在线词典查询字符串</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>单词</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>历史记录…</translation>
    </message>
    <message>
        <source>Keep History</source>
        <translation>保留历史记录</translation>
    </message>
    <message>
        <source>Favourites…</source>
        <translation>收藏夹…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>网站</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>%1 could not be kept: %2</source>
        <translation>无法更新收藏夹中的 %1：%2</translation>
    </message>
    <message>
        <source>Tavrel Dictionary</source>
        <translation>Tavrel 词典</translation>
    </message>
    <message>
        <source>The query string could not be saved in the settings file
%1

%2

The new query string applies until the program ends; at the next start it will be gone.</source>
        <translation>无法将查询字符串保存到设置文件
%1

%2

新的查询字符串在程序退出前有效；下次启动时将不再保留。</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>首选项...</translation>
    </message>
    <message>
        <source>The preferences could not be saved: </source>
        <translation>无法保存首选项：</translation>
    </message>
    <message>
        <source>The history is busy; &quot;%1&quot; is kept until it can be recorded: %2</source>
        <translation>历史记录正忙；“%1”将暂存，直到可以记录为止：%2</translation>
    </message>
    <message>
        <source>The history can be written again; every word looked up meanwhile is in it.</source>
        <translation>历史记录又可以写入了；这期间查过的每个单词都已记入。</translation>
    </message>
    <message>
        <source>The history can&apos;t be written (%1). The words looked up are kept and will be added once it can.</source>
        <translation>无法写入历史记录（%1）。查过的单词已暂存，一旦可以写入就会加入。</translation>
    </message>
</context>
<context>
    <name>frmChinese</name>
    <message>
        <source>Select Online Dictionary Provider Suggestion</source>
        <translation>选择推荐的在线词典</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Provider suggestions</source>
        <translation>推荐的词典</translation>
    </message>
    <message>
        <source>Yahoo Dictionary (Hong Kong)</source>
        <translation>雅虎词典（香港）</translation>
    </message>
    <message>
        <source>OK88 Dictionary</source>
        <translation>OK88 词典</translation>
    </message>
    <message>
        <source>Yahoo Dictionary (China)</source>
        <translation>雅虎词典（中国）</translation>
    </message>
</context>
<context>
    <name>frmOption</name>
    <message>
        <source>Online Dictionary Query String</source>
        <translation>在线词典查询字符串</translation>
    </message>
    <message>
        <source>Query String:</source>
        <translation>查询字符串：</translation>
    </message>
    <message>
        <source>Query String</source>
        <translation>查询字符串</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
</context>
<context>
    <name>frmPreferences</name>
    <message>
        <source>Preferences</source>
        <translation>首选项</translation>
    </message>
    <message>
        <source>Subjects</source>
        <translation>类别</translation>
    </message>
    <message>
        <source>Pronunciation</source>
        <translation>发音</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Pop-up Lookup</source>
        <translation>弹出查询</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>外观</translation>
    </message>
</context>
</TS>
