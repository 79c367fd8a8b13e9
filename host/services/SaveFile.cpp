#include "host/services/SaveFile.h"

#include "host/services/Services.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace host {

namespace {

QString openStep(QFile& file)
{
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ? QString() : file.errorString();
}

QString writeStep(QFile& file, const QByteArray& bytes)
{
    return file.write(bytes) == bytes.size() ? QString() : file.errorString();
}

// Written bytes sit in QFile's buffer and the system's cache: a full disk often shows only here.
QString flushStep(QFile& file)
{
    if (!file.flush()) return file.errorString();
    if (::fsync(file.handle()) != 0) return qt_error_string(errno);
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

// rename() replaces the file in one step: a reader finds the old file or the new one, never none.
QString renameStep(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return qt_error_string(errno);
    return {};
}

void removeStep(const QString& path)
{
    QFile::remove(path);
}

} // namespace

SaveSteps systemSaveSteps()
{
    return {openStep, writeStep, flushStep, renameStep, removeStep};
}

QString saveFile(const QString& path, const QByteArray& bytes)
{
    // Saving over a link must keep the link and change the file it points to.
    const QFileInfo info(path);
    QString target = path;
    if (info.isSymLink()) target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();

    const SaveSteps& steps = services().saveSteps;
    QFile temporary(QStringLiteral("%1.%2").arg(target).arg(QRandomGenerator::global()->generate(),
                                                            8, 16, QLatin1Char('0')));
    QString reason = steps.open(temporary);
    if (!reason.isEmpty()) return reason;
    if (QFileInfo::exists(target)) temporary.setPermissions(QFileInfo(target).permissions());
    reason = steps.write(temporary, bytes);
    if (reason.isEmpty()) reason = steps.flush(temporary);
    if (reason.isEmpty()) reason = steps.rename(temporary.fileName(), target);
    if (!reason.isEmpty()) {
        temporary.close();
        steps.remove(temporary.fileName());
    }
    return reason;
}

} // namespace host
