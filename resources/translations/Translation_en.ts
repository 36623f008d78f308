<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
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
        <source>The firmware upgrade tool is not available in this version.</source>
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
