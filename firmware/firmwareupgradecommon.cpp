#include "firmwareupgradecommon.h"

#include "ktpublicconfig.h"
#include "ktsettings.h"
#include "portholder.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QSerialPort>
#include <QTimer>

namespace FirmwareUpgradeCommon {

QString chooseFile(QWidget *parent, const QString &filter)
{
    const QString folder = KtSettings::readSetting(QLatin1String(KtSettings::Key::FirmwareUpgradePath));
    const QString path = QFileDialog::getOpenFileName(parent, QObject::tr("Open File"), folder, filter);
    if (path.isEmpty())
        return QString();
    QString normalised = path;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    KtSettings::writeSetting(QLatin1String(KtSettings::Key::FirmwareUpgradePath),
                             normalised.left(normalised.lastIndexOf(QLatin1Char('/'))));
    return path;
}

QString readVersion(ktPublicConfig *page)
{
    QString reply;
    const bool received = page->exchange(QStringLiteral("VER\r"), 5000, &reply);
    QString version;
    if (received && reply.contains(QLatin1String("V2")))
        page->SendVID1(&version);
    else
        page->SendVER1(&version);
    return version;
}

bool usbOnly(ktPublicConfig *page)
{
    QString data;
    return page->SendSTR(QStringLiteral("30"), &data) && data.trimmed().toInt() == 1;
}

int linkBaudRate()
{
    QSerialPort *port = PortHolder::instance()->probePort();
    if (port->isOpen() && port->baudRate() > 0)
        return port->baudRate();
    const int stored = KtSettings::readSysConfig().baudRate;
    return stored > 0 ? stored : 115200;
}

bool reopenProbePort(const QString &devicePath, int baud)
{
    QSerialPort *port = PortHolder::instance()->probePort();
    if (port->isOpen())
        port->close();
    port->setPortName(devicePath);
    port->setBaudRate(baud, QSerialPort::AllDirections);
    port->setDataBits(QSerialPort::Data8);
    port->setStopBits(QSerialPort::OneStop);
    port->setParity(QSerialPort::NoParity);
    return port->open(QIODevice::ReadWrite);
}

void waitResponsive(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace FirmwareUpgradeCommon
