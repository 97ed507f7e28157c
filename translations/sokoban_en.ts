<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Messages</name>
    <message>
        <source>文件操作失败：%1
%2</source>
        <translation>A file operation failed: %1
%2</translation>
    </message>
    <message>
        <source>读取超出文件末尾</source>
        <translation>read past the end of the file</translation>
    </message>
    <message>
        <source>无效的记录号</source>
        <translation>invalid record number</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>是符号链接</source>
        <translation>is a symbolic link</translation>
    </message>
    <message>
        <source>文件是只读的</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <source>没有可用的文件名</source>
        <translation>no free file name</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>没有访问权限</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>不允许的操作</source>
        <translation>operation not permitted</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>超出磁盘配额</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>只读文件系统</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>是一个文件夹</source>
        <translation>is a folder</translation>
    </message>
    <message>
        <source>路径中有一项不是文件夹</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>文件已存在</source>
        <translation>the file already exists</translation>
    </message>
    <message>
        <source>输入输出错误</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>文件太大</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>the file name is too long</translation>
    </message>
    <message>
        <source>符号链接层数过多</source>
        <translation>too many levels of symbolic links</translation>
    </message>
    <message>
        <source>打开的文件太多</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>设备或资源忙</source>
        <translation>device or resource busy</translation>
    </message>
    <message>
        <source>文件正被使用</source>
        <translation>the file is in use</translation>
    </message>
    <message>
        <source>不能跨文件系统移动</source>
        <translation>cannot move across file systems</translation>
    </message>
    <message>
        <source>设备不存在</source>
        <translation>no such device or address</translation>
    </message>
    <message>
        <source>没有这个设备</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>无效的参数</source>
        <translation>invalid argument</translation>
    </message>
    <message>
        <source>无效的文件描述符</source>
        <translation>bad file descriptor</translation>
    </message>
    <message>
        <source>资源暂时不可用</source>
        <translation>resource temporarily unavailable</translation>
    </message>
    <message>
        <source>操作被中断</source>
        <translation>operation interrupted</translation>
    </message>
    <message>
        <source>无法定位</source>
        <translation>cannot seek</translation>
    </message>
    <message>
        <source>文件夹不是空的</source>
        <translation>the folder is not empty</translation>
    </message>
    <message>
        <source>网络文件已失效</source>
        <translation>stale network file handle</translation>
    </message>
    <message>
        <source>操作超时</source>
        <translation>the operation timed out</translation>
    </message>
    <message>
        <source>系统错误（错误号 %1）</source>
        <translation>system error (error number %1)</translation>
    </message>
    <message>
        <source>答案文件(*.ans)|*.ans|所有文件(*.*)|*.*</source>
        <translation>Solution files (*.ans)|*.ans|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>游戏文件(*.box)|*.box</source>
        <translation>Level sets (*.box)|*.box</translation>
    </message>
    <message>
        <source>游戏数据文件(*.box)|*.box|XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt</source>
        <translation>Level sets (*.box)|*.box|XSB/SOK level collections (*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt</translation>
    </message>
    <message>
        <source>XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|所有文件(*.*)|*.*</source>
        <translation>XSB/SOK level collections (*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>仓库文件(*.xsb)|*.xsb|所有文件(*.*)|*.*</source>
        <translation>XSB levels (*.xsb)|*.xsb|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>推箱子      默认关卡  第：%1 关</source>
        <translation>Box Pusher      Default levels  Level %1</translation>
    </message>
    <message>
        <source>推箱子      入门型游戏  第：%1 关</source>
        <translation>Box Pusher      Beginner levels  Level %1</translation>
    </message>
    <message>
        <source>推箱子      脑力型游戏  第：%1 关</source>
        <translation>Box Pusher      Thinker levels  Level %1</translation>
    </message>
    <message>
        <source>推箱子      体力型游戏  第：%1 关</source>
        <translation>Box Pusher      Marathon levels  Level %1</translation>
    </message>
    <message>
        <source>推箱子      不可能完成的任务  第：%1 关</source>
        <translation>Box Pusher      Impossible tasks  Level %1</translation>
    </message>
    <message>
        <source>推箱子      %1  第：%2 关</source>
        <translation>Box Pusher      %1  Level %2</translation>
    </message>
    <message>
        <source>推箱子      %1</source>
        <translation>Box Pusher      %1</translation>
    </message>
    <message>
        <source>当前关卡号：%1 / %2</source>
        <translation>Level: %1 / %2</translation>
    </message>
    <message>
        <source>当前关卡号： / </source>
        <translation>Level: / </translation>
    </message>
    <message>
        <source>移动:%1   ★   最佳移动：%2</source>
        <translation>Moves: %1   ★   Best moves: %2</translation>
    </message>
    <message>
        <source>移动:%1   ★   最佳移动：无</source>
        <translation>Moves: %1   ★   Best moves: none</translation>
    </message>
    <message>
        <source>推动:%1   ★   最佳推动：%2</source>
        <translation>Pushes: %1   ★   Best pushes: %2</translation>
    </message>
    <message>
        <source>推动:%1   ★   最佳推动：无</source>
        <translation>Pushes: %1   ★   Best pushes: none</translation>
    </message>
    <message>
        <source>  注意：箱子进了死角，本关已经无法完成，请撤销！</source>
        <translation>  Careful: a box is in a dead corner and the level can no longer be solved. Undo!</translation>
    </message>
    <message>
        <source>  注意：箱子被卡住了，本关已经无法完成，请撤销！</source>
        <translation>  Careful: boxes are stuck and the level can no longer be solved. Undo!</translation>
    </message>
    <message>
        <source>  推箱子 · 把每一个箱子推到目标上</source>
        <translation>  Box Pusher · push every box onto a target</translation>
    </message>
    <message>
        <source>  %1</source>
        <translation>  %1</translation>
    </message>
    <message>
        <source>  %1  作者：%2</source>
        <translation>  %1  by %2</translation>
    </message>
    <message>
        <source>  无题  作者：%1</source>
        <translation>  Untitled  by %1</translation>
    </message>
    <message>
        <source>关卡名称：     %1；</source>
        <translation>Level title:     %1</translation>
    </message>
    <message>
        <source>关卡作者：     %1；</source>
        <translation>Level author:    %1</translation>
    </message>
    <message>
        <source>要读取的文件不存在！</source>
        <translation>The file to open does not exist!</translation>
    </message>
    <message>
        <source>游戏文件格式错误！</source>
        <translation>The level set is not in the right format!</translation>
    </message>
    <message>
        <source>游戏数据读取错误!</source>
        <translation>The level set could not be read!</translation>
    </message>
    <message>
        <source>读取的文件不存在！</source>
        <translation>The file does not exist!</translation>
    </message>
    <message>
        <source>文件读取错误！</source>
        <translation>The file could not be read!</translation>
    </message>
    <message>
        <source>仓库数据太大或者数据不正确！</source>
        <translation>The level is too large or its data is wrong!</translation>
    </message>
    <message>
        <source>游戏文件中没有关卡数据，新建一关！</source>
        <translation>The level set has no levels; starting a new level!</translation>
    </message>
    <message>
        <source>剪贴板中没有关卡！</source>
        <translation>There is no level on the clipboard!</translation>
    </message>
    <message>
        <source>已导入 %1 关</source>
        <translation>%1 levels imported</translation>
    </message>
    <message>
        <source>没有可以导入的关卡</source>
        <translation>No levels to import</translation>
    </message>
    <message>
        <source>%1 关过大未能导入：%2</source>
        <translation>%1 levels too large, not imported: %2</translation>
    </message>
    <message>
        <source>%1 关没有搬运工未能导入：%2</source>
        <translation>%1 levels without a worker, not imported: %2</translation>
    </message>
    <message>
        <source>%1 关超出一个关卡集的 %2 关未能导入</source>
        <translation>%1 levels beyond the %2 a level set holds, not imported</translation>
    </message>
    <message>
        <source>第 %1 关</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>哈哈！你可以玩所有的关了！</source>
        <translation>Great! Every level is open to you now!</translation>
    </message>
    <message>
        <source>哈哈！过关了！</source>
        <translation>Great! Level solved!</translation>
    </message>
    <message>
        <source>看明白了吗？@~*&amp;^%$#@？自己再试试吧！</source>
        <translation>Did you see how? @~*&amp;^%$#@? Now try it yourself!</translation>
    </message>
    <message>
        <source>恭喜你通过第%1关！</source>
        <translation>Congratulations, you solved level %1!</translation>
    </message>
    <message>
        <source>第一次通过第%1关！移动%2次,推动%3次！</source>
        <translation>Level %1 solved for the first time! %2 moves, %3 pushes!</translation>
    </message>
    <message>
        <source>突破移动和推动两个记录!移动%1次,推动%2次！</source>
        <translation>New records for moves and pushes! %1 moves, %2 pushes!</translation>
    </message>
    <message>
        <source>突破移动记录!移动%1次,推动%2次！</source>
        <translation>New record for moves! %1 moves, %2 pushes!</translation>
    </message>
    <message>
        <source>突破推动记录!移动%1次,推动%2次！</source>
        <translation>New record for pushes! %1 moves, %2 pushes!</translation>
    </message>
    <message>
        <source>已经将解决方案存为解决答案！</source>
        <translation>Your solution has been saved!</translation>
    </message>
    <message>
        <source>您的答案比原答案简洁！已经保存！</source>
        <translation>Your solution is shorter than the stored one! Saved!</translation>
    </message>
    <message>
        <source>你好厉害呀，已经通过游戏所有关卡，试试别的吧！</source>
        <translation>Well done, you have solved every level of the set. Try another one!</translation>
    </message>
    <message>
        <source>先过了这一关再说吧!</source>
        <translation>Solve this level first!</translation>
    </message>
    <message>
        <source>指定关卡</source>
        <translation>Go to Level</translation>
    </message>
    <message>
        <source>关卡号（1-%1）：</source>
        <translation>Level number (1-%1):</translation>
    </message>
    <message>
        <source>请输入有效数字!</source>
        <translation>Please enter a valid number!</translation>
    </message>
    <message>
        <source>请输入有效关卡号!</source>
        <translation>Please enter a valid level number!</translation>
    </message>
    <message>
        <source>XSB文件游戏，不能保存！</source>
        <translation>A game from an XSB file cannot be saved!</translation>
    </message>
    <message>
        <source>游戏保存到进度%1，当前游戏为第%2关！</source>
        <translation>Game saved to slot %1: level %2!</translation>
    </message>
    <message>
        <source>该进度不存在！</source>
        <translation>That save slot is empty!</translation>
    </message>
    <message>
        <source>保存完毕！</source>
        <translation>Saved!</translation>
    </message>
    <message>
        <source>这一关还没有答案，自己努力吧！</source>
        <translation>This level has no solution yet; keep trying!</translation>
    </message>
    <message>
        <source>要导出哪一关的答案？</source>
        <translation>Export the solution of which level?</translation>
    </message>
    <message>
        <source>输入关卡号：</source>
        <translation>Level number:</translation>
    </message>
    <message>
        <source>本关还没有答案啊！</source>
        <translation>This level has no solution yet!</translation>
    </message>
    <message>
        <source>XSB文件无法导出答案！</source>
        <translation>Solutions cannot be exported from an XSB file!</translation>
    </message>
    <message>
        <source>XSB文件无法导入答案！</source>
        <translation>Solutions cannot be imported into an XSB file!</translation>
    </message>
    <message>
        <source>第%1关有答案，已经导出！<byte value="xd"/>答案文件存为%2</source>
        <translation>The solution of level %1 has been exported!<byte value="xd"/>Solution file: %2</translation>
    </message>
    <message>
        <source>所有有答案的关卡都已经保存！</source>
        <translation>Every solution has been exported!</translation>
    </message>
    <message>
        <source>答案文件中的关卡号不正确！</source>
        <translation>The level number in the solution file is wrong!</translation>
    </message>
    <message>
        <source>答案文件中没有答案！</source>
        <translation>There is no solution in the file!</translation>
    </message>
    <message>
        <source>剪贴板中没有答案！答案由 u、d、l、r（移动）和 U、D、L、R（推动）组成。</source>
        <translation>There is no solution on the clipboard! A solution is made of u, d, l, r (moves) and U, D, L, R (pushes).</translation>
    </message>
    <message>
        <source>答案太长，一个答案最多 4096 步！</source>
        <translation>The solution is too long: a solution has at most 4096 steps!</translation>
    </message>
    <message>
        <source>答案的第 %1 步在第%2关走不通，答案没有导入！</source>
        <translation>Step %1 of the solution is blocked in level %2; the solution was not imported!</translation>
    </message>
    <message>
        <source>答案的第 %1 步在本关走不通！</source>
        <translation>Step %1 of the solution is blocked in this level!</translation>
    </message>
    <message>
        <source>这个答案没有解开第%1关，答案没有导入！</source>
        <translation>This solution does not solve level %1; it was not imported!</translation>
    </message>
    <message>
        <source>这个答案没有解开本关！</source>
        <translation>This solution does not solve the level!</translation>
    </message>
    <message>
        <source>读入的答案不比原答案简洁，原答案保留！</source>
        <translation>The solution is not shorter than the stored one, which stays!</translation>
    </message>
    <message>
        <source>读入的答案显示为第%1关，是否保存到当前文件中？</source>
        <translation>The solution is for level %1. Save it to the current level set?</translation>
    </message>
    <message>
        <source>读入答案所在关卡不是当前关卡，无法演示!</source>
        <translation>The solution is for another level and cannot be replayed here!</translation>
    </message>
    <message>
        <source>是否进行答案演示？</source>
        <translation>Replay the solution?</translation>
    </message>
    <message>
        <source>当前局面无法过关，请撤销后再试！</source>
        <translation>The level cannot be solved from here; undo and try again!</translation>
    </message>
    <message>
        <source>在%1秒之内没能解出当前局面，已经停止求解。</source>
        <translation>No solution found within %1 seconds; the solver stopped.</translation>
    </message>
    <message>
        <source>解出当前局面需要的内存太多，已经停止求解。</source>
        <translation>Solving this position needs too much memory; the solver stopped.</translation>
    </message>
    <message>
        <source>当前局面无法求解！</source>
        <translation>This position cannot be solved!</translation>
    </message>
    <message>
        <source>答案太长，无法演示！</source>
        <translation>The solution is too long to replay!</translation>
    </message>
    <message>
        <source>这个文件好像已经是新版本的文件了，真的要转换吗？</source>
        <translation>This file seems to be in the new format already. Convert it anyway?</translation>
    </message>
    <message>
        <source>转换完毕！</source>
        <translation>Converted!</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>第 %1 等关</source>
        <translation>levels %1</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>没有别的未解关卡了！</source>
        <translation>No other unsolved level is left!</translation>
    </message>
    <message>
        <source>关卡合集：     %1，第 %2 关；</source>
        <translation>Collection:      %1, level %2</translation>
    </message>
    <message>
        <source>本关尝试：     %1 次，用时 %2 分 %3 秒；</source>
        <translation>Attempts:        %1, time %2 min %3 s</translation>
    </message>
    <message>
        <source>最佳答案：     %1 步，%2 推，%3 条推线，%4 次换箱；</source>
        <translation>Best solution:   %1 moves, %2 pushes, %3 box lines, %4 box changes</translation>
    </message>
    <message>
        <source>合集进度：     已解 %1 / %2 关，尝试 %3 次，用时 %4 分；</source>
        <translation>Collection progress: %1 / %2 solved, %3 attempts, %4 min played</translation>
    </message>
    <message>
        <source>这一关太大，进度存不下！</source>
        <translation>This level is too large for a save slot.</translation>
    </message>
</context>
<context>
    <name>sokoban::LevelChooser</name>
    <message>
        <source>未开放</source>
        <translation>Locked</translation>
    </message>
    <message>
        <source>✔ 已解  %1 / %2</source>
        <translation>✔ Solved  %1 / %2</translation>
    </message>
    <message>
        <source>未解</source>
        <translation>Unsolved</translation>
    </message>
    <message>
        <source>关卡一览</source>
        <translation>All Levels</translation>
    </message>
    <message>
        <source>没有打开的关卡集</source>
        <translation>No level set is open</translation>
    </message>
    <message>
        <source>%1  共 %2 关，已解 %3 关，已开放 %4 关</source>
        <translation>%1  %2 levels, %3 solved, %4 open</translation>
    </message>
</context>
<context>
    <name>sokoban::LevelListModel</name>
    <message>
        <source>第 %1 关：%2</source>
        <translation>Level %1: %2</translation>
    </message>
    <message>
        <source>第 %1 关</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>作者：%1</source>
        <translation>Author: %1</translation>
    </message>
    <message>
        <source>最佳移动：%1  最佳推动：%2</source>
        <translation>Best moves: %1  Best pushes: %2</translation>
    </message>
    <message>
        <source>先过了前面的关卡再说吧！</source>
        <translation>Solve the levels before it first!</translation>
    </message>
    <message>
        <source>尝试 %1 次，用时 %2 分 %3 秒</source>
        <translation>%1 attempts, %2 min %3 s</translation>
    </message>
</context>
<context>
    <name>sokoban::MidiFile</name>
    <message>
        <source>MIDI 文件已损坏（时间值过长）</source>
        <translation>the MIDI file is damaged (a time value is too long)</translation>
    </message>
    <message>
        <source>MIDI 文件已损坏（数据不完整）</source>
        <translation>the MIDI file is damaged (data missing)</translation>
    </message>
    <message>
        <source>MIDI 文件已损坏（缺少状态字节）</source>
        <translation>the MIDI file is damaged (a status byte is missing)</translation>
    </message>
    <message>
        <source>MIDI 文件已损坏（速度事件）</source>
        <translation>the MIDI file is damaged (tempo event)</translation>
    </message>
    <message>
        <source>MIDI 文件已损坏（未知事件）</source>
        <translation>the MIDI file is damaged (unknown event)</translation>
    </message>
    <message>
        <source>不是 MIDI 文件</source>
        <translation>not a MIDI file</translation>
    </message>
    <message>
        <source>MIDI 文件头已损坏</source>
        <translation>the MIDI file header is damaged</translation>
    </message>
    <message>
        <source>不支持的 MIDI 文件格式</source>
        <translation>unsupported MIDI file format</translation>
    </message>
    <message>
        <source>MIDI 文件头已损坏（时间单位为零）</source>
        <translation>the MIDI file header is damaged (time unit of zero)</translation>
    </message>
    <message>
        <source>MIDI 文件头已损坏（每帧的时间单位为零）</source>
        <translation>the MIDI file header is damaged (zero time units per frame)</translation>
    </message>
    <message>
        <source>MIDI 文件中没有音轨</source>
        <translation>the MIDI file has no tracks</translation>
    </message>
    <message>
        <source>MIDI 文件的时间无法计算</source>
        <translation>the length of the MIDI file cannot be worked out</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>找不到文件或无法读取</source>
        <translation>the file is missing or cannot be read</translation>
    </message>
    <message>
        <source>无法读取文件</source>
        <translation>the file cannot be read</translation>
    </message>
</context>
<context>
    <name>sokoban::MusicPlayer</name>
    <message>
        <source>无法打开音乐文件“%1”：%2</source>
        <translation>Cannot open the music file “%1”: %2</translation>
    </message>
</context>
<context>
    <name>sokoban::QtDialogs</name>
    <message>
        <source>推箱子</source>
        <translation>Box Pusher</translation>
    </message>
</context>
<context>
    <name>sokoban::Skin</name>
    <message>
        <source>符号链接形成了循环</source>
        <translation>symbolic links lead round in a circle</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>文件太大</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>不是 UTF-8 文本</source>
        <translation>not UTF-8 text</translation>
    </message>
    <message>
        <source>第 %1 行既不是“键=值”也不是“[节]”</source>
        <translation>line %1 is neither “key=value” nor “[section]”</translation>
    </message>
    <message>
        <source>没有 [Skin] 节</source>
        <translation>there is no [Skin] section</translation>
    </message>
    <message>
        <source>格式是“%1”，只认识 common</source>
        <translation>the format is “%1”; only common is known</translation>
    </message>
    <message>
        <source>TileSize 是“%1”，不是正整数</source>
        <translation>TileSize is “%1”, not a positive whole number</translation>
    </message>
    <message>
        <source>TileSize 是 %1，图片的方格是 %2 像素</source>
        <translation>TileSize is %1, but the picture&apos;s tiles are %2 pixels</translation>
    </message>
    <message>
        <source>找不到皮肤文件：%1</source>
        <translation>The skin file cannot be found: %1</translation>
    </message>
    <message>
        <source>皮肤不是一个图片文件，而是文件夹或其他东西：%1</source>
        <translation>The skin is not a picture file but a folder or something else: %1</translation>
    </message>
    <message>
        <source>皮肤文件的符号链接绕成了一个圈：%1</source>
        <translation>The symbolic links of the skin file lead round in a circle: %1</translation>
    </message>
    <message>
        <source>无法读取皮肤图片：%1
%2</source>
        <translation>The skin picture cannot be read: %1
%2</translation>
    </message>
    <message>
        <source>皮肤图片是空的：%1</source>
        <translation>The skin picture is empty: %1</translation>
    </message>
    <message>
        <source>皮肤图片的大小（%2）不是每行四格、格子为正方形的网格：%1</source>
        <translation>The size of the skin picture (%2) is not a grid of square tiles, four to a row: %1</translation>
    </message>
    <message>
        <source>皮肤的格子只有 %2 像素，至少要 8 像素：%1</source>
        <translation>The skin&apos;s tiles are only %2 pixels; they must be at least 8: %1</translation>
    </message>
    <message>
        <source>皮肤的格子有 %2 像素，最多只能 256 像素：%1</source>
        <translation>The skin&apos;s tiles are %2 pixels; they may be at most 256: %1</translation>
    </message>
    <message>
        <source>皮肤的说明文件不是认识的格式：%1
%2</source>
        <translation>The skin&apos;s description is not in a known format: %1
%2</translation>
    </message>
    <message>
        <source>皮肤的说明文件已损坏：%1
%2</source>
        <translation>The skin&apos;s description is damaged: %1
%2</translation>
    </message>
    <message>
        <source>界面保持不变。</source>
        <translation>The look stays as it was.</translation>
    </message>
</context>
<context>
    <name>sokoban::SolverRunner</name>
    <message>
        <source>正在求解，请稍候……</source>
        <translation>Solving, please wait…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>推箱子</source>
        <translation>Box Pusher</translation>
    </message>
</context>
<context>
    <name>sokoban::StatusPanel</name>
    <message>
        <source>当前关卡号：</source>
        <translation>Level: </translation>
    </message>
    <message>
        <source>关卡：</source>
        <translation>Level: </translation>
    </message>
    <message>
        <source>最佳移动：</source>
        <translation>Best moves: </translation>
    </message>
    <message>
        <source>最佳：</source>
        <translation>Best: </translation>
    </message>
    <message>
        <source>最佳推动：</source>
        <translation>Best pushes: </translation>
    </message>
</context>
<context>
    <name>sokoban::TAboutBox</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>推箱子</source>
        <translation>Box Pusher</translation>
    </message>
    <message>
        <source>版本：%1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>游戏主页：关于本游戏</source>
        <translation>Home page: about this game</translation>
    </message>
    <message>
        <source>联系我们：问题和建议</source>
        <translation>Contact us: questions and ideas</translation>
    </message>
    <message>
        <source>一个推箱子益智游戏：把每只箱子推到目标上。</source>
        <translation>A box-pushing puzzle: push every box onto a target.</translation>
    </message>
    <message>
        <source>关卡、图片、声音和音乐都由本游戏自己生成。</source>
        <translation>Its levels, pictures, sounds and music are all made by the game itself.</translation>
    </message>
    <message>
        <source>本游戏开发小组编写。</source>
        <translation>Written by the game&apos;s development team.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>sokoban::TFormDesign</name>
    <message>
        <source>推箱子游戏文件(*.box)|*.box</source>
        <translation>Level sets (*.box)|*.box</translation>
    </message>
    <message>
        <source>关卡设计</source>
        <translation>Level Designer</translation>
    </message>
    <message>
        <source>设计网格</source>
        <translation>Design grid</translation>
    </message>
    <message>
        <source>没有设计文件！</source>
        <translation>No level set open!</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>打开(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>文件另存为(&amp;A)</source>
        <translation>Save Set &amp;As</translation>
    </message>
    <message>
        <source>关卡管理器(&amp;M)</source>
        <translation>Level &amp;Manager</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>关卡(&amp;R)</source>
        <translation>&amp;Level</translation>
    </message>
    <message>
        <source>打开关卡(&amp;O)</source>
        <translation>&amp;Open Level</translation>
    </message>
    <message>
        <source>新建关卡(&amp;N)</source>
        <translation>&amp;New Level</translation>
    </message>
    <message>
        <source>保存关卡(&amp;S)</source>
        <translation>&amp;Save Level</translation>
    </message>
    <message>
        <source>删除关卡(&amp;D)</source>
        <translation>&amp;Delete Level</translation>
    </message>
    <message>
        <source>关卡另存为(&amp;A)</source>
        <translation>Save Level &amp;As</translation>
    </message>
    <message>
        <source>检查能否过关</source>
        <translation>Check Solvable</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>工具栏文字(&amp;C)</source>
        <translation>Tool Bar &amp;Captions</translation>
    </message>
    <message>
        <source>设计元素(&amp;I)</source>
        <translation>Design &amp;Items</translation>
    </message>
    <message>
        <source>其它</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>存为XSB文件(&amp;S)</source>
        <translation>&amp;Save as XSB File</translation>
    </message>
    <message>
        <source>XSB文件浏览器</source>
        <translation>XSB File Viewer</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>内容(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>新建游戏文件</source>
        <translation>New level set</translation>
    </message>
    <message>
        <source>打开游戏文件</source>
        <translation>Open a level set</translation>
    </message>
    <message>
        <source>不同文件中的关卡互换</source>
        <translation>Move levels between level sets</translation>
    </message>
    <message>
        <source>退出设计程序</source>
        <translation>Leave the designer</translation>
    </message>
    <message>
        <source>选择关卡</source>
        <translation>Choose a level</translation>
    </message>
    <message>
        <source>新建关卡</source>
        <translation>New level</translation>
    </message>
    <message>
        <source>保存关卡</source>
        <translation>Save the level</translation>
    </message>
    <message>
        <source>快捷工具栏</source>
        <translation>Tool bar</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>前一关</source>
        <translation>Prev</translation>
    </message>
    <message>
        <source>选关</source>
        <translation>Levels</translation>
    </message>
    <message>
        <source>下一关</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>新关</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>删除关卡</source>
        <translation>Delete the level</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>行：%1   列：%2</source>
        <translation>Row: %1   Column: %2</translation>
    </message>
    <message>
        <source>搬运工的起始位置只能在地板上！</source>
        <translation>The worker can only start on the floor!</translation>
    </message>
    <message>
        <source>关卡设计  %1</source>
        <translation>Level Designer  %1</translation>
    </message>
    <message>
        <source>当前关卡：%1 / %2</source>
        <translation>Level: %1 / %2</translation>
    </message>
    <message>
        <source>这个样子可没法玩，有点不对吧？</source>
        <translation>This cannot be played; something is not right.</translation>
    </message>
    <message>
        <source>游戏文件中没有关卡数据，新建一关！</source>
        <translation>The level set has no levels; starting a new level!</translation>
    </message>
    <message>
        <source>关卡已修改，是否保存？</source>
        <translation>The level has changed. Save it?</translation>
    </message>
    <message>
        <source>没有打开游戏文件，关卡无法保存！</source>
        <translation>No level set is open, so the level cannot be saved!</translation>
    </message>
    <message>
        <source>指定关卡</source>
        <translation>Go to Level</translation>
    </message>
    <message>
        <source>输入关卡号：</source>
        <translation>Level number:</translation>
    </message>
    <message>
        <source>请输入有效数字!</source>
        <translation>Please enter a valid number!</translation>
    </message>
    <message>
        <source>请输入有效关卡号!</source>
        <translation>Please enter a valid level number!</translation>
    </message>
    <message>
        <source>将设计保存到了第%1关！</source>
        <translation>The design was saved as level %1!</translation>
    </message>
    <message>
        <source>保存到另外关卡</source>
        <translation>Save as Another Level</translation>
    </message>
    <message>
        <source>删除后不能恢复，确认删除吗？</source>
        <translation>A deleted level cannot be brought back. Delete it?</translation>
    </message>
    <message>
        <source>仓库文件(*.xsb)|*.xsb|所有文件(*.*)|*.*</source>
        <translation>XSB levels (*.xsb)|*.xsb|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>保存完毕！</source>
        <translation>Saved!</translation>
    </message>
    <message>
        <source>这一关可以过关！推动%1次，移动%2次。</source>
        <translation>This level can be solved! %1 pushes, %2 moves.</translation>
    </message>
    <message>
        <source>这一关无法过关！</source>
        <translation>This level cannot be solved!</translation>
    </message>
    <message>
        <source>在%1秒之内没能判定这一关能否过关。</source>
        <translation>Could not tell within %1 seconds whether this level can be solved.</translation>
    </message>
    <message>
        <source>判定这一关能否过关需要的内存太多，没能判定。</source>
        <translation>Telling whether this level can be solved needs too much memory.</translation>
    </message>
</context>
<context>
    <name>sokoban::TFormFace</name>
    <message>
        <source>自定义界面</source>
        <translation>Custom Look</translation>
    </message>
    <message>
        <source>墙壁</source>
        <translation>Wall</translation>
    </message>
    <message>
        <source>地板</source>
        <translation>Floor</translation>
    </message>
    <message>
        <source>箱子</source>
        <translation>Box</translation>
    </message>
    <message>
        <source>应  用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>演示</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>确  定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取  消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>自动演示所有界面组合!
使用+ - 键可以加速或者减速
使用N键可以间隔跳动</source>
        <translation>Shows every combination in turn!
+ and - make it faster or slower
N skips ahead</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>皮肤：</source>
        <translation>Skin:</translation>
    </message>
    <message>
        <source>不用皮肤（用上面的组合）</source>
        <translation>No skin (the combination above)</translation>
    </message>
</context>
<context>
    <name>sokoban::TFormItem</name>
    <message>
        <source>设计元素</source>
        <translation>Design Items</translation>
    </message>
    <message>
        <source>擦除</source>
        <translation>Erase</translation>
    </message>
    <message>
        <source>墙壁</source>
        <translation>Wall</translation>
    </message>
    <message>
        <source>地板</source>
        <translation>Floor</translation>
    </message>
    <message>
        <source>目标</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>箱子</source>
        <translation>Box</translation>
    </message>
    <message>
        <source>目标上的箱子</source>
        <translation>Box on target</translation>
    </message>
    <message>
        <source>搬运工</source>
        <translation>Worker</translation>
    </message>
</context>
<context>
    <name>sokoban::TFormSelect</name>
    <message>
        <source>选择游戏</source>
        <translation>Choose a Level Set</translation>
    </message>
    <message>
        <source>请将默认游戏以外的游戏文件加到列表中</source>
        <translation>Add level sets other than the built-in ones to the list</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>添加游戏</source>
        <translation>Add Set</translation>
    </message>
    <message>
        <source>向游戏列表中添加游戏</source>
        <translation>Add a level set to the list</translation>
    </message>
    <message>
        <source>删除游戏</source>
        <translation>Remove Set</translation>
    </message>
    <message>
        <source>将游戏从游戏列表中删除</source>
        <translation>Remove the level set from the list</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>游戏%1</source>
        <translation>Level set %1</translation>
    </message>
    <message>
        <source>选择游戏：%1</source>
        <translation>Level set: %1</translation>
    </message>
    <message>
        <source>游戏文件不存在，请从列表中删除！</source>
        <translation>The level set does not exist; please remove it from the list!</translation>
    </message>
    <message>
        <source>游戏数据文件(*.box)|*.box</source>
        <translation>Level sets (*.box)|*.box</translation>
    </message>
    <message>
        <source>您选择的是默认游戏，不用添加到列表！</source>
        <translation>That is a built-in level set; it need not be added to the list!</translation>
    </message>
</context>
<context>
    <name>sokoban::TFormXSBViewer</name>
    <message>
        <source>XSB仓库源文件(*.xsb)|*.xsb|XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|所有文件 (*.*)|*.*</source>
        <translation>XSB levels (*.xsb)|*.xsb|XSB/SOK level collections (*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>XSB文件可视化浏览器</source>
        <translation>XSB File Viewer</translation>
    </message>
    <message>
        <source>XSB文件可视化预览</source>
        <translation>XSB File Preview</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>XSB文件可视化预览（共 %1 关）</source>
        <translation>XSB File Preview (%1 levels)</translation>
    </message>
</context>
<context>
    <name>sokoban::THelpWindow</name>
    <message>
        <source>推箱子 帮助</source>
        <translation>Box Pusher Help</translation>
    </message>
    <message>
        <source>帮助内容</source>
        <translation>Help contents</translation>
    </message>
    <message>
        <source>后退</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前进</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>找不到帮助文件：%1</source>
        <translation>The help file is missing: %1</translation>
    </message>
</context>
<context>
    <name>sokoban::TMainForm</name>
    <message>
        <source>求解</source>
        <translation>Solve</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>撤销一步</source>
        <translation>Undo Move</translation>
    </message>
    <message>
        <source>标记死角</source>
        <translation>Mark Dead Squares</translation>
    </message>
    <message>
        <source>关卡一览(&amp;T)</source>
        <translation>Level Lis&amp;t</translation>
    </message>
    <message>
        <source>粘贴关卡(&amp;P)</source>
        <translation>&amp;Paste Level</translation>
    </message>
    <message>
        <source>剪贴板</source>
        <translation>Clipboard</translation>
    </message>
    <message>
        <source>复制关卡(&amp;C)</source>
        <translation>&amp;Copy Level</translation>
    </message>
    <message>
        <source>导出关卡合集(&amp;E)</source>
        <translation>&amp;Export Level Collection</translation>
    </message>
    <message>
        <source>粘贴答案</source>
        <translation>Paste Solution</translation>
    </message>
    <message>
        <source>复制答案</source>
        <translation>Copy Solution</translation>
    </message>
    <message>
        <source>推箱子</source>
        <translation>Box Pusher</translation>
    </message>
    <message>
        <source>关卡画面</source>
        <translation>Board</translation>
    </message>
    <message>
        <source>游戏(&amp;G)</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>撤销(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重玩(&amp;R)</source>
        <translation>&amp;Restart</translation>
    </message>
    <message>
        <source>前一关(&amp;P)</source>
        <translation>&amp;Previous Level</translation>
    </message>
    <message>
        <source>后一关(&amp;N)</source>
        <translation>&amp;Next Level</translation>
    </message>
    <message>
        <source>选关(&amp;S)</source>
        <translation>&amp;Select Level</translation>
    </message>
    <message>
        <source>读取答案(&amp;L)</source>
        <translation>Show So&amp;lution</translation>
    </message>
    <message>
        <source>选择游戏(&amp;L)</source>
        <translation>Level S&amp;ets</translation>
    </message>
    <message>
        <source>默认关卡</source>
        <translation>Default Levels</translation>
    </message>
    <message>
        <source>脑力型</source>
        <translation>Thinker Levels</translation>
    </message>
    <message>
        <source>体力型</source>
        <translation>Marathon Levels</translation>
    </message>
    <message>
        <source>入门型</source>
        <translation>Beginner Levels</translation>
    </message>
    <message>
        <source>不可能完成的任务</source>
        <translation>Impossible Tasks</translation>
    </message>
    <message>
        <source>读取其它游戏</source>
        <translation>Open Another Level Set</translation>
    </message>
    <message>
        <source>从列表中选择其它...</source>
        <translation>Choose from the List...</translation>
    </message>
    <message>
        <source>游戏设计(&amp;M)</source>
        <translation>Level &amp;Designer</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>进度(&amp;R)</source>
        <translation>&amp;Progress</translation>
    </message>
    <message>
        <source>保存进度(&amp;S)</source>
        <translation>&amp;Save Game</translation>
    </message>
    <message>
        <source>读取进度(&amp;L)</source>
        <translation>&amp;Load Game</translation>
    </message>
    <message>
        <source>进度%1</source>
        <translation>Slot %1</translation>
    </message>
    <message>
        <source>显示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Tool Bar</translation>
    </message>
    <message>
        <source>工具栏文字(&amp;C)</source>
        <translation>Tool Bar &amp;Captions</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>声音提示(&amp;S)</source>
        <translation>&amp;Sound Effects</translation>
    </message>
    <message>
        <source>背景音乐(&amp;M)</source>
        <translation>Background &amp;Music</translation>
    </message>
    <message>
        <source>更换背景(&amp;W)</source>
        <translation>Change &amp;Wallpaper</translation>
    </message>
    <message>
        <source>自定义界面(&amp;F)</source>
        <translation>Custom &amp;Look</translation>
    </message>
    <message>
        <source>界面大小自动变化</source>
        <translation>Resize Window to Level</translation>
    </message>
    <message>
        <source>转换1.25版本以前的游戏文件</source>
        <translation>Convert Files from Before Version 1.25</translation>
    </message>
    <message>
        <source>游戏信息(&amp;I)</source>
        <translation>Game &amp;Information</translation>
    </message>
    <message>
        <source>选项(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>其它(&amp;O)</source>
        <translation>&amp;Other</translation>
    </message>
    <message>
        <source>导出答案(&amp;O)</source>
        <translation>Export S&amp;olution</translation>
    </message>
    <message>
        <source>批量导出答案</source>
        <translation>Export All Solutions</translation>
    </message>
    <message>
        <source>导入答案(&amp;I)</source>
        <translation>&amp;Import Solution</translation>
    </message>
    <message>
        <source>存为XSB文件(&amp;S)</source>
        <translation>&amp;Save as XSB File</translation>
    </message>
    <message>
        <source>XSB文件浏览器(&amp;V)</source>
        <translation>XSB File &amp;Viewer</translation>
    </message>
    <message>
        <source>关卡管理器(&amp;M)</source>
        <translation>Level &amp;Manager</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>内容(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>联系作者(&amp;E)</source>
        <translation>Contact the &amp;Authors</translation>
    </message>
    <message>
        <source>作者主页(&amp;W)</source>
        <translation>&amp;Web Page</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>界面风格%1</source>
        <translation>Look %1</translation>
    </message>
    <message>
        <source>自定义界面</source>
        <translation>Custom Look</translation>
    </message>
    <message>
        <source>人物%1</source>
        <translation>Worker %1</translation>
    </message>
    <message>
        <source>背景%1</source>
        <translation>Background %1</translation>
    </message>
    <message>
        <source>当前墙壁</source>
        <translation>Current Wall</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Tool bar</translation>
    </message>
    <message>
        <source>前一关</source>
        <translation>Prev</translation>
    </message>
    <message>
        <source>到前一关</source>
        <translation>Go to the previous level</translation>
    </message>
    <message>
        <source>选关</source>
        <translation>Levels</translation>
    </message>
    <message>
        <source>选择关卡</source>
        <translation>Choose a level</translation>
    </message>
    <message>
        <source>后一关</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>到后一关</source>
        <translation>Go to the next level</translation>
    </message>
    <message>
        <source>重玩</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>重玩本关</source>
        <translation>Restart the level</translation>
    </message>
    <message>
        <source>答案</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>演示答案</source>
        <translation>Replay the solution</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>撤销到上一次推箱子之前</source>
        <translation>Undo back to before the last push</translation>
    </message>
    <message>
        <source>提示：电脑替你推一步</source>
        <translation>Hint: the computer makes one push for you</translation>
    </message>
    <message>
        <source>声音</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>声音提示</source>
        <translation>Sound effects</translation>
    </message>
    <message>
        <source>音乐</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>打开音乐</source>
        <translation>Play music</translation>
    </message>
    <message>
        <source>人物</source>
        <translation>Worker</translation>
    </message>
    <message>
        <source>选择搬运工图像</source>
        <translation>Choose the worker&apos;s figure</translation>
    </message>
    <message>
        <source>界面</source>
        <translation>Look</translation>
    </message>
    <message>
        <source>选择游戏界面</source>
        <translation>Choose the look of the game</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Scene</translation>
    </message>
    <message>
        <source>选择或者读入背景</source>
        <translation>Choose or load a background</translation>
    </message>
    <message>
        <source>设计</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>游戏及关卡设计</source>
        <translation>Design levels and level sets</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>退出游戏</source>
        <translation>Leave the game</translation>
    </message>
    <message>
        <source>  推箱子 · 把每一个箱子推到目标上</source>
        <translation>  Box Pusher · push every box onto a target</translation>
    </message>
    <message>
        <source>读取答案</source>
        <translation>Show Solution</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>暂停演示</source>
        <translation>Pause Replay</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>停止演示</source>
        <translation>Stop Replay</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>继续演示</source>
        <translation>Resume Replay</translation>
    </message>
    <message>
        <source>无法读取图片文件。</source>
        <translation>The picture file cannot be read.</translation>
    </message>
    <message>
        <source>下一个未解关卡(&amp;J)</source>
        <translation>Next Unsol&amp;ved Level</translation>
    </message>
</context>
<context>
    <name>sokoban::TPagesDlg</name>
    <message>
        <source>创建BOX文件关联</source>
        <translation>Open BOX files with the game</translation>
    </message>
    <message>
        <source>使*.box文件和程序关联</source>
        <translation>Let *.box files open in the game</translation>
    </message>
    <message>
        <source>删除*.box文件关联</source>
        <translation>Stop opening *.box files in the game</translation>
    </message>
    <message>
        <source>创建XSB文件关联</source>
        <translation>Open XSB files with the game</translation>
    </message>
    <message>
        <source>使*.XSB文件和程序关联</source>
        <translation>Let *.XSB files open in the game</translation>
    </message>
    <message>
        <source>删除*.XSB文件关联</source>
        <translation>Stop opening *.XSB files in the game</translation>
    </message>
    <message>
        <source>创建桌面快捷方式</source>
        <translation>Add a desktop shortcut</translation>
    </message>
    <message>
        <source>在桌面建立游戏快捷方式</source>
        <translation>Put a shortcut to the game on the desktop</translation>
    </message>
    <message>
        <source>删除桌面上的快捷方式</source>
        <translation>Remove the shortcut from the desktop</translation>
    </message>
    <message>
        <source>创建开始菜单快捷方式</source>
        <translation>Add a start menu shortcut</translation>
    </message>
    <message>
        <source>在开始菜单中创建游戏快捷方式</source>
        <translation>Put a shortcut to the game in the start menu</translation>
    </message>
    <message>
        <source>删除开始菜单中的快捷方式</source>
        <translation>Remove the shortcut from the start menu</translation>
    </message>
    <message>
        <source>创建程序菜单快捷方式</source>
        <translation>Add a programs menu shortcut</translation>
    </message>
    <message>
        <source>在程序菜单中创建游戏快捷方式</source>
        <translation>Put a shortcut to the game in the programs menu</translation>
    </message>
    <message>
        <source>删除程序菜单中的游戏快捷方式</source>
        <translation>Remove the game&apos;s shortcut from the programs menu</translation>
    </message>
    <message>
        <source>已经在桌面上创建了游戏的快捷方式!</source>
        <translation>A shortcut to the game is now on the desktop!</translation>
    </message>
    <message>
        <source>已经在开始菜单中创建了游戏的快捷方式!</source>
        <translation>A shortcut to the game is now in the start menu!</translation>
    </message>
    <message>
        <source>已经在程序菜单中创建了游戏的快捷方式!</source>
        <translation>A shortcut to the game is now in the programs menu!</translation>
    </message>
    <message>
        <source>已经删除了游戏在桌面上的快捷方式!</source>
        <translation>The game&apos;s shortcut on the desktop has been removed!</translation>
    </message>
    <message>
        <source>已经删除了游戏在开始菜单中的快捷方式!</source>
        <translation>The game&apos;s shortcut in the start menu has been removed!</translation>
    </message>
    <message>
        <source>已经删除了游戏在程序菜单中的快捷方式!</source>
        <translation>The game&apos;s shortcut in the programs menu has been removed!</translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>基本设置</source>
        <translation>Basics</translation>
    </message>
    <message>
        <source>游戏安装</source>
        <translation>Installation</translation>
    </message>
    <message>
        <source>其它设置</source>
        <translation>More</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>背景音乐</source>
        <translation>Background music</translation>
    </message>
    <message>
        <source>乐曲1</source>
        <translation>Tune 1</translation>
    </message>
    <message>
        <source>乐曲2</source>
        <translation>Tune 2</translation>
    </message>
    <message>
        <source>乐曲3</source>
        <translation>Tune 3</translation>
    </message>
    <message>
        <source>乐曲4</source>
        <translation>Tune 4</translation>
    </message>
    <message>
        <source>乐曲5</source>
        <translation>Tune 5</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>应用选择的音乐</source>
        <translation>Play the chosen tune</translation>
    </message>
    <message>
        <source>快速</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>中速</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>慢速</source>
        <translation>Slow</translation>
    </message>
    <message>
        <source>移动速度</source>
        <translation>Walking speed</translation>
    </message>
    <message>
        <source>演示速度</source>
        <translation>Replay speed</translation>
    </message>
    <message>
        <source>背景显示方式</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Centred</translation>
    </message>
    <message>
        <source>平铺</source>
        <translation>Tiled</translation>
    </message>
    <message>
        <source>拉伸</source>
        <translation>Stretched</translation>
    </message>
    <message>
        <source>安装</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>过关界面变换</source>
        <translation>Look after a solved level</translation>
    </message>
    <message>
        <source>每一关随机变换界面风格</source>
        <translation>A random look for every level</translation>
    </message>
    <message>
        <source>使用游戏默认的组合方式</source>
        <translation>The game&apos;s own combinations</translation>
    </message>
    <message>
        <source>使用随机组合方式</source>
        <translation>Random combinations</translation>
    </message>
    <message>
        <source>答案演示使用单步方式</source>
        <translation>Replay solutions step by step</translation>
    </message>
    <message>
        <source>选中后按&quot;N&quot;键单步演示答案</source>
        <translation>When ticked, the &quot;N&quot; key plays the next step of a solution</translation>
    </message>
    <message>
        <source>过关后不显示详细提示信息</source>
        <translation>No detailed message after a solved level</translation>
    </message>
    <message>
        <source>最短路径行走</source>
        <translation>Walk the shortest way</translation>
    </message>
    <message>
        <source>点击远处的地面时沿最短的路走过去</source>
        <translation>A click on a distant floor square walks there the shortest way</translation>
    </message>
    <message>
        <source>求解时间限制</source>
        <translation>Time limit of the solver</translation>
    </message>
    <message>
        <source>10秒</source>
        <translation>10 s</translation>
    </message>
    <message>
        <source>30秒</source>
        <translation>30 s</translation>
    </message>
    <message>
        <source>60秒</source>
        <translation>60 s</translation>
    </message>
    <message>
        <source>无限制</source>
        <translation>None</translation>
    </message>
    <message>
        <source>提示、求解和检查能否过关最多等待的时间</source>
        <translation>How long a hint, a solve or a solvability check may take at most</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>As the system</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>已经为%1文件与游戏建立了关联！
您以后可以通过双击%1文件进行游戏！</source>
        <translation>%1 files now open in the game!
Double-click a %1 file to play it.</translation>
    </message>
    <message>
        <source>已经删除了%1文件与游戏的关联！
您以后不能通过双击%1文件进行游戏！</source>
        <translation>%1 files no longer open in the game!
Double-clicking a %1 file will not start it.</translation>
    </message>
    <message>
        <source>动画</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>人和箱子从一格平滑地走到下一格</source>
        <translation>The worker and the boxes glide from one square to the next</translation>
    </message>
</context>
<context>
    <name>sokoban::TformChange</name>
    <message>
        <source>关卡管理</source>
        <translation>Level Manager</translation>
    </message>
    <message>
        <source>关卡预览</source>
        <translation>Level preview</translation>
    </message>
    <message>
        <source>将关卡移到文件1中</source>
        <translation>Move the level to set 1</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Refresh the lists</translation>
    </message>
    <message>
        <source>将关卡移到文件2中</source>
        <translation>Move the level to set 2</translation>
    </message>
    <message>
        <source>文件%1</source>
        <translation>Set %1</translation>
    </message>
    <message>
        <source>打开文件%1</source>
        <translation>Open set %1</translation>
    </message>
    <message>
        <source>关卡位置向上移动</source>
        <translation>Move the level up</translation>
    </message>
    <message>
        <source>关卡位置向下移动</source>
        <translation>Move the level down</translation>
    </message>
    <message>
        <source>删除关卡</source>
        <translation>Delete the level</translation>
    </message>
    <message>
        <source>推箱子游戏文件(*.box)|*.box</source>
        <translation>Level sets (*.box)|*.box</translation>
    </message>
    <message>
        <source>您已经打开这个文件了!</source>
        <translation>That level set is already open!</translation>
    </message>
    <message>
        <source>没有打开源文件或者没有指定要复制的关卡!</source>
        <translation>No source level set is open, or no level is chosen to copy!</translation>
    </message>
    <message>
        <source>没有打开目标文件!</source>
        <translation>No target level set is open!</translation>
    </message>
</context>
<context>
    <name>sokoban::Tforminfor</name>
    <message>
        <source>当前游戏文件： %1；</source>
        <translation>Level set: %1</translation>
    </message>
    <message>
        <source>当前游戏共有： %1 关；</source>
        <translation>Levels in the set: %1</translation>
    </message>
    <message>
        <source>您已经通过：   %1   关；</source>
        <translation>Levels solved:   %1</translation>
    </message>
    <message>
        <source>您已经通过：   %1 关；</source>
        <translation>Levels solved:   %1</translation>
    </message>
    <message>
        <source>您正在玩第     %1 关；</source>
        <translation>Playing level:   %1</translation>
    </message>
    <message>
        <source>当前关卡的最佳移动步数：%1 步</source>
        <translation>Best moves for this level: %1</translation>
    </message>
    <message>
        <source>当前关卡的最佳移动步数：    无</source>
        <translation>Best moves for this level: none</translation>
    </message>
    <message>
        <source>当前关卡的最佳推动步数：%1 步</source>
        <translation>Best pushes for this level: %1</translation>
    </message>
    <message>
        <source>当前关卡的最佳推动步数：    无</source>
        <translation>Best pushes for this level: none</translation>
    </message>
    <message>
        <source>您的移动步数：%1 步</source>
        <translation>Your moves: %1</translation>
    </message>
    <message>
        <source>您的推动步数：%1 步</source>
        <translation>Your pushes: %1</translation>
    </message>
    <message>
        <source>有答案的关：</source>
        <translation>Levels with a solution: </translation>
    </message>
    <message>
        <source>没有答案的关：</source>
        <translation>Levels without a solution: </translation>
    </message>
    <message>
        <source>%1、</source>
        <translation>%1, </translation>
    </message>
    <message>
        <source>游戏信息</source>
        <translation>Game Information</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
