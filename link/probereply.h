#pragma once

#include <QByteArray>
#include <QString>

#include <limits>

// Pure helpers for the probe protocol: command codes, status tests, slicing and echo lines.
// The reply layouts are read by replyreader.h. No widgets, no port: tests call them directly.
namespace ProbeReply {

// Command codes of the asynchronous requests; they travel with the request and come back with
// its reply or time-out.
enum CommandCode : unsigned int
{
    CodeIDO = 1,
    CodeRPRn = 2,
    CodeIDP = 3,
    CodeSTR = 4, // "STR,0" and any other item
    CodeSTR3 = 7,
    CodeSTR5 = 9,
    CodeMDS = 19, // "MDS,0" and any other mode
    CodeMDS1 = 20,
    CodeMDS6 = 21,
    CodeMDS7 = 22,
    CodeMDS8 = 23,
    CodeMCH = 24,
    CodeSCS = 25,
    CodeFSC = 26,
    CodeSNF = 27,
    CodeARS = 28,
    CodeARS2 = 29,
    CodeXYZ = 31,
    CodeMES = 32, // "MES" and "MES,1"
    CodeGeneric = 33,
    CodeJAD = 34,
    CodeZRC = 35,
    CodeFFD = 37,
    CodeCMR11 = 42,
};

// Task codes: 4 JEITA request of the flicker page, 5 every other page request; 6-8 only from
// the hidden base form.
enum TaskCode : unsigned int
{
    TaskJeita = 4,
    TaskPage = 5,
};

// Command code of the asynchronous "STR," / "MDS," request for an argument.
unsigned int strCommandCode(const QString &item);
unsigned int mdsCommandCode(const QString &mode);

// Status tests ("contains", never positional).
bool isOk00(const QString &reply);
bool hasMeasureOk(const QString &reply);      // any of "OK00" ... "OK07"
bool hasMeasureRefused(const QString &reply); // "ER10", "ER15" or "ER23"
bool hasReportedError(const QString &reply);  // "ER20" or "ER22"
bool hasError(const QString &reply);          // "ER" anywhere
// The code of an "ER20"/"ER22" reply: the first 3 of the last 4 characters, trimmed.
QString errorCode(const QString &reply);
// The two digits of the first "ER" status word ("ER20,P1,100;" gives "20"); empty when the
// reply carries no "ER" followed by two digits.
QString errorStatusDigits(const QString &reply);

// Field slicing.
QString afterLastComma(const QString &reply);  // "VER", "VID,1", "TYP"
QString afterFirstComma(const QString &reply); // "VER,1"
QString dataFrom5(const QString &reply);       // status and its "," dropped (chars from 5 on)

// McCamy's approximation of the correlated colour temperature.
double mccamyCct(double x, double y);
// QString::number(value, 'g', 6).
QString number6(double value);

// Echo lines: " Tx " + count + "--- " + command and " Rx " + count + "--- " + reply (Latin-1,
// at full length even past a NUL byte; the count is that of the bytes). A reply longer than
// maxChars shows its first maxChars characters, "..." and " (count bytes)".
QString txLine(const QString &command);
QString rxLine(const QByteArray &reply, int maxChars = std::numeric_limits<int>::max());

} // namespace ProbeReply
