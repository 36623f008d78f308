#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include "ktprogramlog.h"
#include "ktsettings.h"

class QKeyEvent;
class PageLog;
class SerialPortReader;
class ktMessageDlg;
namespace Ui {
class ktPublicConfigClass;
}

// Common base of every tool page and tool dialog that talks to the probe, and (as one extra
// instance owned by the main window) the hub that relays broadcasts between pages.
//
// Each page gets its own SerialPortReader on the shared probe port, one command function per
// probe command, the log panel with its echo lines and log files, and the standard reply
// handler that turns measurement replies into SendBrightResult.
//
// Command functions come in two forms:
//  - blocking (bool): refused (false, nothing sent) while a request is in flight; echoes
//    the command, waits for the reply processing GUI events, logs
//    "Command execution error time out!" in red and returns false on time-out, otherwise
//    echoes the reply and returns the command's reply test. Out-parameters may be null.
//  - asynchronous (...Async(task)): does nothing while a request is in flight; stores the task code in
//    currentTask, echoes the command and sends it with its command code; the reply or
//    time-out reaches Slot_RecvMessage / Slot_RecvTimeout with both codes.
// Every command ends in "\r"; arguments are appended unchanged.
class ktPublicConfig : public QDialog
{
    Q_OBJECT
public:
    explicit ktPublicConfig(QWidget *parent = nullptr);
    ~ktPublicConfig() override;

    // The page's log panel. The base returns the log box of its own (hidden) form.
    virtual PageLog *logView();
    // Hides the two group boxes of the base form; every page calls it and lays out its own.
    void hideBaseForm();

    SerialPortReader *reader() const { return m_reader; }
    // Created on first use, after the page has built its form: a dialog made earlier would be
    // a child when the page's setupUi connects slots by name, and a page slot such as
    // on_pbOK_clicked would then also fire for the message box's own "pbOK".
    ktMessageDlg *messageDialog() const;
    // The message in this page's dialog, one button, waited for.
    void showMessage(const QString &text);
    // This page's request is in flight, or any page's request on the shared port (see
    // SerialPortReader::portInUse): a new request would be refused.
    bool readerBusy() const;

    // The cross-page interlock, meaningful on the hub only: set by the flicker page around a
    // synchronised series that closes the probe port; the main window's port poll skips its
    // work while it is set.
    bool busyFlag() const { return m_busyFlag; }
    void setBusyFlag(bool on) { m_busyFlag = on; }

    unsigned int currentTask = 0; // task code of the last asynchronous request
    int strCode = 0;              // command code chosen by the async "STR," / "MDS," functions

    // ---- log ------------------------------------------------------------------------------
    // The progress text that replaces the echo lines when debug echo is off.
    QString progressText() const;
    static bool isProgressText(const QString &text); // English or Chinese form
    // Time-stamped coloured line in view (see the .cpp for the progress-line collapse); also
    // written to the regulate log and, except progress lines, to the program log. The stamp
    // is read once for all three; control characters in text are shown escaped.
    void appendLog(PageLog *view, const QString &text, const QString &colour);
    void appendLog(const QString &text, const QString &colour) { appendLog(logView(), text, colour); }
    // Echo of a transmitted command / received reply through showEcho.
    void echoTx(const QString &command);
    void echoRx(const QByteArray &reply);
    // Echo line in green when debug echo is on, otherwise the progress text in green.
    void showEcho(PageLog *view, const QString &line, const QString &colour);
    QString echoLine() const { return m_echoLine; }
    // The last line of the log panel is the progress text.
    bool progressShown() const { return m_progressShown; }
    // Path of the day's regulate log (appDir + "/pcfg/RegulateLogFlie/" + "yyyy-M-d" + ".txt").
    static QString regulateLogPath(const QDate &day = QDate::currentDate());
    // Appends "hh:mm:ss.zzz text" to the regulate log of the stamp's day. The file stays open
    // and is written through a buffer (see ktDailyLogFile); flushRegulateLog puts it on disk.
    static void writeRegulateLog(const QString &text);
    static void writeRegulateLog(const ktLogTime &time, const QString &text);
    static void flushRegulateLog();

    // ---- configuration ---------------------------------------------------------------------
    void ReadSysConfig();
    void ReadRegulateConfig();
    const KtSettings::SysConfig &sysConfig() const { return m_sysConfig; }
    const KtSettings::RegulateConfig &regulateConfig() const { return m_regulateConfig; }

    // ---- version and type (5000 ms, reply contains "OK00") -----------------------------------
    bool SendVER(QString *version);  // "VER\r": text after the last ","
    bool SendVID1(QString *version); // "VID,1\r": text after the last ","
    bool SendVER1(QString *version); // "VER,1\r": text after the first ","
    bool SendTYP(QString *type);     // "TYP\r": text after the last ","

    // ---- identification and parameters ------------------------------------------------------
    void SendIDOAsync(unsigned int task);                   // "IDO\r", code 1, 5000 ms
    void SendRPRAsync(unsigned int task, const QString &n); // "RPR," + n, code 2, 5000 ms
    bool SendRPR(QString *data);                            // "RPR\r", OK00, data from char 5
    void SendIDPAsync(unsigned int task, const QString &n); // "IDP," + n, code 3, 5000 ms
    // "STR," + item, 5000 ms; code 4 ("0" and other), 7 ("3"), 9 ("5"), stored in strCode.
    void SendSTRAsync(unsigned int task, const QString &item);
    // "STR," + item, 5000 ms: OK00 (item "31": OK00 or ER10); data from char 5.
    bool SendSTR(const QString &item, QString *data);
    // "MDS," + mode, 5000 ms; code 19 ("0" and other), 20 ("1"), 21 ("6"), 22 ("7"), 23 ("8").
    void SendMDSAsync(unsigned int task, const QString &mode);
    // "MDS," + mode, 500 ms, OK00; on success emits Signal_SendChangeMDS(mode).
    bool SendMDS(const QString &mode);
    void SendMCHAsync(unsigned int task, const QString &channel); // "MCH," + ch, code 24
    // "MCH," + channel, 5000 ms, OK00; on success emits Signal_SendUpdateMCH().
    bool SendMCH(const QString &channel);
    void SendSCSAsync(unsigned int task, const QString &mode); // "SCS," + n, code 25
    bool SendSCS(const QString &mode);                         // OK00
    void SendFSCAsync(unsigned int task, const QString &n);    // "FSC," + n, code 26
    bool SendFSC(const QString &n);                            // OK00
    void SendSNFAsync(unsigned int task, const QString &n);    // "SNF," + n, code 27
    void SendARSAsync(unsigned int task, const QString &n);    // "ARS," + n, code 28
    void SendARS2Async(unsigned int task, const QString &n);   // "ARS," + n, code 29
    bool SendMSC(const QString &n);                            // "MSC," + n, OK00
    bool SendMVS(const QString &n, QString *reply = nullptr);  // "MVS," + n, true on any reply
    bool SendVSN(const QString &n);                            // "VSN," + n + ",0", no "ER"
    bool SendINI();                                            // "INI\r", OK00

    // ---- measurement ------------------------------------------------------------------------
    void SendXYZAsync(unsigned int task); // "XYZ\r", code 31, 10000 ms
    void SendMESAsync(unsigned int task); // "MES\r", code 32, 10000 ms
    // "MES\r", 10000 ms: true when the reply contains no "ER"; reply gets the reply text.
    bool SendMES(QString *reply);
    void SendMES1Async(unsigned int task); // "MES,1\r", code 32, 10000 ms
    // "MES,1\r", 10000 ms, no "ER"; also the round-trip time in ms. Echo reads "Sync:" + cmd.
    bool SendMES1(QString *reply, qint64 *elapsedMs = nullptr);
    void SendJADAsync(unsigned int task); // "JAD\r", code 34, 10000 ms
    bool SendJAD(QString *reply);         // "JAD\r", 5000 ms, no "ER"
    void SendZRCAsync(unsigned int task); // "ZRC\r", code 35, 10000 ms
    void SendFFDAsync(unsigned int task); // "FFD\r", code 37, 5000 ms
    bool SendRSD(QString *reply);         // "RSD\r", 5000 ms, no "ER"
    // "JAA," + a + "," + b / "JWA," + a + "," + b, 10000 ms, no "ER"; reply gets the reply.
    bool SendJAA(const QString &a, const QString &b, QString *reply);
    bool SendJWA(const QString &a, const QString &b, QString *reply);
    bool SendSWD(const QString &n); // "SWD," + n, OK00
    bool SendSEN(const QString &n); // "SEN," + n, OK00 (generic)

    // ---- memory channels and calibration -----------------------------------------------------
    void SendCMR11Async(unsigned int task);        // "CMR,11\r", code 42, 5000 ms
    bool SendCMR11(QString *data);                 // OK00, data from char 5
    bool SendCMR13(QString *table);                // "CMR,13\r", 10000 ms, OK00, data from char 5
    bool SendCMR(const QString &n, QString *data); // "CMR," + n, OK00, data from char 5
    // "CMW," + a + "," + b, 8000 ms: OK00, or also ER10 when acceptEr10.
    bool SendCMW(const QString &a, const QString &b, bool acceptEr10 = false);
    // "RGM\r": OK00 or ER84 is success; data from char 5. reply (optional) gets the whole reply.
    bool SendRGM(QString *data, QString *reply = nullptr);
    bool SendRGU(const QString &text); // "RGU " + text (space, not comma), OK00
    bool SendRAW();                    // "RAW\r", OK00
    bool SendFCS(const QString &n);    // "FCS," + n, or "FCS\r" for an empty argument; OK00
    bool SendCLR();                    // "CLR\r", 15000 ms, OK00 (generic)
    bool SendRGE();                    // "RGE\r", 20000 ms, OK00 (generic)

    // ---- firmware ---------------------------------------------------------------------------
    bool SendUDP(const QString &code = QStringLiteral("0x3C71")); // "UDP," + code, OK00
    bool SendCOM1();                                              // "COM,1\r", OK00
    bool SendUPD1();                                              // "UPD,1\r", OK00
    // Raw bytes; the terminator is the last byte of expected. True when the received bytes
    // followed by that terminator equal expected byte for byte. Empty expected: false.
    bool SendRawBytes(const QByteArray &bytes, const QByteArray &expected, int timeoutMs = 5000,
                      QByteArray *received = nullptr);

    // ---- any text -----------------------------------------------------------------------------
    // Generic blocking command: "\r" is appended when the text does not end with it; true when
    // the reply contains "OK00". reply (optional) gets the reply text.
    bool SendCommand(const QString &command, int timeoutMs = 5000, QString *reply = nullptr);
    // Generic asynchronous command, code 33, 10000 ms ("\r" appended when missing).
    void SendCommandAsync(unsigned int task, const QString &command);
    // Lowest level: blocking exchange with echo lines and the time-out message, no reply
    // test. False while busy or on time-out.
    bool exchange(const QString &command, int timeoutMs, QString *reply, const QString &txPrefix = QString());
    // Lowest level asynchronous send with echo.
    void sendAsyncCommand(unsigned int code, unsigned int task, const QString &command, int timeoutMs);

signals:
    void SendBrightResult(QString strBrightX, QString strBrightY, QString strBrightZ, QString strInitX,
                          QString strInitZ, QString strCtt);
    void SendFlickResult(QString strFlick, QString strErrCode);
    void Signal_RecvDebugeInfo(QString strDebugRecv);
    void Signal_Timeout();
    void Signal_SendChangeMDS(QString strMDS);
    void Signal_SendUpdateMCH();
    void Signal_RecvChangeMDS(QString strMDS);
    void Signal_RecvUpdateMCH();
    void Signal_RecvClosePort();
    void Signal_SendClosePort();

public slots:
    virtual void Slot_RecvMessage(QString &portName, unsigned int commandCode, unsigned int taskCode,
                                  QByteArray &reply);
    virtual void Slot_RecvTimeout(QString &portName, unsigned int commandCode, unsigned int taskCode);
    virtual void Slot_ComError(QString &portName, QString &errorText);

    // Hub slots.
    void Slot_UpdateMCH();
    void Slot_ChangeMDS(QString strMDS);
    void Slot_PortClosed();

protected:
    // The standard reply handler of task code 5 (called by the base Slot_RecvMessage). A
    // measurement reply that does not read (ReplyReader::readMeasurement) logs "Format error!"
    // in red and emits nothing.
    void handleStandardReply(unsigned int commandCode, const QByteArray &reply);

    Ui::ktPublicConfigClass *baseUi = nullptr;

private:
    SerialPortReader *m_reader = nullptr;
    mutable ktMessageDlg *m_messageDialog = nullptr;
    bool m_busyFlag = false;
    bool m_progressShown = false;
    QString m_echoLine;
    KtSettings::SysConfig m_sysConfig;
    KtSettings::RegulateConfig m_regulateConfig;

    // ---- hosting as a tab page ----------------------------------------------------------------
public:
    // A page the main window shows as a tab is no dialog of its own: Esc must not reject it and
    // accept, reject or close must not hide it, or the tab stays blank until the program is
    // restarted. The main window sets this when it adds the page; dialogs keep Esc.
    void setHostedAsTab(bool hosted) { m_hostedAsTab = hosted; }
    bool hostedAsTab() const { return m_hostedAsTab; }
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_hostedAsTab = false;
};
