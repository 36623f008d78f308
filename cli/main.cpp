#include "clicommands.h"
#include "clioptions.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Every record carries a local time stamp; without TZ the C library looks at /etc/localtime
    // again for each conversion, several times per reading.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("krn4"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KT_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");

    Krn4Cli::Options options;
    QString error;
    if (!Krn4Cli::parseArguments(QCoreApplication::arguments().mid(1), &options, &error)) {
        err << "krn4: " << error << '\n';
        return Krn4Cli::ExitBadArguments;
    }
    if (options.help) {
        out << Krn4Cli::helpText();
        return Krn4Cli::ExitOk;
    }
    if (options.version) {
        out << "krn4 " << QCoreApplication::applicationVersion() << '\n';
        return Krn4Cli::ExitOk;
    }
    return Krn4Cli::run(options, out, err);
}
