#pragma once

#include <QDialog>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace Ui {
class ktSerialPortSetting;
}
class ktMessageDlg;

// Where the operator picks the probe's port and line settings, opens and closes the shared
// probe port and stores the settings in config.ini. While it exists it refreshes the port list
// every second and reopens the last port by itself when an unplugged probe comes back under
// the same name (unless the operator closed the port by hand). Its log lines go to the program
// log only.
class ktSerialPortSetting : public QDialog
{
    Q_OBJECT
public:
    explicit ktSerialPortSetting(QWidget *parent = nullptr);
    ~ktSerialPortSetting() override;

    // Style sheet of a status light by colour name: "RED", "GREEN", "BLACK", "GRAY".
    static QString lightStyle(const QString &name);
    // Parity combo text <-> QSerialPort parity and the stored TestMethods value.
    static QSerialPort::Parity parityFromText(const QString &text);
    static QString storedParity(const QString &text);

    bool autoReopen() const { return m_autoReopen; }
    // Selects a port by name in the list (exact); false when it is not listed.
    bool selectPort(const QString &name);
    // Refreshes the list, selects the port and opens it as "Open Port" does (start-up with a
    // simulated probe).
    void openPort(const QString &name);
    ktMessageDlg *messageDialog() const { return m_messageDialog; }
    // The automatic reopen is skipped while this returns true. The main window passes the
    // hub's busy flag: during a timed series the Measure tab closes the port on purpose and
    // its worker thread holds the device, so a reopen could only fail, every second.
    void setReopenSuspended(std::function<bool()> suspended) { m_reopenSuspended = std::move(suspended); }

public slots:
    void ReadSysConfig();
    void UpdateSerialPortLst();
    void handleSerialError(QSerialPort::SerialPortError error);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_pbopenport_clicked();
    void on_pbcloseport_clicked();
    void on_pbsave_clicked();
    void on_cbDVXCom_currentIndexChanged(QString text);

private:
    void setLight(const QString &name);
    void log(const QString &text, const QString &colour);
    QString currentDevicePath() const;
    void openSelectedPort(bool automatic);

    Ui::ktSerialPortSetting *ui;
    ktMessageDlg *m_messageDialog = nullptr;
    QTimer m_listTimer;
    QStringList m_portNames;
    QString m_lastPort;
    bool m_autoReopen = false;
    bool m_factoryVisible = false;
    std::function<bool()> m_reopenSuspended;
    bool m_reopenFailureLogged = false; // one red line per run of failed automatic reopens
};
