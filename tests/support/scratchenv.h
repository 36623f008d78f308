#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

// For the main() of a benchmark, before its QApplication: no display needed (offscreen unless
// one is named), and the program's files (logs, documents) go to root, a scratch folder, never
// to the user's own.
inline void useScratchEnvironment(const QTemporaryDir &root)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KT_DATA_ROOT", root.path().toLocal8Bit());
    qputenv("KT_DOCUMENTS_DIR", root.path().toLocal8Bit());
}
