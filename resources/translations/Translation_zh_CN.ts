<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BootLoaderSession</name>
    <message>
        <source>no problem</source>
        <translation>无问题</translation>
    </message>
    <message>
        <source>the loader image is empty</source>
        <translation>引导程序映像为空</translation>
    </message>
    <message>
        <source>the firmware file is empty</source>
        <translation>固件文件为空</translation>
    </message>
    <message>
        <source>the firmware needs more than 255 blocks of 4096 bytes</source>
        <translation>固件需要超过 255 个 4096 字节的数据块</translation>
    </message>
    <message>
        <source>the boot loader did not answer the synchronisation</source>
        <translation>引导程序未响应同步</translation>
    </message>
    <message>
        <source>a loader byte was not echoed</source>
        <translation>有一个引导程序字节未被回显</translation>
    </message>
    <message>
        <source>the block count was not echoed</source>
        <translation>数据块数未被回显</translation>
    </message>
    <message>
        <source>the start byte was not acknowledged</source>
        <translation>起始字节未被确认</translation>
    </message>
    <message>
        <source>a block was not acknowledged</source>
        <translation>有一个数据块未被确认</translation>
    </message>
    <message>
        <source>the probe did not answer after its restart</source>
        <translation>探头重启后未应答</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>data %1 error, should be in (0, 1)!</source>
        <translation>数据 %1 错误，应在 (0, 1) 范围内！</translation>
    </message>
    <message>
        <source>data %1 error!</source>
        <translation>数据 %1 错误！</translation>
    </message>
    <message>
        <source>Download color matrix parameter succeed!</source>
        <translation>下载颜色矩阵参数成功！</translation>
    </message>
    <message>
        <source>Solidify memory channel name failed!</source>
        <translation>固化存储通道名称失败！</translation>
    </message>
    <message>
        <source>Solidify calibration date&amp;time failed!</source>
        <translation>固化校准日期&amp;时间失败！</translation>
    </message>
    <message>
        <source>Solidify white color x failed!</source>
        <translation>固化白色 x 失败！</translation>
    </message>
    <message>
        <source>Solidify white color y failed!</source>
        <translation>固化白色 y 失败！</translation>
    </message>
    <message>
        <source>Solidify white color Lv failed!</source>
        <translation>固化白色 Lv 失败！</translation>
    </message>
    <message>
        <source>Color matrix parameter %1 read back differs from the value written!</source>
        <translation>读回的颜色矩阵参数 %1 与写入值不一致！</translation>
    </message>
    <message>
        <source>Read back color matrix parameter %1 failed!</source>
        <translation>读回颜色矩阵参数 %1 失败！</translation>
    </message>
    <message>
        <source>Solidify color matrix parameter %1 failed!</source>
        <translation>固化颜色矩阵参数 %1 失败！</translation>
    </message>
    <message>
        <source>The channel&apos;s previous matrix has been written back and read back.</source>
        <translation>该通道原有的矩阵已写回并读回。</translation>
    </message>
    <message>
        <source>Writing back the channel&apos;s previous matrix failed too, the channel may hold a mixed matrix: download again!</source>
        <translation>写回该通道原有的矩阵也失败，该通道可能存有新旧混合的矩阵：请重新下载！</translation>
    </message>
    <message>
        <source>Invalid calibration data, x should be in (0, 1)!</source>
        <translation>校准数据无效，x 应在 (0, 1) 范围内！</translation>
    </message>
    <message>
        <source>Invalid calibration data, y should be in (0, 1)!</source>
        <translation>校准数据无效，y 应在 (0, 1) 范围内！</translation>
    </message>
    <message>
        <source>Invalid calibration data, Lv should be positive!</source>
        <translation>校准数据无效，Lv 应为正数！</translation>
    </message>
    <message>
        <source>Input parameter is overflow!</source>
        <translation>输入参数溢出！</translation>
    </message>
    <message>
        <source>Invalid calibration reference data, all the data are 0!</source>
        <translation>校准参考数据无效，所有数据均为 0！</translation>
    </message>
    <message>
        <source>Invalid calibration measure data, all the data are 0!</source>
        <translation>校准测量数据无效，所有数据均为 0！</translation>
    </message>
    <message>
        <source>Invalid calibration result data, all the data are 0!</source>
        <translation>校准结果数据无效，所有数据均为 0！</translation>
    </message>
    <message>
        <source>A group used for the calculation is not measured (all its readings failed), please measure it again!</source>
        <translation>用于计算的某一组尚未测量（其所有读数均失败），请重新测量！</translation>
    </message>
    <message>
        <source>The groups do not determine a calibration matrix, please use distinct colors!</source>
        <translation>这些组无法确定校准矩阵，请使用不同的颜色！</translation>
    </message>
</context>
<context>
    <name>GrayScan</name>
    <message>
        <source>Show Picture:%1</source>
        <translation>显示图片：%1</translation>
    </message>
    <message>
        <source>SyncMeasure</source>
        <translation>同步测量</translation>
    </message>
    <message>
        <source>RecvMeasure</source>
        <translation>接收测量</translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation>测量失败！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
</context>
<context>
    <name>KTCommandTool</name>
    <message>
        <source>KTCommandTool</source>
        <translation>命令工具</translation>
    </message>
    <message>
        <source>KTCommandShell</source>
        <translation>命令行</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Time out(ms)</source>
        <translation>超时(毫秒)</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
</context>
<context>
    <name>KTCommandTooler</name>
    <message>
        <source>is Waiting receive!</source>
        <translation>正在等待接收！</translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation>命令执行错误：超时！</translation>
    </message>
</context>
<context>
    <name>KTFactoryCalibration</name>
    <message>
        <source>file (*.factoryRef)</source>
        <translation>文件 (*.factoryRef)</translation>
    </message>
    <message>
        <source>FactoryCalibration</source>
        <translation>工厂校准</translation>
    </message>
    <message>
        <source>Read color matrix parameter %1 failed!</source>
        <translation>读取颜色矩阵参数 %1 失败！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Read memory channel failed!</source>
        <translation>读取存储通道失败！</translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation>读取存储通道名称失败！</translation>
    </message>
    <message>
        <source>Read date failed!</source>
        <translation>读取日期失败！</translation>
    </message>
    <message>
        <source>Set factory mode failed!</source>
        <translation>设置工厂模式失败！</translation>
    </message>
    <message>
        <source>Para (Read </source>
        <translation>参数 (读取 </translation>
    </message>
    <message>
        <source>Read variable gain failed!</source>
        <translation>读取可变增益失败！</translation>
    </message>
    <message>
        <source>Set raw mode failed!</source>
        <translation>设置原始输出模式失败！</translation>
    </message>
    <message>
        <source>Download color matrix parameter failed!</source>
        <translation>下载颜色矩阵参数失败！</translation>
    </message>
    <message>
        <source>WriteVariableGain error!</source>
        <translation>写入可变增益出错！</translation>
    </message>
    <message>
        <source>All settings will be erased, are you sure?</source>
        <translation>所有设置将被擦除，确定吗？</translation>
    </message>
    <message>
        <source>All settings will be erased, please confirm again!</source>
        <translation>所有设置将被擦除，请再次确认！</translation>
    </message>
    <message>
        <source>Erase flash succeed!</source>
        <translation>擦除 Flash 成功！</translation>
    </message>
    <message>
        <source>Erase flash time out!</source>
        <translation>擦除 Flash 超时！</translation>
    </message>
    <message>
        <source>Please set the device top of display, and turn on display!</source>
        <translation>请将设备放置在显示屏上方，并打开显示屏！</translation>
    </message>
    <message>
        <source>Please set the device top of display, and tune brightness to white 400nit!</source>
        <translation>请将设备放置在显示屏上方，并将白场亮度调至 400nit！</translation>
    </message>
    <message>
        <source>RGE succeed!</source>
        <translation>RGE 成功！</translation>
    </message>
    <message>
        <source>RGE time out!</source>
        <translation>RGE 超时！</translation>
    </message>
    <message>
        <source>file (*.factoryResult)</source>
        <translation>文件 (*.factoryResult)</translation>
    </message>
    <message>
        <source>Import data file %1 failed!</source>
        <translation>导入数据文件 %1 失败！</translation>
    </message>
    <message>
        <source>Import data file failed!</source>
        <translation>导入数据文件失败！</translation>
    </message>
    <message>
        <source>Import data file %1 succeed!</source>
        <translation>导入数据文件 %1 成功！</translation>
    </message>
    <message>
        <source>Import data file succeed!</source>
        <translation>导入数据文件成功！</translation>
    </message>
</context>
<context>
    <name>KTFactoryCalibrationForm</name>
    <message>
        <source>Step 1</source>
        <translation>步骤 1</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>显示全部</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Step 2-1</source>
        <translation>步骤 2-1</translation>
    </message>
    <message>
        <source>Import Ref</source>
        <translation>导入参考值</translation>
    </message>
    <message>
        <source>Export Ref</source>
        <translation>导出参考值</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>MES Times:</source>
        <translation>测量次数：</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>模式：</translation>
    </message>
    <message>
        <source>XYZ</source>
        <translation>XYZ</translation>
    </message>
    <message>
        <source>xyLv</source>
        <translation>xyLv</translation>
    </message>
    <message>
        <source>Group counts:</source>
        <translation>组数：</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>Calcu params:</source>
        <translation>计算参数：</translation>
    </message>
    <message>
        <source>Step 4</source>
        <translation>步骤 4</translation>
    </message>
    <message>
        <source>ReGen</source>
        <translation>重新生成</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>生成</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>Import Result</source>
        <translation>导入结果</translation>
    </message>
    <message>
        <source>Export Result</source>
        <translation>导出结果</translation>
    </message>
    <message>
        <source>Step 2-2 : Ref</source>
        <translation>步骤 2-2：参考值</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>0.0</source>
        <translation>0.0</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>Z:</source>
        <translation>Z:</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Step 3 : Mes</source>
        <translation>步骤 3：测量</translation>
    </message>
    <message>
        <source>Mes</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Other : Error</source>
        <translation>其他：误差</translation>
    </message>
    <message>
        <source>Param</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Variable Gain</source>
        <translation>可变增益</translation>
    </message>
    <message>
        <source>RGE</source>
        <translation>RGE</translation>
    </message>
    <message>
        <source>Erase Flash</source>
        <translation>擦除 Flash</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
</context>
<context>
    <name>KTUserCalibration</name>
    <message>
        <source>UserCalibration</source>
        <translation>用户校准</translation>
    </message>
    <message>
        <source>file (*.userRef)</source>
        <translation>文件 (*.userRef)</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Read Device ID failed!</source>
        <translation>读取设备 ID 失败！</translation>
    </message>
    <message>
        <source>Read memory channel failed!</source>
        <translation>读取存储通道失败！</translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation>设置存储通道失败！</translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation>读取存储通道名称失败！</translation>
    </message>
    <message>
        <source>Read color matrix parameter %1 failed!</source>
        <translation>读取颜色矩阵参数 %1 失败！</translation>
    </message>
    <message>
        <source>Para (Read </source>
        <translation>参数 (读取 </translation>
    </message>
    <message>
        <source>MCH00 holds the factory calibration and is never a download destination!</source>
        <translation>MCH00 存放工厂校准数据，不能作为下载目标！</translation>
    </message>
    <message>
        <source>Export data file %1 failed!</source>
        <translation>导出数据文件 %1 失败！</translation>
    </message>
    <message>
        <source>Show Error</source>
        <translation>显示误差</translation>
    </message>
    <message>
        <source>Hide Error</source>
        <translation>隐藏误差</translation>
    </message>
    <message>
        <source>Show Set</source>
        <translation>显示设置</translation>
    </message>
    <message>
        <source>Hide Set</source>
        <translation>隐藏设置</translation>
    </message>
</context>
<context>
    <name>KTUserCalibrationForm</name>
    <message>
        <source>Step 1</source>
        <translation>步骤 1</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>显示全部</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Step 2-1</source>
        <translation>步骤 2-1</translation>
    </message>
    <message>
        <source>Import Ref</source>
        <translation>导入参考值</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>MES Times:</source>
        <translation>测量次数：</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>模式：</translation>
    </message>
    <message>
        <source>XYZ</source>
        <translation>XYZ</translation>
    </message>
    <message>
        <source>xyLv</source>
        <translation>xyLv</translation>
    </message>
    <message>
        <source>Group counts:</source>
        <translation>组数：</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>Calcu params:</source>
        <translation>计算参数：</translation>
    </message>
    <message>
        <source>Step 4</source>
        <translation>步骤 4</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>Export Ref</source>
        <translation>导出参考值</translation>
    </message>
    <message>
        <source>Show Set</source>
        <translation>显示设置</translation>
    </message>
    <message>
        <source>Show Error</source>
        <translation>显示误差</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Step 2-2 : Ref</source>
        <translation>步骤 2-2：参考值</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>0.0</source>
        <translation>0.0</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>Z:</source>
        <translation>Z:</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>Step 3 : Mes</source>
        <translation>步骤 3：测量</translation>
    </message>
    <message>
        <source>Mes</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Other : Error</source>
        <translation>其他：误差</translation>
    </message>
    <message>
        <source>Param</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
</context>
<context>
    <name>KtPlatform</name>
    <message>
        <source>The folder of simulated ports %1 cannot be created.</source>
        <translation>无法创建模拟端口文件夹 %1。</translation>
    </message>
    <message>
        <source>The folder of simulated ports %1 belongs to another user or can be written by others; it is not used.</source>
        <translation>模拟端口文件夹 %1 属于其他用户或可被他人写入，不予使用。</translation>
    </message>
</context>
<context>
    <name>KtSafeWrite</name>
    <message>
        <source>the data did not reach the disk</source>
        <translation>数据未能写入磁盘</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>KtSettings</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>the settings cannot be stored</source>
        <translation>无法保存设置</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>无法读取该文件</translation>
    </message>
    <message>
        <source>the data did not reach the disk</source>
        <translation>数据未能写入磁盘</translation>
    </message>
</context>
<context>
    <name>KtSimulatedProbe</name>
    <message>
        <source>The simulated probe cannot follow the Color Window: %1</source>
        <translation>模拟探头无法跟随颜色窗口：%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
</context>
<context>
    <name>ResultTables</name>
    <message>
        <source>Sync Mode</source>
        <translation>同步模式</translation>
    </message>
    <message>
        <source>Measure Speed</source>
        <translation>测量速度</translation>
    </message>
    <message>
        <source>Averaging Times</source>
        <translation>平均次数</translation>
    </message>
    <message>
        <source>Integration Time</source>
        <translation>积分时间</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>ErrCode</source>
        <translation>错误码</translation>
    </message>
    <message>
        <source>FMA(%)</source>
        <translation>FMA(%)</translation>
    </message>
</context>
<context>
    <name>SeriesRunner</name>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>%1 timed out</source>
        <translation>%1 次超时</translation>
    </message>
    <message>
        <source>%1 unreadable</source>
        <translation>%1 次无法读取</translation>
    </message>
    <message>
        <source>%1 refused by the probe</source>
        <translation>%1 次被探头拒绝</translation>
    </message>
    <message>
        <source>the probe could not be opened</source>
        <translation>无法打开探头</translation>
    </message>
    <message>
        <source>ended early: the probe was unplugged</source>
        <translation>提前结束：探头已拔出</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>%1 of %2 readings</source>
        <translation>%2 次读数中得到 %1 次</translation>
    </message>
</context>
<context>
    <name>SyncFreqScan</name>
    <message>
        <source>Invalid %1 in setting.ini: %2</source>
        <translation>setting.ini 中的 %1 无效：%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a positive number.</source>
        <translation>&quot;%1&quot; 不是正数。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number of at least 2.</source>
        <translation>&quot;%1&quot; 不是大于等于 2 的整数。</translation>
    </message>
    <message>
        <source>a step of %1 Hz over a range of %2 Hz gives more than %3 frequencies.</source>
        <translation>在 %2 Hz 的范围内以 %1 Hz 为步长将产生超过 %3 个频率。</translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Flicker[%]</source>
        <translation>闪烁[%]</translation>
    </message>
    <message>
        <source>Flicker[dB]</source>
        <translation>闪烁[dB]</translation>
    </message>
</context>
<context>
    <name>WavePageBase</name>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation>文件 (*.csv)</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Excel(*.csv)</source>
        <translation>Excel 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Over range,decimation interval range is 1-100!</source>
        <translation>超出范围，抽取间隔范围为 1-100！</translation>
    </message>
    <message>
        <source>The file already exists,please rename this file!</source>
        <translation>文件已存在，请重命名该文件！</translation>
    </message>
    <message>
        <source>Export datas successfully!</source>
        <translation>数据导出成功！</translation>
    </message>
</context>
<context>
    <name>ktCalibrationPage</name>
    <message>
        <source>open file dialog</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>x:</source>
        <translation>x:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>y:</source>
        <translation>y:</translation>
    </message>
    <message>
        <source>Z:</source>
        <translation>Z:</translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation>Lv:</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Measurement is failed!</source>
        <translation>测量失败！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
    <message>
        <source>Group %1 is not measured: all its readings failed!</source>
        <translation>第 %1 组未测量：其所有读数均失败！</translation>
    </message>
    <message>
        <source>Export data file %1 succeed!</source>
        <translation>导出数据文件 %1 成功！</translation>
    </message>
    <message>
        <source>Export data file succeed!</source>
        <translation>导出数据文件成功！</translation>
    </message>
    <message>
        <source>Export data file %1 failed!</source>
        <translation>导出数据文件 %1 失败！</translation>
    </message>
    <message>
        <source>Export data file failed!</source>
        <translation>导出数据文件失败！</translation>
    </message>
    <message>
        <source>Import data file %1 failed!</source>
        <translation>导入数据文件 %1 失败！</translation>
    </message>
    <message>
        <source>Import data file failed!</source>
        <translation>导入数据文件失败！</translation>
    </message>
    <message>
        <source>Import data file %1 succeed!</source>
        <translation>导入数据文件 %1 成功！</translation>
    </message>
    <message>
        <source>Import data file succeed!</source>
        <translation>导入数据文件成功！</translation>
    </message>
    <message>
        <source>Change memory channel will clear measure data,are you sure to change?</source>
        <translation>切换存储通道将清除测量数据，确定要切换吗？</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation>设置存储通道失败！</translation>
    </message>
    <message>
        <source>Over range,mes times range is 1-50!</source>
        <translation>超出范围，测量次数范围为 1-50！</translation>
    </message>
    <message>
        <source>Set display mode succeed!</source>
        <translation>设置显示模式成功！</translation>
    </message>
    <message>
        <source>Calibration coefficient index %1: %2</source>
        <translation>校准系数索引 %1：%2</translation>
    </message>
    <message>
        <source>Generate calibration coefficient succeed!</source>
        <translation>生成校准系数成功！</translation>
    </message>
    <message>
        <source>Para (Generate </source>
        <translation>参数 (生成 </translation>
    </message>
</context>
<context>
    <name>ktColorGamut</name>
    <message>
        <source>Color Gamut</source>
        <translation>色域</translation>
    </message>
    <message>
        <source>Select export path</source>
        <translation>选择导出路径</translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation>文件 (*.csv)</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Measurement is failed!</source>
        <translation>测量失败！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
    <message>
        <source>Export failed!</source>
        <translation>导出失败！</translation>
    </message>
    <message>
        <source>Export successfully!</source>
        <translation>导出成功！</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>The measurement of this group failed; measure it again.</source>
        <translation>该组测量失败，请重新测量。</translation>
    </message>
    <message>
        <source>%1 failed: measure it again.</source>
        <translation>%1 测量失败：请重新测量。</translation>
    </message>
    <message>
        <source>%1 has not been measured.</source>
        <translation>%1 尚未测量。</translation>
    </message>
    <message>
        <source>Cannot calculate the gamut.</source>
        <translation>无法计算色域。</translation>
    </message>
</context>
<context>
    <name>ktColorGamutForm</name>
    <message>
        <source>Mes.1</source>
        <translation>测量1</translation>
    </message>
    <message>
        <source>x:</source>
        <translation>x:</translation>
    </message>
    <message>
        <source>y:</source>
        <translation>y:</translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation>Lv:</translation>
    </message>
    <message>
        <source>Mes</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Mes.2</source>
        <translation>测量2</translation>
    </message>
    <message>
        <source>Mes.3</source>
        <translation>测量3</translation>
    </message>
    <message>
        <source>Mes.4</source>
        <translation>测量4</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>计算</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>NTSC:</source>
        <translation>NTSC:</translation>
    </message>
    <message>
        <source>sRGB:</source>
        <translation>sRGB:</translation>
    </message>
    <message>
        <source>DCI-P3:</source>
        <translation>DCI-P3:</translation>
    </message>
    <message>
        <source>BT.2020:</source>
        <translation>BT.2020:</translation>
    </message>
</context>
<context>
    <name>ktDownloadCoef</name>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Download color matrix parameter failed!</source>
        <translation>下载颜色矩阵参数失败！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>MCH00 holds the factory calibration and is never a download destination!</source>
        <translation>MCH00 存放工厂校准数据，不能作为下载目标！</translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation>设置存储通道失败！</translation>
    </message>
    <message>
        <source>Read color matrix parameter %1 failed!</source>
        <translation>读取颜色矩阵参数 %1 失败！</translation>
    </message>
    <message>
        <source>Read white color parameter %1 failed!</source>
        <translation>读取白色参数 %1 失败！</translation>
    </message>
    <message>
        <source>Read calibration date&amp;time failed!</source>
        <translation>读取校准日期&amp;时间失败！</translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation>读取存储通道名称失败！</translation>
    </message>
</context>
<context>
    <name>ktDownloadCoefForm</name>
    <message>
        <source>Memory CH:</source>
        <translation>存储通道：</translation>
    </message>
    <message>
        <source>from</source>
        <translation>来自</translation>
    </message>
    <message>
        <source>Memory CH name:</source>
        <translation>存储通道名称：</translation>
    </message>
    <message>
        <source>Calibration date:</source>
        <translation>校准日期：</translation>
    </message>
    <message>
        <source>yyyy-MM-dd hh:mm:ss</source>
        <translation>yyyy-MM-dd hh:mm:ss</translation>
    </message>
    <message>
        <source>Information:</source>
        <translation>信息：</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
</context>
<context>
    <name>ktFirmwareUpgrade</name>
    <message>
        <source>Firmware Upgrade</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Krn4. Mcu Version</source>
        <translation>KRN-4 固件版本</translation>
    </message>
    <message>
        <source>Firmware File</source>
        <translation>固件文件</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>Upgrade Mode</source>
        <translation>升级模式</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>手动</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>Upgrade Failed!, please reboot device and try again!</source>
        <translation>升级失败！请重启设备后重试！</translation>
    </message>
    <message>
        <source>File is Empty, Please select first!</source>
        <translation>文件为空，请先选择文件！</translation>
    </message>
    <message>
        <source>Bin File not exist, Please check!</source>
        <translation>Bin 文件不存在，请检查！</translation>
    </message>
    <message>
        <source>The firmware file cannot be read: %1</source>
        <translation>无法读取固件文件：%1</translation>
    </message>
    <message>
        <source>The firmware file is empty, Please check!</source>
        <translation>固件文件为空，请检查！</translation>
    </message>
    <message>
        <source>The firmware file is too large: %1 bytes. The boot loader takes at most %2 bytes.</source>
        <translation>固件文件过大：%1 字节。引导程序最多接受 %2 字节。</translation>
    </message>
    <message>
        <source>The boot loader image is missing from this program.</source>
        <translation>本程序中缺少引导程序映像。</translation>
    </message>
    <message>
        <source>Upgrade File only by USB, Please check the COM!</source>
        <translation>仅支持通过 USB 升级，请检查 COM 端口！</translation>
    </message>
    <message>
        <source>Upgrade success!</source>
        <translation>升级成功！</translation>
    </message>
    <message>
        <source>The firmware was written and the probe restarted, but it does not answer commands. Please reboot device and check its version.</source>
        <translation>固件已写入且探头已重启，但探头不响应命令。请重启设备并检查其版本。</translation>
    </message>
    <message>
        <source>The firmware was written, but the probe did not answer after its restart. Please reboot device and check its version.</source>
        <translation>固件已写入，但探头重启后未应答。请重启设备并检查其版本。</translation>
    </message>
    <message>
        <source>Please wait!</source>
        <translation>请稍候！</translation>
    </message>
</context>
<context>
    <name>ktFirmwareUpgradeArm</name>
    <message>
        <source>Firmware Upgrade</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Krn4. Mcu Version</source>
        <translation>KRN-4 固件版本</translation>
    </message>
    <message>
        <source>Firmware File</source>
        <translation>固件文件</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>%p%</source>
        <translation>%p%</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>Bin File not exist, Please check!</source>
        <translation>Bin 文件不存在，请检查！</translation>
    </message>
    <message>
        <source>Upgrade File only by USB, Please check the COM!</source>
        <translation>仅支持通过 USB 升级，请检查 COM 端口！</translation>
    </message>
    <message>
        <source>The DFU tool was not found. Install dfu-util, or name the tool in the environment variable KT_DFU_TOOL.</source>
        <translation>未找到 DFU 工具。请安装 dfu-util，或在环境变量 KT_DFU_TOOL 中指定该工具。</translation>
    </message>
    <message>
        <source>Upgrade successful !</source>
        <translation>升级成功！</translation>
    </message>
    <message>
        <source>Upgrade failed !</source>
        <translation>升级失败！</translation>
    </message>
    <message>
        <source>Please follow the steps below in order to manually execute the following operations:</source>
        <translation>请按以下步骤依次手动执行下列操作：</translation>
    </message>
    <message>
        <source>1. First, disconnect the power supply for KR4.</source>
        <translation>1. 首先，断开 KR4 的电源。</translation>
    </message>
    <message>
        <source>2. Then, hold down the zero adjustment button and keep it pressed.</source>
        <translation>2. 然后，按住零点校准按钮不放。</translation>
    </message>
    <message>
        <source>3. Next, reconnect the power supply.</source>
        <translation>3. 接着，重新接通电源。</translation>
    </message>
    <message>
        <source>4. After 8 seconds, release the zero adjustment button.</source>
        <translation>4. 8 秒后，松开零点校准按钮。</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>消息</translation>
    </message>
    <message>
        <source>Erase Phase %p%</source>
        <translation>擦除阶段 %p%</translation>
    </message>
    <message>
        <source>Download Phase %p%</source>
        <translation>下载阶段 %p%</translation>
    </message>
    <message>
        <source>The DFU tool did not finish in time and was stopped.</source>
        <translation>DFU 工具未能按时完成，已被停止。</translation>
    </message>
</context>
<context>
    <name>ktFlickerSet</name>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation>文件 (*.csv)</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Configure a single serial port!</source>
        <translation>请配置单串口！</translation>
    </message>
    <message>
        <source>The number of cycles should be greater than 2!</source>
        <translation>循环次数应大于2！</translation>
    </message>
    <message>
        <source>Zero calibration succeed!</source>
        <translation>零点校准成功！</translation>
    </message>
    <message>
        <source>Zero calibration failed!</source>
        <translation>零点校准失败！</translation>
    </message>
    <message>
        <source>Mes XYZ failed!</source>
        <translation>XYZ测量失败！</translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation>测量失败！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
    <message>
        <source>Mes JTA flicker failed!</source>
        <translation>JEITA闪烁测量失败！</translation>
    </message>
    <message>
        <source>Outside of measurement range!</source>
        <translation>超出测量范围！</translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation>命令执行错误：超时！</translation>
    </message>
    <message>
        <source>Measurement time out!</source>
        <translation>测量超时！</translation>
    </message>
    <message>
        <source>Clear Data, Confirm?</source>
        <translation>确认清除数据？</translation>
    </message>
    <message>
        <source>Save failed!</source>
        <translation>保存失败！</translation>
    </message>
    <message>
        <source>Save successfully!</source>
        <translation>保存成功！</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Delete Row</source>
        <translation>删除行</translation>
    </message>
    <message>
        <source>Are you sure to delete data of this line?</source>
        <translation>确定删除该行数据吗？</translation>
    </message>
    <message>
        <source>Zero calibration in progress...</source>
        <translation>正在进行零点校准……</translation>
    </message>
    <message>
        <source>Read memory channel failed!</source>
        <translation>读取存储通道失败！</translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation>读取存储通道名称失败！</translation>
    </message>
    <message>
        <source>Read Tag failed!</source>
        <translation>读取标签失败！</translation>
    </message>
    <message>
        <source>Read Device Model failed!</source>
        <translation>读取设备型号失败！</translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation>设置存储通道失败！</translation>
    </message>
    <message>
        <source>Changing the measure mode clears the measured data. Continue?</source>
        <translation>切换测量模式将清除已测数据。是否继续？</translation>
    </message>
</context>
<context>
    <name>ktFlickerSetForm</name>
    <message>
        <source>Measure Spec.</source>
        <translation>测量规格</translation>
    </message>
    <message>
        <source>xyLv</source>
        <translation>xyLv</translation>
    </message>
    <message>
        <source>XYZ</source>
        <translation>XYZ</translation>
    </message>
    <message>
        <source>FMA</source>
        <translation>FMA</translation>
    </message>
    <message>
        <source>JEITA</source>
        <translation>JEITA</translation>
    </message>
    <message>
        <source>Tcp,duv</source>
        <translation>Tcp,duv</translation>
    </message>
    <message>
        <source>λd,Pe</source>
        <translation>λd,Pe</translation>
    </message>
    <message>
        <source>Lab</source>
        <translation>Lab</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>快速</translation>
    </message>
    <message>
        <source>Measure Times</source>
        <translation>测量次数</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>单次</translation>
    </message>
    <message>
        <source>Cont.</source>
        <translation>连续</translation>
    </message>
    <message>
        <source>Count:</source>
        <translation>次数：</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>延时：</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>[s]</source>
        <translation>[秒]</translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation>间隔：</translation>
    </message>
    <message>
        <source>[ms]</source>
        <translation>[毫秒]</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>0-Cal</source>
        <translation>零点校准</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Chromaticity</source>
        <translation>色度</translation>
    </message>
    <message>
        <source>Memory Channel</source>
        <translation>存储通道</translation>
    </message>
    <message>
        <source>Memory CH</source>
        <translation>存储通道</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>标签</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Current Data</source>
        <translation>当前数据</translation>
    </message>
    <message>
        <source>x:</source>
        <translation>x:</translation>
    </message>
    <message>
        <source>0.0000</source>
        <translation>0.0000</translation>
    </message>
    <message>
        <source>y:</source>
        <translation>y:</translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation>Lv:</translation>
    </message>
    <message>
        <source>Current FMA</source>
        <translation>当前FMA</translation>
    </message>
    <message>
        <source>FMA:</source>
        <translation>FMA:</translation>
    </message>
</context>
<context>
    <name>ktGamma</name>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Gamma Curve</source>
        <translation>Gamma 曲线</translation>
    </message>
    <message>
        <source>Chromaticity Difference</source>
        <translation>色度差</translation>
    </message>
    <message>
        <source>Will clear current result! 
</source>
        <translation>将清除当前结果！
</translation>
    </message>
    <message>
        <source>Tones : %1, Interval : %2 ms ?</source>
        <translation>灰阶数：%1，间隔：%2 ms？</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Color window is closed!  measurement aborted!</source>
        <translation>颜色窗口已关闭！测量已中止！</translation>
    </message>
    <message>
        <source>Fitted gamma</source>
        <translation>拟合 Gamma</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation>文件 (*.csv)</translation>
    </message>
</context>
<context>
    <name>ktGammaForm</name>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <source>2.1</source>
        <translation>2.1</translation>
    </message>
    <message>
        <source>2.3</source>
        <translation>2.3</translation>
    </message>
    <message>
        <source>Dot Display</source>
        <translation>显示数据点</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>Δx</source>
        <translation>Δx</translation>
    </message>
    <message>
        <source>Δy</source>
        <translation>Δy</translation>
    </message>
    <message>
        <source>Δz</source>
        <translation>Δz</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>间隔</translation>
    </message>
    <message>
        <source>[ms]</source>
        <translation>[毫秒]</translation>
    </message>
    <message>
        <source>Tones</source>
        <translation>灰阶数</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>0-Cal</source>
        <translation>零点校准</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
</context>
<context>
    <name>ktGrayLevel</name>
    <message>
        <source>Gray Level</source>
        <translation>灰阶</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>Edit Custom</source>
        <translation>编辑自定义</translation>
    </message>
    <message>
        <source>Color tone</source>
        <translation>色调</translation>
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
        <source>No text editor could be started to edit %1. Set the EDITOR environment variable to an editor program, or install a text editor.</source>
        <translation>无法启动文本编辑器来编辑 %1。请将环境变量 EDITOR 设置为一个编辑器程序，或安装文本编辑器。</translation>
    </message>
</context>
<context>
    <name>ktGrayScanPage</name>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Configure a single serial port!</source>
        <translation>请配置单串口！</translation>
    </message>
    <message>
        <source>Serial port is busy!</source>
        <translation>串口正忙！</translation>
    </message>
    <message>
        <source>Measurement time out!</source>
        <translation>测量超时！</translation>
    </message>
    <message>
        <source>Zero calibration in progress...</source>
        <translation>正在进行零点校准……</translation>
    </message>
    <message>
        <source>Zero calibration succeed!</source>
        <translation>零点校准成功！</translation>
    </message>
    <message>
        <source>Zero calibration failed!</source>
        <translation>零点校准失败！</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation>命令执行错误：超时！</translation>
    </message>
    <message>
        <source>Clear Data, Confirm?</source>
        <translation>确认清除数据？</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Delete Row</source>
        <translation>删除行</translation>
    </message>
    <message>
        <source>Are you sure to delete data of this line?</source>
        <translation>确定删除该行数据吗？</translation>
    </message>
</context>
<context>
    <name>ktHorseShoe</name>
    <message>
        <source>Horse Shoe</source>
        <translation>马蹄图</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>y</source>
        <translation>y</translation>
    </message>
</context>
<context>
    <name>ktLogin</name>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
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
        <source>Invalid password!</source>
        <translation>密码无效！</translation>
    </message>
</context>
<context>
    <name>ktMeasure</name>
    <message>
        <source>Gray Scanning</source>
        <translation>灰阶扫描</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Color Dialog</source>
        <translation>颜色选择</translation>
    </message>
    <message>
        <source>Gray Level</source>
        <translation>灰阶</translation>
    </message>
    <message>
        <source>Luminance</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Please select gray level first!</source>
        <translation>请先选择灰阶！</translation>
    </message>
    <message>
        <source>Over range,RGB range is rgb(0,0,0) - rgb(255,255,255)!</source>
        <translation>超出范围，RGB 范围为 rgb(0,0,0) - rgb(255,255,255)！</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation>文件 (*.csv)</translation>
    </message>
</context>
<context>
    <name>ktMeasureForm</name>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>RGB</source>
        <translation>RGB</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>Gray Level</source>
        <translation>灰阶</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>间隔</translation>
    </message>
    <message>
        <source>[ms]</source>
        <translation>[毫秒]</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>0-Cal</source>
        <translation>零点校准</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>数据</translation>
    </message>
</context>
<context>
    <name>ktMemeryCHInfo</name>
    <message>
        <source>Memory channels</source>
        <translation>存储通道</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>file (*.MemoryCHInfo)</source>
        <translation>文件 (*.MemoryCHInfo)</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Initialize channel</source>
        <translation>初始化通道</translation>
    </message>
    <message>
        <source>Dump</source>
        <translation>转储</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Read all memory channal information failed</source>
        <translation>读取全部存储通道信息失败</translation>
    </message>
    <message>
        <source>CH</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>CH Name</source>
        <translation>通道名称</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>y</source>
        <translation>y</translation>
    </message>
    <message>
        <source>Lv</source>
        <translation>Lv</translation>
    </message>
    <message>
        <source>Cali. Date</source>
        <translation>校准日期</translation>
    </message>
    <message>
        <source>Override %1 with MCH00?</source>
        <translation>用 MCH00 覆盖 %1？</translation>
    </message>
    <message>
        <source>Download color matrix parameter succeed!</source>
        <translation>下载颜色矩阵参数成功！</translation>
    </message>
    <message>
        <source>Initialize channel ok!</source>
        <translation>通道初始化成功！</translation>
    </message>
    <message>
        <source>Save successfully!</source>
        <translation>保存成功！</translation>
    </message>
</context>
<context>
    <name>ktMessageDlg</name>
    <message>
        <source>Message</source>
        <translation>消息</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ktPublicConfig</name>
    <message>
        <source>Is getting data...</source>
        <translation>正在获取数据……</translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation>命令执行错误：超时！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
</context>
<context>
    <name>ktPublicConfigClass</name>
    <message>
        <source>Para Setting</source>
        <translation>参数设置</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>日志</translation>
    </message>
</context>
<context>
    <name>ktPublicConfigNEW</name>
    <message>
        <source>Paramenters Setting</source>
        <translation>参数设置</translation>
    </message>
    <message>
        <source>The range of averaging times is 1-100</source>
        <translation>平均次数的范围是 1-100</translation>
    </message>
    <message>
        <source>Command execution error!</source>
        <translation>命令执行错误！</translation>
    </message>
</context>
<context>
    <name>ktPublicConfigNEWForm</name>
    <message>
        <source>Sync.Mode</source>
        <translation>同步模式</translation>
    </message>
    <message>
        <source>NTSC</source>
        <translation>NTSC</translation>
    </message>
    <message>
        <source>PAL</source>
        <translation>PAL</translation>
    </message>
    <message>
        <source>EXT</source>
        <translation>EXT</translation>
    </message>
    <message>
        <source>UNIV</source>
        <translation>UNIV</translation>
    </message>
    <message>
        <source>INT</source>
        <translation>INT</translation>
    </message>
    <message>
        <source>MANUAL</source>
        <translation>MANUAL</translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Speed Mode</source>
        <translation>速度模式</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>慢速</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>快速</translation>
    </message>
    <message>
        <source>LTDAUTO</source>
        <translation>LTDAUTO</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Memory CH</source>
        <translation>存储通道</translation>
    </message>
    <message>
        <source>Averaging Times</source>
        <translation>平均次数</translation>
    </message>
    <message>
        <source>Integration Time</source>
        <translation>积分时间</translation>
    </message>
    <message>
        <source>Single-Frame</source>
        <translation>单帧</translation>
    </message>
    <message>
        <source>Double-Frame</source>
        <translation>双帧</translation>
    </message>
    <message>
        <source>Prejudging Mode</source>
        <translation>预判模式</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Full Period</source>
        <translation>全周期</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ktSerialPortSetting</name>
    <message>
        <source>Port setting</source>
        <translation>端口设置</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Open Port</source>
        <translation>打开端口</translation>
    </message>
    <message>
        <source>Close Port</source>
        <translation>关闭端口</translation>
    </message>
    <message>
        <source>Port is open status now: %1!</source>
        <translation>端口当前已处于打开状态：%1！</translation>
    </message>
    <message>
        <source>Open serial port succeed: %1!</source>
        <translation>打开串口成功：%1！</translation>
    </message>
    <message>
        <source>Open serial port failed: %1 error: %2!</source>
        <translation>打开串口失败：%1 错误：%2！</translation>
    </message>
    <message>
        <source>Close serial port succeed: %1!</source>
        <translation>关闭串口成功：%1！</translation>
    </message>
    <message>
        <source>Save successfully!</source>
        <translation>保存成功！</translation>
    </message>
    <message>
        <source>Save failed!</source>
        <translation>保存失败！</translation>
    </message>
</context>
<context>
    <name>ktSpectrum</name>
    <message>
        <source>Spectrum</source>
        <translation>光谱</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation>文件 (*.csv)</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation>测量失败！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
    <message>
        <source>Get SpectrumData failed!</source>
        <translation>获取光谱数据失败！</translation>
    </message>
    <message>
        <source>From the spectrum: x %1, y %2, Lv %3</source>
        <translation>由光谱计算：x %1，y %2，Lv %3</translation>
    </message>
    <message>
        <source>The file already exists,please rename this file!</source>
        <translation>文件已存在，请重命名该文件！</translation>
    </message>
    <message>
        <source>Export failed!</source>
        <translation>导出失败！</translation>
    </message>
    <message>
        <source>Export successfully!</source>
        <translation>导出成功！</translation>
    </message>
    <message>
        <source>Hist.</source>
        <translation>直方图</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>折线图</translation>
    </message>
    <message>
        <source>Nanometers</source>
        <translation>纳米</translation>
    </message>
    <message>
        <source>Radiance(e-06)</source>
        <translation>辐亮度(e-06)</translation>
    </message>
</context>
<context>
    <name>ktSpectrumForm</name>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Hist.</source>
        <translation>直方图</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>x:</source>
        <translation>x:</translation>
    </message>
    <message>
        <source>y:</source>
        <translation>y:</translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation>Lv:</translation>
    </message>
</context>
<context>
    <name>ktSyncFreq</name>
    <message>
        <source>The range of frequency is 10-300 with two decimal places at most!</source>
        <translation>频率范围为 10-300，最多保留两位小数！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Restore speed mode failed!</source>
        <translation>恢复速度模式失败！</translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation>设置显示模式失败！</translation>
    </message>
    <message>
        <source>Set auto speed mode failed!</source>
        <translation>设置自动速度模式失败！</translation>
    </message>
    <message>
        <source>Set INT mode failed!</source>
        <translation>设置 INT 模式失败！</translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation>测量失败！</translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation>格式错误！</translation>
    </message>
    <message>
        <source>No frequency of the scan gave two readings to compare!</source>
        <translation>扫描中没有任何频率得到两次可供比较的读数！</translation>
    </message>
    <message>
        <source>Synchronized to %1 Hz (deviation of the readings %2 cd/m²).</source>
        <translation>已同步到 %1 Hz（读数偏差 %2 cd/m²）。</translation>
    </message>
    <message>
        <source>Set frequency failed!</source>
        <translation>设置频率失败！</translation>
    </message>
    <message>
        <source>Synchronous frequency</source>
        <translation>同步频率</translation>
    </message>
</context>
<context>
    <name>ktSyncFreqForm</name>
    <message>
        <source>Freq. setting</source>
        <translation>频率设置</translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation>同步</translation>
    </message>
    <message>
        <source>Actual freq.</source>
        <translation>实际频率</translation>
    </message>
    <message>
        <source>Scan freq.</source>
        <translation>扫描频率</translation>
    </message>
    <message>
        <source>Please face the device to the screen before synchronizing</source>
        <translation>同步前请将探头对准屏幕</translation>
    </message>
</context>
<context>
    <name>ktTintora</name>
    <message>
        <source>Port：</source>
        <translation>端口：</translation>
    </message>
    <message>
        <source>Not Open</source>
        <translation>未打开</translation>
    </message>
    <message>
        <source>Status：</source>
        <translation>状态：</translation>
    </message>
    <message>
        <source>Vertion:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Color Window</source>
        <translation>颜色窗口</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>FirmwareUpgrade</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>ExtralFunction</source>
        <translation>扩展功能</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Port Setting</source>
        <translation>端口设置</translation>
    </message>
    <message>
        <source>Mode Setting</source>
        <translation>模式设置</translation>
    </message>
    <message>
        <source>Firmware Upgrade</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>Command Tool</source>
        <translation>命令工具</translation>
    </message>
    <message>
        <source>Gray Scanning</source>
        <translation>灰阶扫描</translation>
    </message>
    <message>
        <source>Synchronous frequency</source>
        <translation>同步频率</translation>
    </message>
    <message>
        <source>Color Gamut</source>
        <translation>色域</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>UserCalibration</source>
        <translation>用户校准</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>FactoryCalibration</source>
        <translation>工厂校准</translation>
    </message>
    <message>
        <source>WaveForm</source>
        <translation>波形</translation>
    </message>
    <message>
        <source>WaveResponseTimeTest</source>
        <translation>响应时间测试</translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation>光谱</translation>
    </message>
    <message>
        <source>Serial port is not opened: %1!</source>
        <translation>串口未打开：%1！</translation>
    </message>
    <message>
        <source>Serial port is opened: %1!</source>
        <translation>串口已打开：%1！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Color Dialog</source>
        <translation>颜色选择</translation>
    </message>
    <message>
        <source>The port is not open.</source>
        <translation>端口未打开。</translation>
    </message>
    <message>
        <source>no probe answers on %1</source>
        <translation>%1 上没有探头应答</translation>
    </message>
    <message>
        <source>Port %1 is open, but no probe answered. Check that the probe is connected to this port and switched on.</source>
        <translation>端口 %1 已打开，但没有探头应答。请检查探头是否连接到该端口并已开机。</translation>
    </message>
    <message>
        <source>Port %1 is open.</source>
        <translation>端口 %1 已打开。</translation>
    </message>
    <message>
        <source>The probe answers on %1.</source>
        <translation>探头在 %1 上应答。</translation>
    </message>
    <message>
        <source>No probe answers on %1!</source>
        <translation>%1 上没有探头应答！</translation>
    </message>
    <message>
        <source>The manual was not found.</source>
        <translation>未找到使用手册。</translation>
    </message>
    <message>
        <source>The manual was not found. It is looked for in:</source>
        <translation>未找到使用手册。查找位置：</translation>
    </message>
    <message>
        <source>The manual could not be opened: %1</source>
        <translation>无法打开使用手册：%1</translation>
    </message>
    <message>
        <source>The manual could not be opened: no program to show it was found. Open it with a document viewer:</source>
        <translation>无法打开使用手册：未找到可显示它的程序。请用文档查看器打开：</translation>
    </message>
</context>
<context>
    <name>ktUserCaliHelp</name>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
</context>
<context>
    <name>ktVersionInfo</name>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>PC Software Version</source>
        <translation>上位机软件版本</translation>
    </message>
    <message>
        <source>KRN-4 Mcu Version</source>
        <translation>KRN-4 固件版本</translation>
    </message>
    <message>
        <source>Colour and flicker measurement software for the KRN-4 probe family.

Built with Qt 5 (LGPL 3), QCustomPlot (GPL 3) and Eigen 3 (MPL 2).
CIE 1931 colour-matching functions: CIE 018:2019 data set.</source>
        <translation>KRN-4 系列探头的色彩与闪烁测量软件。

基于 Qt 5 (LGPL 3)、QCustomPlot (GPL 3) 与 Eigen 3 (MPL 2) 构建。
CIE 1931 颜色匹配函数：CIE 018:2019 数据集。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>ktWaveForm</name>
    <message>
        <source>WaveForm</source>
        <translation>波形</translation>
    </message>
    <message>
        <source>Time[sec]</source>
        <translation>时间[秒]</translation>
    </message>
    <message>
        <source>Y[cd/m</source>
        <translation>Y[cd/m</translation>
    </message>
    <message>
        <source>Frequency[Hz]</source>
        <translation>频率[Hz]</translation>
    </message>
    <message>
        <source>Flicker[dB]</source>
        <translation>闪烁[dB]</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Change mode failed!</source>
        <translation>切换模式失败！</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Sampling measure is failed!</source>
        <translation>采样测量失败！</translation>
    </message>
    <message>
        <source>Received measure datas format is error!</source>
        <translation>接收的测量数据格式错误！</translation>
    </message>
</context>
<context>
    <name>ktWaveFormForm</name>
    <message>
        <source>WaveForm</source>
        <translation>波形</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Sampling Number</source>
        <translation>采样点数</translation>
    </message>
    <message>
        <source>Decimation Interval</source>
        <translation>抽取间隔</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>同步</translation>
    </message>
    <message>
        <source>Auto SWD</source>
        <translation>自动 SWD</translation>
    </message>
    <message>
        <source>Manual SWD</source>
        <translation>手动 SWD</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>滤波</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Set Waveform sampling conditions according 
to Sync Mode</source>
        <translation>根据同步模式设置
波形采样条件</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Flicker(Max)</source>
        <translation>闪烁(最大)</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>Detected Freq.</source>
        <translation>检测频率</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Ave.</source>
        <translation>平均</translation>
    </message>
</context>
<context>
    <name>ktWaveFormJWA</name>
    <message>
        <source>Time[sec]</source>
        <translation>时间[秒]</translation>
    </message>
    <message>
        <source>Y[cd/m</source>
        <translation>Y[cd/m</translation>
    </message>
    <message>
        <source>Lv[cd/m</source>
        <translation>Lv[cd/m</translation>
    </message>
    <message>
        <source>x, y</source>
        <translation>x, y</translation>
    </message>
    <message>
        <source>Y(Lv)</source>
        <translation>Y(Lv)</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Change sensor type failed!</source>
        <translation>切换传感器类型失败！</translation>
    </message>
    <message>
        <source>At least one curve must be checked to show!</source>
        <translation>请至少勾选一条要显示的曲线！</translation>
    </message>
    <message>
        <source>Sampling measure is failed!</source>
        <translation>采样测量失败！</translation>
    </message>
    <message>
        <source>Received measure datas format is error!</source>
        <translation>接收的测量数据格式错误！</translation>
    </message>
</context>
<context>
    <name>ktWaveFormJWAForm</name>
    <message>
        <source>WaveForm</source>
        <translation>波形</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Sampling Number</source>
        <translation>采样点数</translation>
    </message>
    <message>
        <source>Decimation Interval</source>
        <translation>抽取间隔</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>同步</translation>
    </message>
    <message>
        <source>Auto SWD</source>
        <translation>自动 SWD</translation>
    </message>
    <message>
        <source>Manual SWD</source>
        <translation>手动 SWD</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>滤波</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Set Waveform sampling conditions according 
to Sync Mode</source>
        <translation>根据同步模式设置
波形采样条件</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Sensor Type</source>
        <translation>传感器类型</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>循环</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Flicker(Max)</source>
        <translation>闪烁(最大)</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>Detected Freq.</source>
        <translation>检测频率</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Ave.</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>x-ave</source>
        <translation>x-平均</translation>
    </message>
    <message>
        <source>y-ave</source>
        <translation>y-平均</translation>
    </message>
    <message>
        <source>lv-ave</source>
        <translation>lv-平均</translation>
    </message>
    <message>
        <source>x-max-min</source>
        <translation>x-最大-最小</translation>
    </message>
    <message>
        <source>y-max-min</source>
        <translation>y-最大-最小</translation>
    </message>
    <message>
        <source>lv-max-min</source>
        <translation>lv-最大-最小</translation>
    </message>
    <message>
        <source>x-min/max</source>
        <translation>x-最小/最大</translation>
    </message>
    <message>
        <source>y-min/max</source>
        <translation>y-最小/最大</translation>
    </message>
    <message>
        <source>lv-min/max</source>
        <translation>lv-最小/最大</translation>
    </message>
    <message>
        <source>lv-max/min</source>
        <translation>lv-最大/最小</translation>
    </message>
    <message>
        <source>Lv</source>
        <translation>Lv</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>y</source>
        <translation>y</translation>
    </message>
</context>
<context>
    <name>ktWaveResponseTime</name>
    <message>
        <source>WaveResponseTimeTest</source>
        <translation>响应时间测试</translation>
    </message>
    <message>
        <source>Time[sec]</source>
        <translation>时间[秒]</translation>
    </message>
    <message>
        <source>Lv[cd/m</source>
        <translation>Lv[cd/m</translation>
    </message>
    <message>
        <source>Please wait for the measurement to finish!</source>
        <translation>请等待测量完成！</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>The start threshold range is 0 to 50!</source>
        <translation>起始阈值范围为 0 到 50！</translation>
    </message>
    <message>
        <source>The end threshold range is 50 to 100!</source>
        <translation>结束阈值范围为 50 到 100！</translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation>串口未打开！</translation>
    </message>
    <message>
        <source>Failed to measure waveform!</source>
        <translation>波形测量失败！</translation>
    </message>
    <message>
        <source>Received measure datas format is error!</source>
        <translation>接收的测量数据格式错误！</translation>
    </message>
    <message>
        <source>Show wave successfully!</source>
        <translation>波形显示成功！</translation>
    </message>
    <message>
        <source>Sampling Number is too low!</source>
        <translation>采样点数过少！</translation>
    </message>
    <message>
        <source>indexLeft:%1 ,indexRight:%2, axisLeft:%3 , axisRight:%4</source>
        <translation>左索引：%1，右索引：%2，左轴：%3，右轴：%4</translation>
    </message>
    <message>
        <source>T%1
Time: %2sec 
Lv: %3 </source>
        <translation>T%1
时间：%2 秒
Lv：%3 </translation>
    </message>
    <message>
        <source>D-Time:%1sec</source>
        <translation>时间差：%1 秒</translation>
    </message>
    <message>
        <source>Open file failed!</source>
        <translation>打开文件失败！</translation>
    </message>
</context>
<context>
    <name>ktWaveResponseTimeForm</name>
    <message>
        <source>WaveResponseTimeTest</source>
        <translation>响应时间测试</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Start Threshold</source>
        <translation>起始阈值</translation>
    </message>
    <message>
        <source>End Threshold</source>
        <translation>结束阈值</translation>
    </message>
    <message>
        <source>Sampling Number</source>
        <translation>采样点数</translation>
    </message>
    <message>
        <source>Decimation Interval</source>
        <translation>抽取间隔</translation>
    </message>
    <message>
        <source>Measure Delay[ms]</source>
        <translation>测量延时[ms]</translation>
    </message>
    <message>
        <source>Screen Freq[Hz]</source>
        <translation>屏幕频率[Hz]</translation>
    </message>
    <message>
        <source>Auto Capture Wave</source>
        <translation>自动捕获波形</translation>
    </message>
    <message>
        <source>Show Picture</source>
        <translation>显示图片</translation>
    </message>
    <message>
        <source>GrayL1</source>
        <translation>灰阶1</translation>
    </message>
    <message>
        <source>GrayL2</source>
        <translation>灰阶2</translation>
    </message>
    <message>
        <source>GrayL3</source>
        <translation>灰阶3</translation>
    </message>
    <message>
        <source>Interval[ms]</source>
        <translation>间隔[ms]</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>双击</translation>
    </message>
    <message>
        <source>Measure</source>
        <translation>测量</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Reanalysis</source>
        <translation>重新分析</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: ktTintora [--simulate] [Qt options]
Drives a KRN-4 colour-measurement probe over its serial port.

Options:
  --simulate     start the simulated probe krn4-sim beside the program and open its port
                 (with a display, it measures the program&apos;s own Color Window)
  -h, --help     show this help and exit
  -v, --version  show the version and exit

Without a display, run it under a virtual one:
  xvfb-run -a -s &quot;-screen 0 1600x900x24&quot; ktTintora --simulate

Environment:
  KT_DATA_ROOT   folder for sysconfig, logs and data instead of the program&apos;s folder
  KT_SIM_BIN     the simulator that --simulate starts
</source>
        <translation>用法：ktTintora [--simulate] [Qt 选项]
通过串口驱动 KRN-4 色彩测量探头。

选项：
  --simulate     启动程序旁的模拟探头 krn4-sim 并打开其端口
                 （有显示器时，它测量程序自身的颜色窗口）
  -h, --help     显示本帮助并退出
  -v, --version  显示版本并退出

没有显示器时，请在虚拟显示器下运行：
  xvfb-run -a -s &quot;-screen 0 1600x900x24&quot; ktTintora --simulate

环境变量：
  KT_DATA_ROOT   存放 sysconfig、日志和数据的文件夹（代替程序所在文件夹）
  KT_SIM_BIN     --simulate 启动的模拟器
</translation>
    </message>
</context>
</TS>
