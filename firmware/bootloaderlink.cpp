#include "bootloaderlink.h"

#include "ktplatform.h"

#include <QElapsedTimer>
#include <QSerialPort>

namespace BootLoaderLink {

namespace {

bool replyComplete(const BootLoaderSession::Exchange &e, const QByteArray &received)
{
    return e.search ? received.contains(e.expect) : received.size() >= e.expect.size();
}

} // namespace

Result run(BootLoaderSession &session, const QString &devicePath, const std::function<void(int)> &progress)
{
    Result result;
    if (session.finished())
        return result;
    QSerialPort port;
    port.setPortName(devicePath);
    port.setBaudRate(session.current().baud, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite)) {
        result.portError = port.errorString();
        session.complete(QByteArray()); // nothing answered the synchronisation
        return result;
    }
    result.portOpened = true;
    // Whatever the probe said before it entered its boot loader is not part of the exchange.
    port.clear(QSerialPort::Input);
    int lastProgress = session.progress();
    bool gone = false;
    while (!session.finished()) {
        const BootLoaderSession::Exchange e = session.current();
        if (port.baudRate() != e.baud)
            port.setBaudRate(e.baud, QSerialPort::AllDirections);
        QByteArray received;
        if (!gone) {
            if (!e.send.isEmpty()) {
                port.write(e.send);
                QElapsedTimer writing;
                writing.start();
                while (port.bytesToWrite() > 0 && writing.elapsed() < e.timeoutMs)
                    port.waitForBytesWritten(int(e.timeoutMs - writing.elapsed()));
            }
            QElapsedTimer timer;
            timer.start();
            while (!replyComplete(e, received) && timer.elapsed() < e.timeoutMs) {
                if (port.bytesAvailable() == 0 &&
                    !port.waitForReadyRead(int(e.timeoutMs - timer.elapsed()))) {
                    if (port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError &&
                        KtPlatform::serialDeviceGone(&port, port.error())) {
                        gone = true;
                        result.portError = port.errorString();
                        break;
                    }
                    port.clearError();
                }
                received += port.readAll();
            }
        }
        session.complete(received);
        if (progress && session.progress() != lastProgress) {
            lastProgress = session.progress();
            progress(lastProgress);
        }
    }
    port.close();
    return result;
}

} // namespace BootLoaderLink
