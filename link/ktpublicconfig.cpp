#include "ktpublicconfig.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

#include "ktcfgdata.h"
#include "ktmessagedlg.h"
#include "ktplatform.h"
#include "ktprogramlog.h"
#include "ktscaling.h"
#include "pagelog.h"
#include "portholder.h"
#include "probereply.h"
#include "replyreader.h"
#include "serialportreader.h"
#include "ui_ktpublicconfig.h"

using namespace ProbeReply;

namespace {
constexpr int Cr = 13;
const QString Red = QStringLiteral("red");
const QString Green = QStringLiteral("green");
constexpr int EchoMaxChars = 2000;
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

void ktPublicConfig::showMessage(const QString &text)
{
    messageDialog()->setMessage(text, false, true);
    messageDialog()->exec();
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

PageLog *ktPublicConfig::logView()
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
    // Also with the Chinese ellipsis, which a translation may use for the three dots. Every
    // log line is tested, so most are turned away by their last character before the
    // translator is asked.
    static const QString chineseEllipsis =
        QString(ProgressChinese)
            .replace(QStringLiteral("..."), QString::fromUtf8("\xE2\x80\xA6\xE2\x80\xA6"));
    if (!text.endsWith(QLatin1Char('.')) && !text.endsWith(QChar(0x2026)))
        return false;
    return text == ProgressEnglish || text == ProgressChinese || text == chineseEllipsis ||
           text == tr("Is getting data...");
}

namespace {
ktDailyLogFile &regulateLog()
{
    // Kept open for the day and flushed when destroyed at exit (see ktDailyLogFile).
    static ktDailyLogFile file([](const QDate &day) { return ktPublicConfig::regulateLogPath(day); });
    return file;
}
} // namespace

QString ktPublicConfig::regulateLogPath(const QDate &day)
{
    return KtPlatform::appDir() + QStringLiteral("/pcfg/RegulateLogFlie/") +
           day.toString(QStringLiteral("yyyy-M-d")) + QStringLiteral(".txt");
}

void ktPublicConfig::writeRegulateLog(const QString &text)
{
    writeRegulateLog(ktLogTime::now(), text);
}

void ktPublicConfig::writeRegulateLog(const ktLogTime &time, const QString &text)
{
    const QByteArray body = ktProgramLog::escapeControls(text).toUtf8();
    const QString clock = time.clock();
    QByteArray line;
    line.reserve(clock.size() + body.size() + 3);
    line += clock.toLatin1();
    line += ' ';
    line += body;
    line += "\r\n";
    regulateLog().append(time.day, line);
}

void ktPublicConfig::flushRegulateLog()
{
    regulateLog().flush();
}

void ktPublicConfig::appendLog(PageLog *view, const QString &rawText, const QString &colour)
{
    const ktLogTime time = ktLogTime::now();
    // A reply may hold line feeds or other control bytes: shown escaped, they cannot forge
    // lines in the panel or the files.
    const QString text = ktProgramLog::escapeControls(rawText);
    if (isProgressText(text)) {
        // A run of progress messages shows as one line whose time stamp moves; progress
        // lines stay out of both files.
        if (view)
            view->addLine(time.stamp, text, colour, m_progressShown);
        m_progressShown = true;
        return;
    }
    writeRegulateLog(time, text);
    if (view)
        view->addLine(time.stamp, text, colour);
    m_progressShown = false;
    ktProgramLog::instance()->log(time, text);
}

void ktPublicConfig::showEcho(PageLog *view, const QString &line, const QString &colour)
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
    // A sampled reply ("JAA", "JWA") runs to a megabyte on one line: escaping it, laying it out
    // in the panel and writing it to both log files would hold the GUI thread for seconds.
    // The echo keeps its head and its size; the reader still gets the whole reply.
    m_echoLine = rxLine(reply, EchoMaxChars);
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
    const QString reply = ReplyReader::text(bytes);
    // A measurement is passed on only when its reply reads completely.
    const auto emitReading = [this, commandCode, &reply] {
        ReplyReader::Reading r;
        if (!ReplyReader::readMeasurement(commandCode == CodeXYZ, reply, &r)) {
            appendLog(tr("Format error!"), Red);
            return;
        }
        emit SendBrightResult(number6(r.x), number6(r.y), number6(r.lv), number6(r.X), number6(r.Z),
                              r.tristimulus ? QString() : number6(mccamyCct(r.x, r.y)));
    };
    switch (commandCode) {
    case CodeSTR:
        if (isOk00(reply))
            SendSTRAsync(TaskPage, QStringLiteral("5"));
        break;
    case CodeXYZ:
    case CodeMES:
        if (hasMeasureOk(reply)) {
            emitReading();
        } else if (hasMeasureRefused(reply)) {
            // echo only
        } else if (hasReportedError(reply)) {
            emit Signal_RecvDebugeInfo(errorCode(reply));
        }
        break;
    case CodeGeneric:
        emitReading();
        break;
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
        *reply = ReplyReader::text(bytes);
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

// What makes a blocking command succeed.
enum class Test
{
    Ok00,       // the reply contains "OK00"
    NoEr,       // the reply does not contain "ER" (measurements)
    Ok00OrEr10, // "OK00", or "ER10" where the caller accepts it
    Ok00OrEr84, // "OK00", or "ER84" (gains not set)
    Any         // any reply
};

// What a blocking command hands back when it succeeds.
enum class Slice
{
    None,
    LastComma,
    FirstComma,
    From5
};

// A blocking command: its text is head + argument + "\r".
struct Blocking
{
    const char *head;
    int timeoutMs;
    Test test;
    Slice slice;
};

// clang-format off
constexpr Blocking VER       {"VER",    5000,  Test::Ok00,       Slice::LastComma};
constexpr Blocking VID1      {"VID,1",  5000,  Test::Ok00,       Slice::LastComma};
constexpr Blocking VER1      {"VER,1",  5000,  Test::Ok00,       Slice::FirstComma};
constexpr Blocking TYP       {"TYP",    5000,  Test::Ok00,       Slice::LastComma};
constexpr Blocking RPR       {"RPR",    5000,  Test::Ok00,       Slice::From5};
constexpr Blocking STR       {"STR,",   5000,  Test::Ok00,       Slice::From5};
constexpr Blocking STR31     {"STR,",   5000,  Test::Ok00OrEr10, Slice::From5}; // item 31: "ER10" = no such setting
constexpr Blocking MDS       {"MDS,",   500,   Test::Ok00,       Slice::None};
constexpr Blocking MCH       {"MCH,",   5000,  Test::Ok00,       Slice::None};
constexpr Blocking SCS       {"SCS,",   5000,  Test::Ok00,       Slice::None};
constexpr Blocking FSC       {"FSC,",   5000,  Test::Ok00,       Slice::None};
constexpr Blocking MSC       {"MSC,",   5000,  Test::Ok00,       Slice::None};
constexpr Blocking MVS       {"MVS,",   5000,  Test::Any,        Slice::None};
constexpr Blocking VSN       {"VSN,",   5000,  Test::NoEr,       Slice::None};
constexpr Blocking INI       {"INI",    5000,  Test::Ok00,       Slice::None};
constexpr Blocking MES       {"MES",    10000, Test::NoEr,       Slice::None};
constexpr Blocking MES1      {"MES,1",  10000, Test::NoEr,       Slice::None};
constexpr Blocking JAD       {"JAD",    5000,  Test::NoEr,       Slice::None};
constexpr Blocking RSD       {"RSD",    5000,  Test::NoEr,       Slice::None};
constexpr Blocking JAA       {"JAA,",   10000, Test::NoEr,       Slice::None};
constexpr Blocking JWA       {"JWA,",   10000, Test::NoEr,       Slice::None};
constexpr Blocking SWD       {"SWD,",   5000,  Test::Ok00,       Slice::None};
constexpr Blocking CMR11     {"CMR,11", 5000,  Test::Ok00,       Slice::From5};
constexpr Blocking CMR13     {"CMR,13", 10000, Test::Ok00,       Slice::From5};
constexpr Blocking CMR       {"CMR,",   5000,  Test::Ok00,       Slice::From5};
constexpr Blocking CMW       {"CMW,",   8000,  Test::Ok00,       Slice::None};
constexpr Blocking CMWOrEr10 {"CMW,",   8000,  Test::Ok00OrEr10, Slice::None};
constexpr Blocking RGM       {"RGM",    5000,  Test::Ok00OrEr84, Slice::From5};
constexpr Blocking RGU       {"RGU ",   5000,  Test::Ok00,       Slice::None};
constexpr Blocking RAW       {"RAW",    5000,  Test::Ok00,       Slice::None};
constexpr Blocking FCS       {"FCS",    5000,  Test::Ok00,       Slice::None};
// clang-format on

bool passes(Test test, const QString &reply)
{
    switch (test) {
    case Test::Ok00:
        return isOk00(reply);
    case Test::NoEr:
        return !hasError(reply);
    case Test::Ok00OrEr10:
        return isOk00(reply) || reply.contains(QLatin1String("ER10"));
    case Test::Ok00OrEr84:
        return isOk00(reply) || reply.contains(QLatin1String("ER84"));
    case Test::Any:
        break;
    }
    return true;
}

QString slice(const QString &reply, Slice how)
{
    switch (how) {
    case Slice::LastComma:
        return afterLastComma(reply);
    case Slice::FirstComma:
        return afterFirstComma(reply);
    case Slice::From5:
        return dataFrom5(reply);
    case Slice::None:
        break;
    }
    return QString();
}

// One blocking exchange by its table entry. reply (optional) gets the whole reply whenever one
// arrived, data (optional) the slice only when the reply passes the test.
bool run(ktPublicConfig *page, const Blocking &c, const QString &arg, QString *data, QString *reply = nullptr,
         const QString &txPrefix = QString())
{
    QString text;
    if (!page->exchange(QLatin1String(c.head) + arg + QLatin1Char('\r'), c.timeoutMs, &text, txPrefix))
        return false;
    if (reply)
        *reply = text;
    if (!passes(c.test, text))
        return false;
    if (data)
        *data = slice(text, c.slice);
    return true;
}

} // namespace

// ---- version and type -----------------------------------------------------------------------

bool ktPublicConfig::SendVER(QString *version)
{
    return run(this, VER, {}, version);
}

bool ktPublicConfig::SendVID1(QString *version)
{
    return run(this, VID1, {}, version);
}

bool ktPublicConfig::SendVER1(QString *version)
{
    return run(this, VER1, {}, version);
}

bool ktPublicConfig::SendTYP(QString *type)
{
    return run(this, TYP, {}, type);
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
    return run(this, RPR, {}, data);
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
    return run(this, item == QLatin1String("31") ? STR31 : STR, item, data);
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
    if (!run(this, MDS, mode, nullptr))
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
    if (!run(this, MCH, channel, nullptr))
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
    return run(this, SCS, mode, nullptr);
}

void ktPublicConfig::SendFSCAsync(unsigned int task, const QString &n)
{
    sendAsyncCommand(CodeFSC, task, QStringLiteral("FSC,") + n + QLatin1Char('\r'), 5000);
}

bool ktPublicConfig::SendFSC(const QString &n)
{
    return run(this, FSC, n, nullptr);
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
    return run(this, MSC, n, nullptr);
}

bool ktPublicConfig::SendMVS(const QString &n, QString *reply)
{
    return run(this, MVS, n, nullptr, reply);
}

bool ktPublicConfig::SendVSN(const QString &n)
{
    return run(this, VSN, n + QStringLiteral(",0"), nullptr);
}

bool ktPublicConfig::SendINI()
{
    return run(this, INI, {}, nullptr);
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
    return run(this, MES, {}, nullptr, reply);
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
    const bool ok = run(this, MES1, {}, nullptr, &text, QStringLiteral("Sync:"));
    if (reply)
        *reply = text;
    // The command's own round trip, without a resynchronisation that may have preceded it.
    if (elapsedMs)
        *elapsedMs = ok || !text.isEmpty() ? m_reader->lastRoundTripMs() : roundTrip.elapsed();
    return ok;
}

void ktPublicConfig::SendJADAsync(unsigned int task)
{
    sendAsyncCommand(CodeJAD, task, QStringLiteral("JAD\r"), 10000);
}

bool ktPublicConfig::SendJAD(QString *reply)
{
    return run(this, JAD, {}, nullptr, reply);
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
    return run(this, RSD, {}, nullptr, reply);
}

bool ktPublicConfig::SendJAA(const QString &a, const QString &b, QString *reply)
{
    return run(this, JAA, a + QLatin1Char(',') + b, nullptr, reply);
}

bool ktPublicConfig::SendJWA(const QString &a, const QString &b, QString *reply)
{
    return run(this, JWA, a + QLatin1Char(',') + b, nullptr, reply);
}

bool ktPublicConfig::SendSWD(const QString &n)
{
    return run(this, SWD, n, nullptr);
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
    return run(this, CMR11, {}, data);
}

bool ktPublicConfig::SendCMR13(QString *table)
{
    return run(this, CMR13, {}, table);
}

bool ktPublicConfig::SendCMR(const QString &n, QString *data)
{
    return run(this, CMR, n, data);
}

bool ktPublicConfig::SendCMW(const QString &a, const QString &b, bool acceptEr10)
{
    return run(this, acceptEr10 ? CMWOrEr10 : CMW, a + QLatin1Char(',') + b, nullptr);
}

bool ktPublicConfig::SendRGM(QString *data, QString *reply)
{
    return run(this, RGM, {}, data, reply);
}

bool ktPublicConfig::SendRGU(const QString &text)
{
    return run(this, RGU, text, nullptr);
}

bool ktPublicConfig::SendRAW()
{
    return run(this, RAW, {}, nullptr);
}

bool ktPublicConfig::SendFCS(const QString &n)
{
    return run(this, FCS, n.isEmpty() ? QString() : QLatin1Char(',') + n, nullptr);
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

// ---- hosting as a tab page ------------------------------------------------------------------

void ktPublicConfig::done(int result)
{
    if (m_hostedAsTab)
        return; // a tab page stays shown; closing belongs to the window that hosts it
    QDialog::done(result);
}

void ktPublicConfig::keyPressEvent(QKeyEvent *event)
{
    if (m_hostedAsTab && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore(); // passed on to the main window, which has no use for it
        return;
    }
    QDialog::keyPressEvent(event);
}
