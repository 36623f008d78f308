#pragma once

#include <QByteArray>
#include <QString>

// Pure helpers for the probe protocol: command codes, status tests, positional reply reading
// and echo lines. No widgets, no port: tests call them directly.
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

// Field slicing.
QString afterLastComma(const QString &reply);  // "VER", "VID,1", "TYP"
QString afterFirstComma(const QString &reply); // "VER,1"
QString dataFrom5(const QString &reply);       // status and its "," dropped (chars from 5 on)

// Reading of a measurement reply by the standard handler: x, y, Lv, X, Z, CCT as text with 6
// significant digits. ok is false when the positional fields are missing or not numbers; the
// strings are then "nan".
struct Reading
{
    QString x, y, lv, X, Z, cct;
    bool ok = false;
};
// "XYZ" layout: X at 8-16, Y at 18-26, Z at 28-36; CCT stays empty.
Reading parseTristimulus(const QString &reply);
// "MES" layout: x at 8-11 and y at 13-16 in 1/10000, Lv in the 5 characters before the last
// one (a leading "." reads as "0" + its first 4 characters); X, Z derived; CCT by McCamy.
// A reply that does not fit is read by its fields when it has the synchronised layout
// ("OK00,P1,0,x,y,Lv,u',v'") or the XYZ display-mode layout ("OK00,P1,X;Y;Z").
Reading parseChromaticity(const QString &reply);
// By command code: CodeXYZ reads the tristimulus layout, any other the chromaticity one.
Reading parseMeasurement(unsigned int commandCode, const QString &reply);
// McCamy's approximation of the correlated colour temperature.
double mccamyCct(double x, double y);
// QString::number(value, 'g', 6).
QString number6(double value);

// Echo lines: " Tx " + count + "--- " + command and " Rx " + count + "--- " + reply (Latin-1).
QString txLine(const QString &command);
QString rxLine(const QByteArray &reply);

} // namespace ProbeReply
