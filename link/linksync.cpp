#include "linksync.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QVariant>

namespace LinkSync {

namespace {
const char UnsyncedProperty[] = "ktLinkUnsynchronised";
// Longest line kept while waiting for the query's answer; a flood without terminator is
// dropped rather than collected.
constexpr int MaxLineBytes = 64 * 1024;
} // namespace

bool isQueryAnswer(const QByteArray &line)
{
    return line.startsWith("OK") && line.contains(",VID,");
}

bool isLineCommand(const QByteArray &data, int terminator)
{
    return terminator == '\r' && data.endsWith('\r');
}

bool skipAsAnswer(const QByteArray &line, const QByteArray &data)
{
    return isQueryAnswer(line) && !data.startsWith("VID");
}

bool isSynchronised(const QSerialPort *port)
{
    return !port || !port->property(UnsyncedProperty).toBool();
}

void setSynchronised(QSerialPort *port, bool synchronised)
{
    if (port)
        port->setProperty(UnsyncedProperty, synchronised ? QVariant() : QVariant(true));
}

bool resync(QSerialPort &port, const std::function<void()> &idle, const std::function<bool()> &stop)
{
    const auto wait = [&](QByteArray *into) {
        if (port.waitForReadyRead(10) || port.bytesAvailable() > 0) {
            const QByteArray bytes = port.readAll();
            if (into)
                into->append(bytes);
            return !bytes.isEmpty();
        }
        if (idle)
            idle();
        return false;
    };
    QElapsedTimer total;
    total.start();
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < QuietMs) {
        if ((stop && stop()) || !port.isOpen() || total.elapsed() > QuietLimitMs)
            return false;
        if (wait(nullptr))
            quiet.restart();
    }
    const QByteArray query(Query);
    if (port.write(query) != query.size() || !port.waitForBytesWritten(1000))
        return false;
    QElapsedTimer answer;
    answer.start();
    QByteArray buffer;
    while (answer.elapsed() < AnswerTimeoutMs) {
        if ((stop && stop()) || !port.isOpen())
            return false;
        if (!wait(&buffer))
            continue;
        int end;
        while ((end = buffer.indexOf('\r')) >= 0) {
            const QByteArray line = buffer.left(end);
            buffer.remove(0, end + 1);
            if (isQueryAnswer(line)) {
                setSynchronised(&port, true);
                return true;
            }
        }
        if (buffer.size() > MaxLineBytes)
            buffer.clear();
    }
    return false;
}

} // namespace LinkSync
