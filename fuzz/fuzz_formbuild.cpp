// libFuzzer target: a form file read, built into a form with its controls (offscreen), described
// back and saved. A form that was read saves to bytes that read back as the very description
// they were saved from, and those bytes build the same form again; a form that cannot be built
// leaves nothing loaded. The form is unloaded after every build, so nothing piles up from one
// input to the next.

#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "library/module/EntryPoints.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Larger inputs only repeat what smaller ones reach, more slowly.
constexpr size_t MaxInput = 16 * 1024;

QApplication* application;
QTemporaryDir* registryDir;
host::Form* form;

[[noreturn]] void fault(const char* what, const QString& detail)
{
    std::fprintf(stderr, "fuzz_formbuild: %s\n%s\n", what, detail.toUtf8().constData());
    __builtin_trap();
}

// Builds the form and describes it back, then unloads it and lets the event loop's work happen:
// what was posted is delivered and what was disposed is deleted. False when the form was refused.
bool buildAndDescribe(const host::FormDescription& description, host::FormDescription& described,
                      QString& why)
{
    bool built = false;
    try {
        form->build(description);
        described = form->describe();
        built = true;
    } catch (const host::RuntimeError& error) {
        why = error.description();
        if (form->isLoaded()) fault("a form refused stays loaded", why);
    }
    form->unload();
    QCoreApplication::sendPostedEvents();
    // Outside an event loop, deferred deletes go only when asked for by name.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return built;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_formbuild";
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
    // The library is linked: it registers itself in a registry of this run's own.
    registryDir = new QTemporaryDir;
    std::atexit([] { delete registryDir; });
    host::Registry::setPath(registryDir->filePath(QStringLiteral("registry.json")));
    if (DllRegisterServer() != host::S_OK) {
        std::fprintf(stderr, "fuzz_formbuild: the control library does not register\n");
        std::abort();
    }
    // Nobody is there to click a message box away.
    host::services().msgBox = [](const QString&, int, const QString&) { return 1; };
    form = new host::Form;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput) return 0;
    host::FormDescription read;
    try {
        read = host::FormFile::parse(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)),
            QStringLiteral("fuzz.kvform"));
    } catch (const host::FormFileError&) {
        return 0;
    }
    host::FormDescription described;
    QString why;
    if (!buildAndDescribe(read, described, why)) return 0;

    QByteArray bytes;
    try {
        bytes = host::FormFile::serialize(described, QStringLiteral("saved.kvform"));
    } catch (const host::FormFileError& error) {
        fault("a form that was read cannot be saved", error.message());
    }
    const host::FormDescription saved =
        host::FormFile::parse(bytes, QStringLiteral("saved.kvform"));
    if (!(saved == described))
        fault("the saved file reads back otherwise", QString::fromUtf8(bytes));

    host::FormDescription again;
    if (!buildAndDescribe(saved, again, why)) fault("the saved file cannot be built", why);
    if (!(again == described))
        fault("the saved file builds another form", QString::fromUtf8(bytes));
    return 0;
}
