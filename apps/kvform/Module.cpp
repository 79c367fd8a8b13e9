#include "Module.h"

#include "host/automation/Server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace kvform {

namespace {

QLibrary& library()
{
    // Never unloaded: controls made from it live until the process ends.
    static QLibrary* module = new QLibrary;
    return *module;
}

} // namespace

QStringList moduleCandidates()
{
    const QString name = QStringLiteral("libKv_CTRL.so");
    const QDir here(QCoreApplication::applicationDirPath());
    QStringList candidates{here.filePath(name),
#ifdef KVFORM_LIBRARY_DIR
                           here.filePath(QStringLiteral(KVFORM_LIBRARY_DIR "/") + name),
#endif
                           here.filePath(QStringLiteral("../lib/") + name),
                           here.filePath(QStringLiteral("../../library/") + name)};
#ifdef KVFORM_MODULE_PATH
    candidates << QStringLiteral(KVFORM_MODULE_PATH);
#endif
    for (QString& c : candidates)
        c = QDir::cleanPath(c);
    candidates.removeDuplicates();
    return candidates;
}

bool loadModule(QString* path, QString* error)
{
    QLibrary& module = library();
    if (module.isLoaded()) {
        *path = module.fileName();
        return true;
    }
    const QStringList candidates = moduleCandidates();
    for (const QString& candidate : candidates) {
        if (!QFileInfo(candidate).isFile()) continue;
        module.setFileName(candidate);
        if (!module.load()) {
            *error = QStringLiteral("cannot load the control module %1: %2")
                         .arg(candidate, module.errorString());
            return false;
        }
        *path = candidate;
        return true;
    }
    *error = QStringLiteral("no control module libKv_CTRL.so found (looked at %1)")
                 .arg(candidates.join(QStringLiteral(", ")));
    return false;
}

bool registerModule(QString* error)
{
    auto registerServer =
        reinterpret_cast<host::DllRegisterServerFunction>(library().resolve("DllRegisterServer"));
    if (!registerServer) {
        *error = QStringLiteral("%1 exports no DllRegisterServer").arg(library().fileName());
        return false;
    }
    const host::HRESULT hr = registerServer();
    if (host::failed(hr)) {
        *error = QStringLiteral("registering %1 failed: %2 %3")
                     .arg(library().fileName(), host::hresultText(hr), host::lastServerError());
        return false;
    }
    return true;
}

const host::LibraryDescription* moduleDescription()
{
    using Function = const host::LibraryDescription* (*)();
    auto describe = reinterpret_cast<Function>(library().resolve("DllGetLibraryDescription"));
    return describe ? describe() : nullptr;
}

} // namespace kvform
