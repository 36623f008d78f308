#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Every layout of the probe's replies, read in one place (docs/protocol.md describes them).
//
// A reader checks the whole layout and every value it takes: a value is a decimal number as
// the probe writes it (optional sign, digits with an optional point, optional exponent; finite;
// no blanks, no "nan" or "inf"). Anything else makes the reply a format error: the reader
// returns false and leaves its output alone, so nothing of a bad reply reaches a table, a file
// or a plot. The positional layouts are the one exception for blanks: their fixed-width fields
// may be padded with leading blanks.
//
// Values keep the text they were read from, because pages show X, Y, Z, x, y and Lv as
// received.
namespace ReplyReader {

// The reply as text at its full length, one character per byte (Latin-1). A NUL byte is a
// character like any other: it neither ends the text nor hides what follows it.
QString text(const QByteArray &reply);

struct Number
{
    double value = 0.0;
    QString text; // as received; "0." + digits for a field in 1/10000 or without its "0"
};

// A decimal number by the rule above.
bool readNumber(const QString &field, Number *out);

struct XyLv
{
    Number x, y, lv;
};

struct Xyz
{
    Number X, Y, Z;
};

// ---- measurement ("MES", "MES,1", "XYZ") ---------------------------------------------------

// "MES" in display modes 0 and 1, by position: x at 8-11 and y at 13-16 as four-digit integers
// in 1/10000, Lv the 5 characters before the last one (a leading "." reads "0." and the next
// 3 characters).
bool readPositional(const QString &reply, XyLv *out);
// "MES,1" (and "MES" in display mode 6): a 10-character head ending in "," and then exactly
// five ","-separated numbers (x, y, Lv, u', v'; in mode 6 FMA, x, y, Lv, frequency).
bool readFiveFields(const QString &reply, QVector<Number> *out);
// x, y and Lv: the first three of the five fields; x and y must lie in [0, 1].
bool readSync(const QString &reply, XyLv *out);
// "MES" in display modes 0 and 1, by fields: after the 8-character head exactly three fields
// separated by sep ("OK00,P1,3127;3290;200.00"). An x or y without "." is read as "0." + field
// ("3127" is 0.3127), an Lv that starts with "." as "0" + field; x and y must lie in [0, 1]
// (an X, Y, Z reply of the same shape is not read as x, y, Lv).
bool readPlain(const QString &reply, XyLv *out, QChar sep = QLatin1Char(';'));
// "XYZ" by position: X at 8-16, Y at 18-26, Z at 28-36 (9 characters each).
bool readTristimulus(const QString &reply, Xyz *out);
// Display mode 7 by fields: after the 8-character head exactly three numbers separated by ";"
// or ",".
bool readXyzFields(const QString &reply, Xyz *out);
// Display mode 6: the flicker percentage, field 0 of the five fields; a reply with a single
// field after the status ("OK00,12.34") carries it there.
bool readFma(const QString &reply, Number *out);

// What the base reply handler takes from a measurement reply. The "XYZ" command is read by
// position (or by fields); any other measurement by position, or by the five-field layout, or
// as the display-mode-7 reply. Values the layout does not carry are derived: X = x/y*Lv,
// Z = (1-x-y)/y*Lv, x = X/(X+Y+Z), y = Y/(X+Y+Z), Lv = Y; NaN where they cannot be computed
// (y = 0, a black tristimulus reading, a quotient or sum beyond the range of a double).
struct Reading
{
    double x = 0.0, y = 0.0, lv = 0.0, X = 0.0, Z = 0.0;
    bool tristimulus = false; // read from an X, Y, Z layout (no colour temperature then)
};
bool readMeasurement(bool tristimulusCommand, const QString &reply, Reading *out);

// ---- flicker ("JAD") -----------------------------------------------------------------------

struct Jeita
{
    Number value;          // JEITA flicker in dB
    QVector<Number> perHz; // 6 Hz, 7 Hz, ... in order; at most 60 (up to 65 Hz)
};
// "OK00,-25.65,v6;v7;...;v65": split at ","; field 1 the value, field 2 (optional) the list
// separated by ";" (one trailing ";" allowed), 1 to 60 values. No further field.
bool readJeita(const QString &reply, Jeita *out);

// ---- sampling and spectrum ("JAA", "JWA", "RSD") ------------------------------------------

// "OK00,JAA:v1,v2,...,vN,": the values after "JAA:", one trailing "," allowed.
bool readSamples(const QString &reply, QVector<double> *out);
// "OK00,P1,X1,Y1,Z1;X2,Y2,Z2;...": from character 8, records separated by ";", each exactly
// X, Y, Z separated by ","; one trailing separator allowed.
bool readChannelSamples(const QString &reply, QVector<double> *X, QVector<double> *Y, QVector<double> *Z);
// "OK00,v380,v381,...,v780": from character 5, 1 to 401 values (380 nm to 780 nm in 1 nm
// steps); one trailing "," allowed.
bool readSpectrum(const QString &reply, QVector<double> *out);

// ---- memory channels ("CMR,13") -----------------------------------------------------------

struct ChannelRecord
{
    int channel = -1;
    double matrix[9] = {};
    QString name, date;
    // White reference; a value containing "nan" (an empty value) reads 0. "inf" is kept as
    // infinity: the channel overview shows such a white point as empty cells.
    double x = 0.0, y = 0.0, lv = 0.0;
};
// Needs "OK00"; the text from character 5, one trailing "\n" removed, split at "\n" into at
// least 100 lines; each line exactly 7 ";"-fields with labels of 3, 7, 5, 5, 2, 2, 3
// characters before their values: channel (0-99), nine ","-separated matrix numbers, name,
// date, x, y, Lv.
bool readChannelTable(const QString &reply, QVector<ChannelRecord> *out);

} // namespace ReplyReader
