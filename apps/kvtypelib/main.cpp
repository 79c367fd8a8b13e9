// kvtypelib: shows Kv_CTRL's type library as interface-definition text, and enters the module
// into (or removes it from) the component registry.

#include "host/automation/IdlPrinter.h"
#include "host/automation/Registry.h"
#include "host/automation/Server.h"
#include "library/module/EntryPoints.h"
#include "library/module/TypeLibrary.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvtypelib"));
    QCoreApplication::setApplicationVersion(Kv_CTRL::typeLibrary().version.toString());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the Kv_CTRL type library; registers or unregisters the module."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption registerOption(QStringLiteral("register"),
                                            QStringLiteral("Enter the module into the registry."));
    const QCommandLineOption unregisterOption(
        QStringLiteral("unregister"), QStringLiteral("Remove the module's registry entries."));
    const QCommandLineOption registryOption(
        QStringLiteral("registry"),
        QStringLiteral("The registry file (default %1).").arg(host::Registry::defaultPath()),
        QStringLiteral("file"));
    const QCommandLineOption imagesOption(
        QStringLiteral("toolbox-images"),
        QStringLiteral("Write each class's toolbox image as <class>.png into the folder."),
        QStringLiteral("folder"));
    parser.addOptions({registerOption, unregisterOption, registryOption, imagesOption});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (parser.isSet(registryOption)) host::Registry::setPath(parser.value(registryOption));

    if (parser.isSet(registerOption) || parser.isSet(unregisterOption)) {
        const bool registering = parser.isSet(registerOption);
        const host::HRESULT hr = registering ? DllRegisterServer() : DllUnregisterServer();
        if (host::failed(hr)) {
            err << (registering ? "kvtypelib: registration failed: "
                                : "kvtypelib: unregistration failed: ")
                << host::hresultText(hr) << "\n"
                << host::lastServerError() << "\n";
            return 1;
        }
        out << (registering ? "registered " : "unregistered ") << Kv_CTRL::modulePath()
            << (registering ? " in " : " from ") << host::Registry::path() << "\n";
        return 0;
    }

    if (parser.isSet(imagesOption)) {
        const QDir folder(parser.value(imagesOption));
        if (!folder.exists() && !QDir().mkpath(folder.path())) {
            err << "kvtypelib: cannot create " << folder.path() << "\n";
            return 1;
        }
        for (const host::ClassDescription& cls : Kv_CTRL::typeLibrary().classes) {
            const QString file = folder.filePath(cls.name + QStringLiteral(".png"));
            if (!cls.toolboxImage || !cls.toolboxImage().save(file)) {
                err << "kvtypelib: cannot write " << file << "\n";
                return 1;
            }
            out << file << "\n";
        }
        return 0;
    }

    out << host::printIdl(Kv_CTRL::typeLibrary());
    return 0;
}
