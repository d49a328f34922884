#include "app/OptionsLocation.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kFileName = QStringLiteral("ZyPanel.ini");
}

QString OptionsFileName(const QString& exeDir) {
    const QString beside = QDir(exeDir).filePath(kFileName);
    const QFileInfo dirInfo(exeDir);
    const QFileInfo fileInfo(beside);
    if (dirInfo.isDir() && dirInfo.isWritable() && (!fileInfo.exists() || fileInfo.isWritable()))
        return beside;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::home().filePath(QStringLiteral(".config"));
    const QString folder = QDir(config).filePath(QStringLiteral("ZyPanel"));
    QDir().mkpath(folder);
    return QDir(folder).filePath(kFileName);
}
