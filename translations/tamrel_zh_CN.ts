<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About ...</source>
        <translation>关于 ...</translation>
    </message>
    <message>
        <source>Brovik Explorer, V2.0</source>
        <translation>Brovik Explorer, V2.0</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>ImportDialog</name>
    <message>
        <source>Import Sentences</source>
        <translation>导入句子</translation>
    </message>
    <message>
        <source>Files to import:</source>
        <translation>要导入的文件：</translation>
    </message>
    <message>
        <source>Add Files...</source>
        <translation>添加文件...</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>English and Chinese sentence pairs separated by a tab (Tatoeba&apos;s download), Tatoeba&apos;s sentences.csv with links.csv, or plain text with one sentence a line. UTF-8 or UTF-16.</source>
        <translation>以制表符分隔的英汉句对（Tatoeba 的下载文件）、Tatoeba 的 sentences.csv 加 links.csv，或每行一句的纯文本。编码为 UTF-8 或 UTF-16。</translation>
    </message>
    <message>
        <source>Corpus</source>
        <translation>语料库</translation>
    </message>
    <message>
        <source>Bilingual</source>
        <translation>双语</translation>
    </message>
    <message>
        <source>Monolingual</source>
        <translation>单语</translation>
    </message>
    <message>
        <source>Its sentences</source>
        <translation>原有句子</translation>
    </message>
    <message>
        <source>Replace them</source>
        <translation>替换原有句子</translation>
    </message>
    <message>
        <source>Keep them and add the new ones</source>
        <translation>保留原有句子并加入新句子</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>bilingual</source>
        <translation>双语</translation>
    </message>
    <message>
        <source>monolingual</source>
        <translation>单语</translation>
    </message>
</context>
<context>
    <name>ImportRun</name>
    <message>
        <source>Reading the files</source>
        <translation>正在读取文件</translation>
    </message>
    <message>
        <source>Preparing the dictionary</source>
        <translation>正在准备词典</translation>
    </message>
    <message>
        <source>Building the index</source>
        <translation>正在建立索引</translation>
    </message>
    <message>
        <source>Putting the new corpus in place</source>
        <translation>正在放入新语料库</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>[Quen] Chinese English Sentence Explorer</source>
        <translation>[Quen] 汉英例句查询</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>WordTest</source>
        <translation>词语测验</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>查询</translation>
    </message>
    <message>
        <source>Build</source>
        <translation>建立索引</translation>
    </message>
    <message>
        <source>EN</source>
        <translation>英</translation>
    </message>
    <message>
        <source>CN</source>
        <translation>中</translation>
    </message>
    <message>
        <source>&gt;|</source>
        <translation>&gt;|</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>|&lt;</source>
        <translation>|&lt;</translation>
    </message>
    <message>
        <source>History:</source>
        <translation>历史：</translation>
    </message>
    <message>
        <source>Input word/sentence:</source>
        <translation>输入词语/句子：</translation>
    </message>
    <message>
        <source>Input ID(Num):</source>
        <translation>输入编号：</translation>
    </message>
    <message>
        <source>Import Sentences...</source>
        <translation>导入句子...</translation>
    </message>
    <message>
        <source>Export Results...</source>
        <translation>导出结果...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Hanzi &lt;-&gt; Pinyin</source>
        <translation>汉字 &lt;-&gt; 拼音</translation>
    </message>
    <message>
        <source>System Settings</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>目录</translation>
    </message>
    <message>
        <source>Report A Bug</source>
        <translation>报告错误</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>文件夹 %1 不存在。</translation>
    </message>
    <message>
        <source>The folder %1 is read-only.</source>
        <translation>文件夹 %1 是只读的。</translation>
    </message>
    <message>
        <source>The results could not be saved to %1.
%2
No file was written.</source>
        <translation>无法把结果保存到 %1。
%2
没有写入任何文件。</translation>
    </message>
    <message>
        <source>bilingual</source>
        <translation>双语</translation>
    </message>
    <message>
        <source>monolingual</source>
        <translation>单语</translation>
    </message>
    <message>
        <source>Imported %1 sentences into the %2 corpus</source>
        <translation>已将 %1 个句子导入%2语料库</translation>
    </message>
    <message>
        <source>, after its %1 sentences</source>
        <translation>，排在原有的 %1 个句子之后</translation>
    </message>
    <message>
        <source>. They can be searched now.

%1 lines read, %2 duplicates left out.</source>
        <translation>。现在就可以查询这些句子。

读取了 %1 行，略去了 %2 个重复的句子。</translation>
    </message>
    <message>
        <source>

%1 lines could not be used:</source>
        <translation>

有 %1 行无法使用：</translation>
    </message>
    <message>
        <source>
%1, line %2: %3</source>
        <translation>
%1，第 %2 行：%3</translation>
    </message>
    <message>
        <source>No sentence here to read</source>
        <translation>这里没有可以朗读的句子</translation>
    </message>
    <message>
        <source>Read aloud</source>
        <translation>朗读</translation>
    </message>
    <message>
        <source>More sentences</source>
        <translation>更多例句</translation>
    </message>
    <message>
        <source>Order the sentences for a learner of this HSK level: those whose other words are all of it or below first</source>
        <translation>按此 HSK 等级的学习者排列例句：其余词语都在此等级或以下的例句在前</translation>
    </message>
    <message>
        <source>All levels</source>
        <translation>所有等级</translation>
    </message>
    <message>
        <source>HSK %1</source>
        <translation>HSK %1 级</translation>
    </message>
</context>
<context>
    <name>RuntimeStart</name>
    <message>
        <source>Tamrel Cannot Start</source>
        <translation>Tamrel 无法启动</translation>
    </message>
    <message>
        <source>Preparing the sentence index...</source>
        <translation>正在准备例句索引...</translation>
    </message>
    <message>
        <source>The folder for Tamrel&apos;s files cannot be prepared:
%1</source>
        <translation>无法准备 Tamrel 的文件夹：
%1</translation>
    </message>
    <message>
        <source>Tamrel cannot work in %1:
%2</source>
        <translation>Tamrel 无法在 %1 中工作：
%2</translation>
    </message>
    <message>
        <source>The sentence index cannot be built:
%1</source>
        <translation>无法建立例句索引：
%1</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>System Settings</source>
        <translation>系统设置</translation>
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
        <source>Pronunciation</source>
        <translation>拼音</translation>
    </message>
    <message>
        <source>Results Include:</source>
        <translation>结果包括：</translation>
    </message>
    <message>
        <source>Monolingual</source>
        <translation>单语</translation>
    </message>
    <message>
        <source>Tone colours</source>
        <translation>声调颜色</translation>
    </message>
    <message>
        <source>Colour each pinyin syllable and its character by tone: 1 red, 2 orange, 3 green, 4 blue, neutral grey. Matched words are then underlined.</source>
        <translation>按声调给每个拼音音节及其汉字着色：一声红色，二声橙色，三声绿色，四声蓝色，轻声灰色。匹配的词语则加下划线。</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>语言：</translation>
    </message>
    <message>
        <source>The language of the window&apos;s texts. The window shows a new choice from its next start.</source>
        <translation>窗口文字的语言。新的选择在下次启动时生效。</translation>
    </message>
    <message>
        <source>System</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <source>Bilingual</source>
        <translation>双语</translation>
    </message>
</context>
<context>
    <name>Speech</name>
    <message>
        <source>Mandarin</source>
        <translation>普通话</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英语</translation>
    </message>
    <message>
        <source>No %1 voice is installed. Install the packages qt6-speech-speechd-plugin, speech-dispatcher, speech-dispatcher-espeak-ng and espeak-ng (scripts/install-deps.sh does), then start Tamrel again.</source>
        <translation>没有安装%1语音。请安装软件包 qt6-speech-speechd-plugin、speech-dispatcher、speech-dispatcher-espeak-ng 和 espeak-ng（scripts/install-deps.sh 会安装它们），然后重新启动 Tamrel。</translation>
    </message>
</context>
<context>
    <name>WindowTexts</name>
    <message>
        <source>[Quen] Chinese English Sentence Explorer</source>
        <translation>[Quen] 汉英例句查询</translation>
    </message>
    <message>
        <source>&amp;About Tamrel...</source>
        <translation>关于 Tamrel(&amp;A)...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Start Up!</source>
        <translation>启动！</translation>
    </message>
    <message>
        <source>Thanks for choosing our software!

This tool is for the persons who want to learn Chinese and English. However, learning a new language is a very hard task. From our view, the best way is to learn words/sentences by reading some examples that are used in normal life. 

To learn how to use this software, please visit </source>
        <translation>感谢您选择我们的软件！

本工具是为想学习汉语和英语的人准备的。学习一门新语言是一件很难的事。我们认为，最好的方法是通过阅读日常生活中使用的例句来学习词语和句子。

要了解如何使用本软件，请访问 </translation>
    </message>
    <message>
        <source> 

WANT to see this message AGAIN, please choose YES, otherwise NO!!</source>
        <translation> 

想再次看到这条消息，请选择“是”，否则请选择“否”！</translation>
    </message>
    <message>
        <source>Report A Bug!</source>
        <translation>报告错误！</translation>
    </message>
    <message>
        <source>If you found a bug, please report it to us (</source>
        <translation>如果您发现了错误，请向我们报告（</translation>
    </message>
    <message>
        <source>).

We really appreciate your kind understanding. Thanks a lot.

			Pellory</source>
        <translation>）。

非常感谢您的理解。

			Pellory</translation>
    </message>
    <message>
        <source>Import Sentences</source>
        <translation>导入句子</translation>
    </message>
    <message>
        <source>Sentence files (*.tsv *.txt *.csv);;All files (*)</source>
        <translation>句子文件 (*.tsv *.txt *.csv);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Importing Sentences</source>
        <translation>正在导入句子</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Import Finished</source>
        <translation>导入完成</translation>
    </message>
    <message>
        <source>Import Cancelled</source>
        <translation>导入已取消</translation>
    </message>
    <message>
        <source>The import was cancelled. The corpus was not changed.</source>
        <translation>导入已取消，语料库没有改变。</translation>
    </message>
    <message>
        <source>Import Failed</source>
        <translation>导入失败</translation>
    </message>
    <message>
        <source>The corpus was not changed.</source>
        <translation>语料库没有改变。</translation>
    </message>
    <message>
        <source>The import has taken effect, but putting its files in place could not be finished: %1. It will be finished the next time Tamrel opens the corpus.</source>
        <translation>导入已经生效，但放入文件的步骤未能完成：%1。Tamrel 下次打开该语料库时会完成这一步。</translation>
    </message>
    <message>
        <source>Replace Sentences?</source>
        <translation>替换句子？</translation>
    </message>
    <message>
        <source>Replace the %1 corpus? %2 will be removed and replaced by the imported sentences.</source>
        <translation>替换%1语料库吗？%2将被删除，由导入的句子代替。</translation>
    </message>
    <message>
        <source>Its %1 sentence groups</source>
        <translation>其中的 %1 组句子</translation>
    </message>
    <message>
        <source>Its 1 sentence group</source>
        <translation>其中的 1 组句子</translation>
    </message>
    <message>
        <source>Its sentences</source>
        <translation>其中的句子</translation>
    </message>
    <message>
        <source>Settings Not Saved</source>
        <translation>设置未保存</translation>
    </message>
    <message>
        <source>The settings could not be saved.
%1
The dialog keeps your choices: try again, or Cancel.</source>
        <translation>无法保存设置。
%1
对话框保留了您的选择：请重试，或者点“取消”。</translation>
    </message>
    <message>
        <source>End?</source>
        <translation>结束？</translation>
    </message>
    <message>
        <source>Do you want to end the test?</source>
        <translation>您要结束测验吗？</translation>
    </message>
    <message>
        <source>Export Results</source>
        <translation>导出结果</translation>
    </message>
    <message>
        <source>Anki notes, tab-separated (*.tsv *.txt);;All files (*)</source>
        <translation>Anki 笔记，制表符分隔 (*.tsv *.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>There are no results to export. Search for a word first.</source>
        <translation>没有可导出的结果。请先查询一个词。</translation>
    </message>
    <message>
        <source>Export Failed</source>
        <translation>导出失败</translation>
    </message>
    <message>
        <source>Saved %1 notes to %2</source>
        <translation>已将 %1 条笔记保存到 %2</translation>
    </message>
    <message>
        <source>Saved 1 note to %1</source>
        <translation>已将 1 条笔记保存到 %1</translation>
    </message>
    <message>
        <source>Speak</source>
        <translation>朗读</translation>
    </message>
    <message>
        <source>No sound device was found, so the text cannot be read aloud.</source>
        <translation>找不到声音设备，无法朗读文字。</translation>
    </message>
    <message>
        <source>The speech service (speech-dispatcher) could not be reached, so the text cannot be read aloud.</source>
        <translation>无法连接语音服务（speech-dispatcher），无法朗读文字。</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Search this</source>
        <translation>查询所选内容</translation>
    </message>
    <message>
        <source>Error!</source>
        <translation>错误！</translation>
    </message>
    <message>
        <source>Resources are not available!
Please try it again later or send an email to us</source>
        <translation>资源不可用！
请稍后再试，或者给我们发电子邮件</translation>
    </message>
    <message>
        <source>Finished MO!</source>
        <translation>索引建立完成！</translation>
    </message>
    <message>
        <source>The option could not be saved.
%1</source>
        <translation>无法保存该选项。
%1</translation>
    </message>
</context>
<context>
    <name>WordPanel</name>
    <message>
        <source>No dictionary entry for %1.</source>
        <translation>词典中没有“%1”。</translation>
    </message>
    <message>
        <source>HSK %1</source>
        <translation>HSK %1级</translation>
    </message>
    <message>
        <source>(%1 sentences)</source>
        <translation>（%1 个句子）</translation>
    </message>
    <message>
        <source>CL:</source>
        <translation>量词：</translation>
    </message>
    <message>
        <source>very common</source>
        <translation>很常用</translation>
    </message>
    <message>
        <source>common</source>
        <translation>常用</translation>
    </message>
    <message>
        <source>less common</source>
        <translation>较少用</translation>
    </message>
    <message>
        <source>rare</source>
        <translation>罕用</translation>
    </message>
    <message>
        <source>character: HSK %1</source>
        <translation>汉字：HSK %1级</translation>
    </message>
</context>
<context>
    <name>WordTestDialog</name>
    <message>
        <source>Word Test</source>
        <translation>词语测验</translation>
    </message>
    <message>
        <source>End?</source>
        <translation>结束？</translation>
    </message>
    <message>
        <source>Beginner</source>
        <translation>初级</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>中级</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>高级</translation>
    </message>
    <message>
        <source>Hanzi-&gt;Pinyin</source>
        <translation>汉字-&gt;拼音</translation>
    </message>
    <message>
        <source>Pinyin-&gt;Hanzi</source>
        <translation>拼音-&gt;汉字</translation>
    </message>
    <message>
        <source>Level:</source>
        <translation>级别：</translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation>方向：</translation>
    </message>
    <message>
        <source>Q:</source>
        <translation>问：</translation>
    </message>
    <message>
        <source>? ? (?)  ? </source>
        <translation>? ? (?)  ? </translation>
    </message>
    <message>
        <source>A:</source>
        <translation>A：</translation>
    </message>
    <message>
        <source>B: </source>
        <translation>B：</translation>
    </message>
    <message>
        <source>C:</source>
        <translation>C：</translation>
    </message>
    <message>
        <source>D:</source>
        <translation>D：</translation>
    </message>
    <message>
        <source>Your    score :</source>
        <translation>您的得分：</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一题</translation>
    </message>
    <message>
        <source>Check Answer</source>
        <translation>检查答案</translation>
    </message>
    <message>
        <source>Correct Answer: </source>
        <translation>正确答案：</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Your Answer is </source>
        <translation>您的答案</translation>
    </message>
    <message>
        <source>0/0</source>
        <translation>0/0</translation>
    </message>
    <message>
        <source>Correct / Total :</source>
        <translation>答对 / 总数：</translation>
    </message>
    <message>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <source>mao</source>
        <translation>mao</translation>
    </message>
    <message>
        <source>mo</source>
        <translation>mo</translation>
    </message>
    <message>
        <source>ni</source>
        <translation>ni</translation>
    </message>
    <message>
        <source>mai</source>
        <translation>mai</translation>
    </message>
    <message>
        <source>zhe shi [__?_] .</source>
        <translation>zhe shi [__?_] .</translation>
    </message>
    <message>
        <source>Example: 这是 [_猫_] 。</source>
        <translation>例：这是 [_猫_] 。</translation>
    </message>
    <message>
        <source>No question could be found at this level in this corpus. Please choose another level.</source>
        <translation>在这个语料库中找不到这一级别的题目。请选择其他级别。</translation>
    </message>
    <message>
        <source>Correct!! :-)</source>
        <translation>答对了！！:-)</translation>
    </message>
    <message>
        <source>Wrong!!!! :-(</source>
        <translation>答错了！！！:-(</translation>
    </message>
</context>
<context>
    <name>tamrel::MainWindow</name>
    <message>
        <source>&amp;Word Panel</source>
        <translation>词典面板(&amp;W)</translation>
    </message>
    <message>
        <source>Senses in Word &amp;List</source>
        <translation>词语列表显示词义(&amp;L)</translation>
    </message>
    <message>
        <source>Opening the dictionary...</source>
        <translation>正在打开词典...</translation>
    </message>
</context>
<context>
    <name>tamrel::TranslationSummaryView</name>
    <message>
        <source>%1 is translated in these sentences as:</source>
        <translation>%1 在这些例句中译作：</translation>
    </message>
    <message numerus="yes">
        <source>%1 translated as %2 (%n sentences shown):</source>
        <translation>
            <numerusform>%1 译作 %2 的例句（显示 %n 句）：</numerusform>
        </translation>
    </message>
</context>
</TS>
