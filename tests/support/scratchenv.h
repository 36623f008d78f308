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

// The same for a benchmark whose data and port folders may be named by the caller (to keep a
// run's files): each is set to a subfolder of root only when the environment leaves it unset.
inline void useScratchEnvironmentUnlessSet(const QTemporaryDir &root)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KT_DATA_ROOT"))
        qputenv("KT_DATA_ROOT", root.filePath("data").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("KT_VIRTUAL_PORT_DIR"))
        qputenv("KT_VIRTUAL_PORT_DIR", root.filePath("ports").toLocal8Bit());
}
