#include "ktpublicconfig.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "ktcfgdata.h"
#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktprogramlog.h"
#include "ktscaling.h"
#include "portholder.h"
#include "probereply.h"
#include "serialportreader.h"
#include "ui_ktpublicconfig.h"

using namespace ProbeReply;

namespace {
constexpr int Cr = 13;
const QString Red = QStringLiteral("red");
const QString Green = QStringLiteral("green");
// The Chinese form of the progress text, as the translation renders it; the log collapses
// either form, whichever language was active when the line was written.
const QString ProgressChinese = QString::fromUtf8("\xE6\xAD\xA3\xE5\x9C\xA8\xE8\x8E\xB7\xE5\x8F\x96"
                                                  "\xE6\x95\xB0\xE6\x8D\xAE...");
const QString ProgressEnglish = QStringLiteral("Is getting data...");

QString withCr(const QString &command)
{
    return command.endsWith(QLatin1Char('\r')) ? command : command + QLatin1Char('\r');
}
} // namespace

ktMessageDlg *ktPublicConfig::messageDialog() const
{
    if (!m_messageDialog)
        m_messageDialog = new ktMessageDlg(const_cast<ktPublicConfig *>(this));
    return m_messageDialog;
}

ktPublicConfig::ktPublicConfig(QWidget *parent) : QDialog(parent), baseUi(new Ui::ktPublicConfigClass)
{
    baseUi->setupUi(this);
    KtScaling::apply(this);
    setWindowFlags(windowFlags() | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);

    m_reader = new SerialPortReader(PortHolder::instance()->probePort(), this);
    // The slots are virtual, so a page's override receives the replies.
    connect(m_reader, &SerialPortReader::Signal_RecvMessage, this, &ktPublicConfig::Slot_RecvMessage);
    connect(m_reader, &SerialPortReader::Signal_Timeout, this, &ktPublicConfig::Slot_RecvTimeout);
    connect(m_reader, &SerialPortReader::Signal_ComError, this, &ktPublicConfig::Slot_ComError);

    ReadSysConfig();
}

ktPublicConfig::~ktPublicConfig()
{
    delete baseUi;
}

QTextEdit *ktPublicConfig::logView()
{
    return baseUi->te_Log;
}

void ktPublicConfig::hideBaseForm()
{
    baseUi->gb_Para->hide();
    baseUi->gb_Log->hide();
}

bool ktPublicConfig::readerBusy() const
{
    return m_reader->isBusy() || m_reader->portInUse();
}

// ---- log ------------------------------------------------------------------------------------

QString ktPublicConfig::progressText() const
{
    return tr("Is getting data...");
}

bool ktPublicConfig::isProgressText(const QString &text)
{
    // Also with the Chinese ellipsis, which a translation may use for the three dots.
    static const QString chineseEllipsis =
        QString(ProgressChinese)
            .replace(QStringLiteral("..."), QString::fromUtf8("\xE2\x80\xA6\xE2\x80\xA6"));
    return text == ProgressEnglish || text == ProgressChinese || text == chineseEllipsis ||
           text == tr("Is getting data...");
}

QString ktPublicConfig::regulateLogPath()
{
    return KtPlatform::appDir() + QStringLiteral("/pcfg/RegulateLogFlie/") +
           QDate::currentDate().toString(QStringLiteral("yyyy-M-d")) + QStringLiteral(".txt");
}

void ktPublicConfig::writeRegulateLog(const QString &text)
{
    const QString path = regulateLogPath();
    QFile file(path);
    // The folder is made only when the file cannot be opened: most lines need no extra
    // file-system walk.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) ||
            !file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
    }
    file.write((QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")) + QLatin1Char(' ') + text +
                QStringLiteral("\r\n"))
                   .toUtf8());
}

void ktPublicConfig::appendLog(QTextEdit *view, const QString &text, const QString &colour)
{
    const bool progress = isProgressText(text);
    if (!progress)
        writeRegulateLog(text);
    // The text is escaped for the panel: a reply holding "<" or "&" is shown as it came and
    // cannot break the markup of the line.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    const QString line =
        QStringLiteral("<font color=%1>[%2] %3</font>").arg(colour, stamp, text.toHtmlEscaped());

    if (progress) {
        if (!view)
            return;
        if (m_progressShown) {
            // A run of progress messages shows as one line whose time stamp moves.
            QTextDocument *doc = view->document();
            const QTextBlock last = doc->lastBlock();
            if (last.text().endsWith(text)) {
                if (doc->blockCount() <= 1) {
                    view->clear();
                } else {
                    QTextCursor cursor(doc);
                    cursor.movePosition(QTextCursor::End);
                    cursor.select(QTextCursor::BlockUnderCursor);
                    cursor.removeSelectedText();
                }
            }
        }
        view->append(line);
        m_progressShown = true;
        return;
    }

    if (view)
        view->append(line);
    m_progressShown = false;
    // What the markup-stripped line reads, taken before escaping so that the file has the
    // text as it was.
    ktProgramLog::instance()->write(QLatin1Char('[') + stamp + QStringLiteral("] ") + text);
}

void ktPublicConfig::showEcho(QTextEdit *view, const QString &line, const QString &colour)
{
    if (ktCfgData::instance()->uplayerDebug())
        appendLog(view, line, colour);
    else
        appendLog(view, progressText(), Green);
}

void ktPublicConfig::echoTx(const QString &command)
{
    m_echoLine = txLine(command);
    showEcho(logView(), m_echoLine, Green);
}

void ktPublicConfig::echoRx(const QByteArray &reply)
{
    m_echoLine = rxLine(reply);
    showEcho(logView(), m_echoLine, Green);
}

// ---- configuration --------------------------------------------------------------------------

void ktPublicConfig::ReadSysConfig()
{
    m_sysConfig = KtSettings::readSysConfig();
    if (m_sysConfig.single)
        ktCfgData::instance()->setProbeMode(0);
    else if (m_sysConfig.dual)
        ktCfgData::instance()->setProbeMode(1);
}

void ktPublicConfig::ReadRegulateConfig()
{
    m_regulateConfig = KtSettings::readRegulateConfig();
    if (m_regulateConfig.eSingleProbeMode)
        ktCfgData::instance()->setRegulateMode(0);
    else if (m_regulateConfig.eDoubleProbeMode)
        ktCfgData::instance()->setRegulateMode(1);
}

// ---- reply slots ----------------------------------------------------------------------------

void ktPublicConfig::Slot_RecvMessage(QString &, unsigned int commandCode, unsigned int taskCode,
                                      QByteArray &reply)
{
    echoRx(reply);
    if (taskCode == TaskPage)
        handleStandardReply(commandCode, reply);
}

void ktPublicConfig::handleStandardReply(unsigned int commandCode, const QByteArray &bytes)
{
    // The reply has been echoed once by the reply slot; the handler does not echo it again.
    const QString reply = QString::fromLatin1(bytes);
    switch (commandCode) {
    case CodeSTR:
        if (isOk00(reply))
            SendSTRAsync(TaskPage, QStringLiteral("5"));
        break;
    case CodeXYZ:
    case CodeMES:
        if (hasMeasureOk(reply)) {
            const Reading r = parseMeasurement(commandCode, reply);
            emit SendBrightResult(r.x, r.y, r.lv, r.X, r.Z, r.cct);
        } else if (hasMeasureRefused(reply)) {
            // echo only
        } else if (hasReportedError(reply)) {
            emit Signal_RecvDebugeInfo(errorCode(reply));
        }
        break;
    case CodeGeneric: {
        const Reading r = parseMeasurement(commandCode, reply);
        emit SendBrightResult(r.x, r.y, r.lv, r.X, r.Z, r.cct);
        break;
    }
    case CodeZRC:
        if (isOk00(reply) || reply.contains(QLatin1String("OK21")))
            emit SendFlickResult(reply, QString());
        break;
    default: // codes 9, 19, 21: echo only (done); others: nothing
        break;
    }
}

void ktPublicConfig::Slot_RecvTimeout(QString &, unsigned int, unsigned int)
{
    appendLog(tr("Command execution error time out!"), Red);
    if (currentTask >= 4 && currentTask <= 8)
        emit Signal_Timeout();
}

void ktPublicConfig::Slot_ComError(QString &, QString &) {}

// ---- hub ------------------------------------------------------------------------------------

void ktPublicConfig::Slot_UpdateMCH()
{
    emit Signal_RecvUpdateMCH();
}

void ktPublicConfig::Slot_ChangeMDS(QString strMDS)
{
    emit Signal_RecvChangeMDS(strMDS);
}

void ktPublicConfig::Slot_PortClosed()
{
    emit Signal_RecvClosePort();
}

// ---- plumbing -------------------------------------------------------------------------------

bool ktPublicConfig::exchange(const QString &command, int timeoutMs, QString *reply, const QString &txPrefix)
{
    if (readerBusy())
        return false;
    echoTx(txPrefix + command);
    QByteArray bytes;
    if (!m_reader->sendAndWait(command.toLatin1(), bytes, Cr, timeoutMs)) {
        appendLog(tr("Command execution error time out!"), Red);
        return false;
    }
    echoRx(bytes);
    if (reply)
        *reply = QString::fromLatin1(bytes);
    return true;
}

void ktPublicConfig::sendAsyncCommand(unsigned int code, unsigned int task, const QString &command,
                                      int timeoutMs)
{
    if (readerBusy())
        return;
    currentTask = task;
    echoTx(command);
    m_reader->sendAsync(code, task, command.toLatin1(), Cr, timeoutMs);
}

namespace {
// Blocking exchange whose success is "contains OK00", with an optional data slice.
enum class Slice
{
    None,
    LastComma,
    FirstComma,
    From5,
    Whole
};

QString slice(const QString &reply, Slice how)
{
    switch (how) {
    case Slice::LastComma:
        return afterLastComma(reply);
    case Slice::FirstComma:
        return afterFirstComma(reply);
    case Slice::From5:
        return dataFrom5(reply);
    case Slice::Whole:
        return reply;
    case Slice::None:
        break;
    }
    return QString();
}

// Blocking exchange whose reply test is "contains OK00"; out (optional) gets the slice.
bool ok00Query(ktPublicConfig *page, const QString &command, int timeoutMs, Slice how, QString *out)
{
    QString reply;
    if (!page->exchange(command, timeoutMs, &reply) || !isOk00(reply))
        return false;
    if (out)
        *out = slice(reply, how);
    return true;
}
} // namespace

// ---- version and type -----------------------------------------------------------------------

bool ktPublicConfig::SendVER(QString *version)
{
    return ok00Query(this, QStringLiteral("VER\r"), 5000, Slice::LastComma, version);
}

bool ktPublicConfig::SendVID1(QString *version)
{
    return ok00Query(this, QStringLiteral("VID,1\r"), 5000, Slice::LastComma, version);
}

bool ktPublicConfig::SendVER1(QString *version)
{
    return ok00Query(this, QStringLiteral("VER,1\r"), 5000, Slice::FirstComma, version);
}

bool ktPublicConfig::SendTYP(QString *type)
{
    return ok00Query(this, QStringLiteral("TYP\r"), 5000, Slice::LastComma, type);
}

// ---- identification and parameters ----------------------------------------------------------

void ktPublicConfig::SendIDOAsync(unsigned int task)
{
    sendAsyncCommand(CodeIDO, task, QStringLiteral("IDO\r"), 5000);
}

void ktPublicConfig::SendRPRAsync(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeRPRn, task, QStringLiteral("RPR,") + n + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendRPR(QString *data)
{
    return ok00Query(this, QStringLiteral("RPR\r"), 5000, Slice::From5, data);
}

void ktPublicConfig::SendIDPAsync(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeIDP, task, QStringLiteral("IDP,") + n + QLatin1Char('\r'), 5000);
}

void ktPublicConfig::SendSTRAsync(unsigned int task, const QString &item)
{
    if (readerBusy())
        return;
    strCode = int(strCommandCode(item));
    sendAsyncCommand(unsigned(strCode), task, QStringLiteral("STR,") + item + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendSTR(const QString &item, QString *data)
{
    QString reply;
    if (!exchange(QStringLiteral("STR,") + item + QLatin1Char('\r'), 5000, &reply))
        return false;
    const bool ok = isOk00(reply) || (item == QLatin1String("31") && reply.contains(QLatin1String("ER10")));
    if (ok && data)
        *data = dataFrom5(reply);
    return ok;
}

void ktPublicConfig::SendMDSAsync(unsigned int task, const QString &mode)
{
    if (readerBusy())
        return;
    strCode = int(mdsCommandCode(mode));
    sendAsyncCommand(unsigned(strCode), task, QStringLiteral("MDS,") + mode + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendMDS(const QString &mode)
{
    QString reply;
    if (!exchange(QStringLiteral("MDS,") + mode + QLatin1Char('\r'), 500, &reply) || !isOk00(reply))
        return false;
    emit Signal_SendChangeMDS(mode);
    return true;
}

void ktPublicConfig::SendMCHAsync(unsigned int task, const QString &channel)
{
    sendAsyncCommand(CodeMCH, task, QStringLiteral("MCH,") + channel + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendMCH(const QString &channel)
{
    QString reply;
    if (!exchange(QStringLiteral("MCH,") + channel + QLatin1Char('\r'), 5000, &reply) || !isOk00(reply))
        return false;
    emit Signal_SendUpdateMCH();
    return true;
}

void ktPublicConfig::SendSCSAsync(unsigned int task, const QString &mode)
{
    sendAsyncCommand(CodeSCS, task, QStringLiteral("SCS,") + mode + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendSCS(const QString &mode)
{
    return ok00Query(this, QStringLiteral("SCS,") + mode + QLatin1Char('\r'), 5000, Slice::None, nullptr);
}

void ktPublicConfig::SendFSCAsync(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeFSC, task, QStringLiteral("FSC,") + n + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendFSC(const QString &n)
{
    return ok00Query(this, QStringLiteral("FSC,") + n + QLatin1Char('\r'), 5000, Slice::None, nullptr);
}

void ktPublicConfig::SendSNFAsync(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeSNF, task, QStringLiteral("SNF,") + n + QLatin1Char('\r'), 5000);
}

void ktPublicConfig::SendARSAsync(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeARS, task, QStringLiteral("ARS,") + n + QLatin1Char('\r'), 5000);
}

void ktPublicConfig::SendARS2Async(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeARS2, task, QStringLiteral("ARS,") + n + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendMSC(const QString &n)
{
    return ok00Query(this, QStringLiteral("MSC,") + n + QLatin1Char('\r'), 5000, Slice::None, nullptr);
}

bool ktPublicConfig::SendMVS(const QString &n, QString *reply)
{
    return exchange(QStringLiteral("MVS,") + n + QLatin1Char('\r'), 5000, reply);
}

bool ktPublicConfig::SendVSN(const QString &n)
{
    QString reply;
    return exchange(QStringLiteral("VSN,") + n + QStringLiteral(",0\r"), 5000, &reply) && !hasError(reply);
}

bool ktPublicConfig::SendINI()
{
    return ok00Query(this, QStringLiteral("INI\r"), 5000, Slice::None, nullptr);
}

// ---- measurement ----------------------------------------------------------------------------

void ktPublicConfig::SendXYZAsync(unsigned int task)
{
    sendAsyncCommand(CodeXYZ, task, QStringLiteral("XYZ\r"), 10000);
}

void ktPublicConfig::SendMESAsync(unsigned int task)
{
    sendAsyncCommand(CodeMES, task, QStringLiteral("MES\r"), 10000);
}

bool ktPublicConfig::SendMES(QString *reply)
{
    QString text;
    if (!exchange(QStringLiteral("MES\r"), 10000, &text))
        return false;
    if (reply)
        *reply = text;
    return !hasError(text);
}

void ktPublicConfig::SendMES1Async(unsigned int task)
{
    sendAsyncCommand(CodeMES, task, QStringLiteral("MES,1\r"), 10000);
}

bool ktPublicConfig::SendMES1(QString *reply, qint64 *elapsedMs)
{
    QElapsedTimer roundTrip;
    roundTrip.start();
    QString text;
    const bool received = exchange(QStringLiteral("MES,1\r"), 10000, &text, QStringLiteral("Sync:"));
    // The command's own round trip, without a resynchronisation that may have preceded it.
    if (elapsedMs)
        *elapsedMs = received ? m_reader->lastRoundTripMs() : roundTrip.elapsed();
    if (!received)
        return false;
    if (reply)
        *reply = text;
    return !hasError(text);
}

void ktPublicConfig::SendJADAsync(unsigned int task)
{
    sendAsyncCommand(CodeJAD, task, QStringLiteral("JAD\r"), 10000);
}

bool ktPublicConfig::SendJAD(QString *reply)
{
    QString text;
    if (!exchange(QStringLiteral("JAD\r"), 5000, &text))
        return false;
    if (reply)
        *reply = text;
    return !hasError(text);
}

void ktPublicConfig::SendZRCAsync(unsigned int task)
{
    sendAsyncCommand(CodeZRC, task, QStringLiteral("ZRC\r"), 10000);
}

void ktPublicConfig::SendFFDAsync(unsigned int task)
{
    sendAsyncCommand(CodeFFD, task, QStringLiteral("FFD\r"), 5000);
}

bool ktPublicConfig::SendRSD(QString *reply)
{
    QString text;
    if (!exchange(QStringLiteral("RSD\r"), 5000, &text))
        return false;
    if (reply)
        *reply = text;
    return !hasError(text);
}

bool ktPublicConfig::SendJAA(const QString &a, const QString &b, QString *reply)
{
    QString text;
    if (!exchange(QStringLiteral("JAA,") + a + QLatin1Char(',') + b + QLatin1Char('\r'), 10000, &text))
        return false;
    if (reply)
        *reply = text;
    return !hasError(text);
}

bool ktPublicConfig::SendJWA(const QString &a, const QString &b, QString *reply)
{
    QString text;
    if (!exchange(QStringLiteral("JWA,") + a + QLatin1Char(',') + b + QLatin1Char('\r'), 10000, &text))
        return false;
    if (reply)
        *reply = text;
    return !hasError(text);
}

bool ktPublicConfig::SendSWD(const QString &n)
{
    return ok00Query(this, QStringLiteral("SWD,") + n + QLatin1Char('\r'), 5000, Slice::None, nullptr);
}

bool ktPublicConfig::SendSEN(const QString &n)
{
    return SendCommand(QStringLiteral("SEN,") + n);
}

// ---- memory channels and calibration --------------------------------------------------------

void ktPublicConfig::SendCMR11Async(unsigned int task)
{
    sendAsyncCommand(CodeCMR11, task, QStringLiteral("CMR,11\r"), 5000);
}

bool ktPublicConfig::SendCMR11(QString *data)
{
    return ok00Query(this, QStringLiteral("CMR,11\r"), 5000, Slice::From5, data);
}

bool ktPublicConfig::SendCMR13(QString *table)
{
    return ok00Query(this, QStringLiteral("CMR,13\r"), 10000, Slice::From5, table);
}

bool ktPublicConfig::SendCMR(const QString &n, QString *data)
{
    return ok00Query(this, QStringLiteral("CMR,") + n + QLatin1Char('\r'), 5000, Slice::From5, data);
}

bool ktPublicConfig::SendCMW(const QString &a, const QString &b, bool acceptEr10)
{
    QString reply;
    if (!exchange(QStringLiteral("CMW,") + a + QLatin1Char(',') + b + QLatin1Char('\r'), 8000, &reply))
        return false;
    return isOk00(reply) || (acceptEr10 && reply.contains(QLatin1String("ER10")));
}

bool ktPublicConfig::SendRGM(QString *data, QString *reply)
{
    QString text;
    if (!exchange(QStringLiteral("RGM\r"), 5000, &text))
        return false;
    if (reply)
        *reply = text;
    const bool ok = isOk00(text) || text.contains(QLatin1String("ER84"));
    if (ok && data)
        *data = dataFrom5(text);
    return ok;
}

bool ktPublicConfig::SendRGU(const QString &text)
{
    return ok00Query(this, QStringLiteral("RGU ") + text + QLatin1Char('\r'), 5000, Slice::None, nullptr);
}

bool ktPublicConfig::SendRAW()
{
    return ok00Query(this, QStringLiteral("RAW\r"), 5000, Slice::None, nullptr);
}

bool ktPublicConfig::SendFCS(const QString &n)
{
    const QString command =
        n.isEmpty() ? QStringLiteral("FCS\r") : QStringLiteral("FCS,") + n + QLatin1Char('\r');
    return ok00Query(this, command, 5000, Slice::None, nullptr);
}

bool ktPublicConfig::SendCLR()
{
    return SendCommand(QStringLiteral("CLR\r"), 15000);
}

bool ktPublicConfig::SendRGE()
{
    return SendCommand(QStringLiteral("RGE\r"), 20000);
}

// ---- firmware -------------------------------------------------------------------------------

bool ktPublicConfig::SendUDP(const QString &code)
{
    return SendCommand(QStringLiteral("UDP,") + code);
}

bool ktPublicConfig::SendCOM1()
{
    return SendCommand(QStringLiteral("COM,1\r"));
}

bool ktPublicConfig::SendUPD1()
{
    return SendCommand(QStringLiteral("UPD,1\r"));
}

bool ktPublicConfig::SendRawBytes(const QByteArray &bytes, const QByteArray &expected, int timeoutMs,
                                  QByteArray *received)
{
    if (expected.isEmpty() || readerBusy())
        return false;
    const char terminator = expected.at(expected.size() - 1);
    QByteArray reply;
    const bool got = m_reader->sendAndWait(bytes, reply, static_cast<unsigned char>(terminator), timeoutMs);
    if (received)
        *received = reply;
    if (!got) {
        appendLog(tr("Command execution error time out!"), Red);
        return false;
    }
    return reply + terminator == expected;
}

// ---- any text -------------------------------------------------------------------------------

bool ktPublicConfig::SendCommand(const QString &command, int timeoutMs, QString *reply)
{
    QString text;
    if (!exchange(withCr(command), timeoutMs, &text))
        return false;
    if (reply)
        *reply = text;
    return isOk00(text);
}

void ktPublicConfig::SendCommandAsync(unsigned int task, const QString &command)
{
    sendAsyncCommand(CodeGeneric, task, withCr(command), 10000);
}
