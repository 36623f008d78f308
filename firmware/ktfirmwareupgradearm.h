#pragma once

#include "firmwareupgradedialog.h"

namespace Ui {
class ktFirmwareUpgradeArm;
}

// Firmware upgrade of 5.00 probes over USB DFU: the probe is switched into its DFU mode (or
// the operator does it by hand on older 5.00 firmware), and the DFU command-line tool that
// KtPlatform::dfuToolPath finds writes the "*.dfu" file. The tool's output is shown and its
// progress lines drive the bar; the event loop runs while the tool works.
class ktFirmwareUpgradeArm : public FirmwareUpgradeDialog
{
    Q_OBJECT
public:
    ktFirmwareUpgradeArm(QWidget *parent, const QString &devicePath);
    ~ktFirmwareUpgradeArm() override;

    // Firmware builds from this number on enter DFU mode on command; older ones by hand.
    static constexpr int FirstDfuCommandBuild = 1586;

public slots:
    // Waits (at most 10 s) for the probe's port to come back after the upgrade, then reads the
    // version into le_McuVersion.
    void updateVersion();

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_pbSelectBinFile_clicked();
    void on_pbUpgrade_clicked();
    void on_le_BinFileName_textChanged(const QString &text);

private:
    void upgrade();
    // Runs the DFU tool; true when it reports the firmware written.
    bool runTool(const QString &program, const QString &file);
    void showManualInstructions();

    Ui::ktFirmwareUpgradeArm *ui;
    bool m_portWasOpen = false;
};
