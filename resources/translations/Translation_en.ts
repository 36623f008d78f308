<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>BootLoaderSession</name>
    <message>
        <source>no problem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the loader image is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the firmware file is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the firmware needs more than 255 blocks of 4096 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the boot loader did not answer the synchronisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a loader byte was not echoed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the block count was not echoed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the start byte was not acknowledged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a block was not acknowledged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the probe did not answer after its restart</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>data %1 error, should be in (0, 1)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>data %1 error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download color matrix parameter succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solidify memory channel name failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solidify calibration date&amp;time failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solidify white color x failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solidify white color y failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solidify white color Lv failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color matrix parameter %1 read back differs from the value written!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read back color matrix parameter %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solidify color matrix parameter %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The channel&apos;s previous matrix has been written back and read back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing back the channel&apos;s previous matrix failed too, the channel may hold a mixed matrix: download again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid calibration data, x should be in (0, 1)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid calibration data, y should be in (0, 1)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid calibration data, Lv should be positive!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input parameter is overflow!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid calibration reference data, all the data are 0!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid calibration measure data, all the data are 0!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid calibration result data, all the data are 0!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A group used for the calculation is not measured (all its readings failed), please measure it again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The groups do not determine a calibration matrix, please use distinct colors!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GrayScan</name>
    <message>
        <source>Show Picture:%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SyncMeasure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RecvMeasure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTCommandTool</name>
    <message>
        <source>KTCommandTool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KTCommandShell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time out(ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTCommandTooler</name>
    <message>
        <source>is Waiting receive!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTFactoryCalibration</name>
    <message>
        <source>file (*.factoryRef)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FactoryCalibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read color matrix parameter %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read date failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set factory mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Para (Read </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read variable gain failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set raw mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download color matrix parameter failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WriteVariableGain error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All settings will be erased, are you sure?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All settings will be erased, please confirm again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase flash succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase flash time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please set the device top of display, and turn on display!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please set the device top of display, and tune brightness to white 400nit!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGE succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGE time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.factoryResult)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file %1 succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file succeed!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTFactoryCalibrationForm</name>
    <message>
        <source>Step 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 2-1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MES Times:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XYZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>xyLv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group counts:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calcu params:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ReGen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Generate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 2-2 : Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 3 : Mes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other : Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Param</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Variable Gain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase Flash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTUserCalibration</name>
    <message>
        <source>UserCalibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.userRef)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Device ID failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read color matrix parameter %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Para (Read </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MCH00 holds the factory calibration and is never a download destination!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export data file %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Set</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTUserCalibrationForm</name>
    <message>
        <source>Step 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 2-1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MES Times:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XYZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>xyLv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group counts:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calcu params:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 2-2 : Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step 3 : Mes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other : Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Param</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KtPlatform</name>
    <message>
        <source>The folder of simulated ports %1 cannot be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder of simulated ports %1 belongs to another user or can be written by others; it is not used.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KtSafeWrite</name>
    <message>
        <source>the data did not reach the disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KtSettings</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the settings cannot be stored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the data did not reach the disk</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KtSimulatedProbe</name>
    <message>
        <source>The simulated probe cannot follow the Color Window: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultTables</name>
    <message>
        <source>Sync Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Averaging Times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Integration Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ErrCode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FMA(%)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SeriesRunner</name>
    <message>
        <source>%1 / %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 unreadable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 refused by the probe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the probe could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ended early: the probe was unplugged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 readings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SyncFreqScan</name>
    <message>
        <source>Invalid %1 in setting.ini: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a positive number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number of at least 2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a step of %1 Hz over a range of %2 Hz gives more than %3 frequencies.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrendChart</name>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flicker[%]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flicker[dB]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WavePageBase</name>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel(*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over range,decimation interval range is 1-100!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file already exists,please rename this file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export datas successfully!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktCalibrationPage</name>
    <message>
        <source>open file dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement is failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group %1 is not measured: all its readings failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export data file %1 succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export data file succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export data file %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export data file failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file %1 succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import data file succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change memory channel will clear measure data,are you sure to change?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over range,mes times range is 1-50!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration coefficient index %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Generate calibration coefficient succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Para (Generate </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktColorGamut</name>
    <message>
        <source>Color Gamut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select export path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement is failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The measurement of this group failed; measure it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed: measure it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has not been measured.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot calculate the gamut.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktColorGamutForm</name>
    <message>
        <source>Mes.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes.2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes.3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes.4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NTSC:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sRGB:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DCI-P3:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BT.2020:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktDownloadCoef</name>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download color matrix parameter failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MCH00 holds the factory calibration and is never a download destination!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read color matrix parameter %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read white color parameter %1 failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read calibration date&amp;time failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktDownloadCoefForm</name>
    <message>
        <source>Memory CH:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory CH name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yyyy-MM-dd hh:mm:ss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktFirmwareUpgrade</name>
    <message>
        <source>Firmware Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Krn4. Mcu Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Failed!, please reboot device and try again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File is Empty, Please select first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bin File not exist, Please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The firmware file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The firmware file is empty, Please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The firmware file is too large: %1 bytes. The boot loader takes at most %2 bytes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The boot loader image is missing from this program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade File only by USB, Please check the COM!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade success!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The firmware was written and the probe restarted, but it does not answer commands. Please reboot device and check its version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The firmware was written, but the probe did not answer after its restart. Please reboot device and check its version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktFirmwareUpgradeArm</name>
    <message>
        <source>Firmware Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Krn4. Mcu Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bin File not exist, Please check!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade File only by USB, Please check the COM!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DFU tool was not found. Install dfu-util, or name the tool in the environment variable KT_DFU_TOOL.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade successful !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade failed !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please follow the steps below in order to manually execute the following operations:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. First, disconnect the power supply for KR4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. Then, hold down the zero adjustment button and keep it pressed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3. Next, reconnect the power supply.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4. After 8 seconds, release the zero adjustment button.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase Phase %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Phase %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DFU tool did not finish in time and was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktFlickerSet</name>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure a single serial port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number of cycles should be greater than 2!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zero calibration succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zero calibration failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes XYZ failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes JTA flicker failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outside of measurement range!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Data, Confirm?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete data of this line?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zero calibration in progress...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read memory channel name failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Tag failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Device Model failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set memory channel failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changing the measure mode clears the measured data. Continue?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktFlickerSetForm</name>
    <message>
        <source>Measure Spec.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>xyLv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XYZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FMA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JEITA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tcp,duv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>λd,Pe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lab</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure Times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cont.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Count:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[s]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ms]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0-Cal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chromaticity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory CH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.0000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current FMA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FMA:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktGamma</name>
    <message>
        <source>Gamma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamma Curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chromaticity Difference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Will clear current result! 
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tones : %1, Interval : %2 ms ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color window is closed!  measurement aborted!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fitted gamma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktGammaForm</name>
    <message>
        <source>R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2.3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dot Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Δx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Δy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Δz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ms]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tones</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0-Cal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktGrayLevel</name>
    <message>
        <source>Gray Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color tone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No text editor could be started to edit %1. Set the EDITOR environment variable to an editor program, or install a text editor.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktGrayScanPage</name>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure a single serial port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is busy!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zero calibration in progress...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zero calibration succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zero calibration failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Data, Confirm?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete data of this line?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktHorseShoe</name>
    <message>
        <source>Horse Shoe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktLogin</name>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid password!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktMeasure</name>
    <message>
        <source>Gray Scanning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Luminance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select gray level first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over range,RGB range is rgb(0,0,0) - rgb(255,255,255)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktMeasureForm</name>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ms]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0-Cal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktMemeryCHInfo</name>
    <message>
        <source>Memory channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.MemoryCHInfo)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialize channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read all memory channal information failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CH Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cali. Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Override %1 with MCH00?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download color matrix parameter succeed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialize channel ok!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save successfully!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktMessageDlg</name>
    <message>
        <source>Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktPublicConfig</name>
    <message>
        <source>Is getting data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command execution error time out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktPublicConfigClass</name>
    <message>
        <source>Para Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktPublicConfigNEW</name>
    <message>
        <source>Paramenters Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The range of averaging times is 1-100</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command execution error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktPublicConfigNEWForm</name>
    <message>
        <source>Sync.Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NTSC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EXT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UNIV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MANUAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LTDAUTO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory CH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Averaging Times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Integration Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single-Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prejudging Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktSerialPortSetting</name>
    <message>
        <source>Port setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port is open status now: %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open serial port succeed: %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open serial port failed: %1 error: %2!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close serial port succeed: %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save failed!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktSpectrum</name>
    <message>
        <source>Spectrum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get SpectrumData failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From the spectrum: x %1, y %2, Lv %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file already exists,please rename this file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nanometers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Radiance(e-06)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktSpectrumForm</name>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktSyncFreq</name>
    <message>
        <source>The range of frequency is 10-300 with two decimal places at most!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore speed mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set display mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set auto speed mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set INT mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mes failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No frequency of the scan gave two readings to compare!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronized to %1 Hz (deviation of the readings %2 cd/m²).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set frequency failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronous frequency</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktSyncFreqForm</name>
    <message>
        <source>Freq. setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual freq.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan freq.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please face the device to the screen before synchronizing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktTintora</name>
    <message>
        <source>Port：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertion:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FirmwareUpgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ExtralFunction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command Tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray Scanning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronous frequency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Gamut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UserCalibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FactoryCalibration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WaveForm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WaveResponseTimeTest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spectrum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened: %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is opened: %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port is not open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no probe answers on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port %1 is open, but no probe answered. Check that the probe is connected to this port and switched on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port %1 is open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The probe answers on %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No probe answers on %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The manual was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The manual was not found. It is looked for in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The manual could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The manual could not be opened: no program to show it was found. Open it with a document viewer:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktUserCaliHelp</name>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktVersionInfo</name>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PC Software Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KRN-4 Mcu Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour and flicker measurement software for the KRN-4 probe family.

Built with Qt 5 (LGPL 3), QCustomPlot (GPL 3) and Eigen 3 (MPL 2).
CIE 1931 colour-matching functions: CIE 018:2019 data set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktWaveForm</name>
    <message>
        <source>WaveForm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time[sec]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y[cd/m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency[Hz]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flicker[dB]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change mode failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling measure is failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received measure datas format is error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktWaveFormForm</name>
    <message>
        <source>WaveForm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decimation Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto SWD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual SWD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Waveform sampling conditions according 
to Sync Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flicker(Max)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detected Freq.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ave.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktWaveFormJWA</name>
    <message>
        <source>Time[sec]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y[cd/m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv[cd/m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x, y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y(Lv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change sensor type failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At least one curve must be checked to show!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling measure is failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received measure datas format is error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktWaveFormJWAForm</name>
    <message>
        <source>WaveForm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decimation Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto SWD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual SWD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Waveform sampling conditions according 
to Sync Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flicker(Max)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detected Freq.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ave.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x-ave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y-ave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lv-ave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x-max-min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y-max-min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lv-max-min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x-min/max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y-min/max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lv-min/max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lv-max/min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktWaveResponseTime</name>
    <message>
        <source>WaveResponseTimeTest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time[sec]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lv[cd/m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait for the measurement to finish!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The start threshold range is 0 to 50!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The end threshold range is 50 to 100!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port is not opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to measure waveform!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received measure datas format is error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show wave successfully!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling Number is too low!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>indexLeft:%1 ,indexRight:%2, axisLeft:%3 , axisRight:%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T%1
Time: %2sec 
Lv: %3 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D-Time:%1sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open file failed!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ktWaveResponseTimeForm</name>
    <message>
        <source>WaveResponseTimeTest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End Threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decimation Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure Delay[ms]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screen Freq[Hz]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto Capture Wave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GrayL1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GrayL2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GrayL3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval[ms]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reanalysis</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
