#pragma once

#include "ktpaths.h"

#include <QDate>
#include <QSerialPort>
#include <QString>
#include <QStringList>

// The one place that knows which operating system we run on. The rest of the program asks
// these functions instead of testing the platform itself.
namespace KtPlatform {

// Serial device path for a port name: "/dev/" + name for hardware ports, the full link path
// for a virtual port. A name that already is a path is returned unchanged.
QString devicePath(const QString &portName);

// Port name for a device path (the inverse of devicePath): "/dev/ttyUSB0" -> "ttyUSB0",
// "<virtual dir>/KRN4-SIM" -> "KRN4-SIM".
QString portNameFromPath(const QString &path);

// Names of all serial ports present: the ports Qt lists plus the live virtual ports.
QStringList availablePorts();

// Whether a name denotes a virtual (simulated) port.
bool isVirtualPort(const QString &portName);

// Sends one line to a simulated probe's control channel (its link path + ".ctl") and returns
// the reply line, trimmed; empty when nothing answered within timeoutMs.
QString simulatorControl(const QString &controlPath, const QString &line, int timeoutMs);

// What the port dialog stores under sysConfig/DVXCom for a port name, and the port name a
// stored value stands for. On Windows that is the COM number; here it is the port name.
QString storedPortValue(const QString &portName);
QString portNameFromStored(const QString &stored);

// Whether a serial-port error means the device has vanished (unplugged). Windows reports
// that as QSerialPort::ResourceError. On Linux a hung-up terminal (USB adapter removed,
// simulated probe unplugged) reads as end of file, which QSerialPort reports as a ReadError
// with a stale error text, again on every event-loop pass; so a ReadError on a port whose line
// has hung up or whose device node is gone counts as vanished too.
bool serialDeviceGone(QSerialPort *port, QSerialPort::SerialPortError error);

// The command line that edits a plain text file and returns only when the editor is closed
// (the Windows build waits for notepad). Order: KT_TEXT_EDITOR, VISUAL, EDITOR, then the
// first desktop editor found on PATH. Empty when none is available.
QStringList textEditorCommand();

// Opens a text file in the editor above and waits for the editor to end, processing events
// meanwhile so the interface keeps painting. False when no editor exists or it failed to
// start; the file is created empty when it does not exist, so the editor has something to open.
bool editTextFileAndWait(const QString &filePath);

// Opens a document (the PDF manual) with the desktop's default handler. False when the file
// is missing or no handler accepted it. Needs a QGuiApplication.
bool openDocument(const QString &filePath);

// Makes SIGINT, SIGTERM and SIGHUP end the event loop instead of the process, so that the
// clean-up after QApplication::exec() runs (the simulated probe started by --simulate is
// stopped there). Call once after the application object exists.
void quitOnTerminationSignals();

// The microcontroller vendor's DFU command-line tool used by the first-generation firmware
// upgrade: its full path, or empty when it is not installed. KT_DFU_TOOL overrides the search;
// then the vendor's DfuSeCommand beside the program; then dfu-util on PATH.
QString dfuToolPath();

} // namespace KtPlatform
