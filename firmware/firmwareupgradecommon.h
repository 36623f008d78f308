#pragma once

#include <QString>

class QWidget;
class ktPublicConfig;

// What both upgrade dialogs do around the transfer: the file choice with its remembered folder,
// the probe queries, and the probe port handed to and taken back from the upgrade.
namespace FirmwareUpgradeCommon {

// "Open File" dialog in the folder stored under "FilePath/FirmwareUpgradePath"; the chosen
// file's folder is stored back. Empty when cancelled.
QString chooseFile(QWidget *parent, const QString &filter);
// "VER"; "VID,1" when its reply contains "V2", else "VER,1". Empty when nothing answered.
QString readVersion(ktPublicConfig *page);
// Status item 30 reads 1: this probe takes firmware only over USB.
bool usbOnly(ktPublicConfig *page);
// The speed the link to the probe uses: the open port's, else the stored one, else 115200.
int linkBaudRate();
// Closes the shared probe port if it is open and opens it on devicePath at baud, 8N1.
bool reopenProbePort(const QString &devicePath, int baud);
// Lets the event loop run for ms milliseconds (the window keeps painting).
void waitResponsive(int ms);

} // namespace FirmwareUpgradeCommon
