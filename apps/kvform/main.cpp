// kvform: the form runner. Loads a form file (or the embedded demo "Cadastro de Cliente"),
// creates every control by its ProgID through the component registry, shows the form and lets a
// person (or a script) use it.

#include "EventPrinter.h"
#include "FileLines.h"
#include "Module.h"
#include "Script.h"
#include "Snapshot.h"

#include "host/automation/IdlPrinter.h"
#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/regional/Regional.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Timer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QKeySequence>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Exit codes (also in SCRIPT.md and the README).
enum ExitCode {
    Success = 0,
    ScriptFailed = 1, // a script that cannot be read, a failed step or expectation
    UsageError = 2,   // bad command line
    FormError = 3,    // a form file that cannot be read, a control that cannot be made, a save
    ModuleError = 4,  // no control module, or it does not register
};

const QString DemoResource = QStringLiteral(":/kvform/demo.kvform");

void printLine(FILE* stream, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void out(const QString& line)
{
    printLine(stdout, line);
}

int failWith(int code, const QString& message)
{
    printLine(stderr, QStringLiteral("kvform: ") + message);
    return code;
}

QByteArray readAll(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    return file.read(host::FormFile::MaxFileBytes + 1);
}

// The form being run. Saving happens while its controls still exist: when the window closes
// (Form_Unload) for --save, and on Ctrl+S.
class RunnerForm : public host::Form {
public:
    std::function<void()> beforeUnload;

protected:
    void Form_Unload(short& /*Cancel*/) override
    {
        if (beforeUnload) beforeUnload();
    }
};

bool saveForm(const host::Form& form, const QString& path)
{
    try {
        host::FormFile::write(form.describe(), path);
        return true;
    } catch (const host::FormFileError& error) {
        failWith(FormError, QStringLiteral("cannot save: %1").arg(error.message()));
    } catch (const host::RuntimeError& error) {
        failWith(FormError, QStringLiteral("cannot save %1: %2").arg(path, error.description()));
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvform"));
    QApplication::setQuitOnLastWindowClosed(false); // the form's unloading ends the run

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a Kv_CTRL form file; without FILE, the demo form \"Cadastro de "
                       "Cliente\". Exit codes: 0 done, 1 script failed, 2 bad command line, "
                       "3 bad form file or control, 4 control module missing."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The form file (JSON, \"kvform 1\")."),
                                 QStringLiteral("[FILE]"));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral(
            "Render the form to a PNG after layout (after the script, if any) and exit."),
        QStringLiteral("PNG"));
    const QCommandLineOption eventsOption(
        QStringLiteral("events"),
        QStringLiteral("Print every event of every control, one a line."));
    const QCommandLineOption scriptOption(
        QStringLiteral("script"),
        QStringLiteral("Play the user actions of a script (see apps/kvform/SCRIPT.md), then exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption localeOption(QStringLiteral("locale"),
                                          QStringLiteral("Regional settings: pt-BR (default) or "
                                                         "en-US."),
                                          QStringLiteral("pt-BR|en-US"));
    const QCommandLineOption saveOption(QStringLiteral("save"),
                                        QStringLiteral("Save the form to FILE at exit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption typelibOption(QStringLiteral("typelib"),
                                           QStringLiteral("Print the control module's type "
                                                          "library and exit."));
    const QCommandLineOption registryOption(
        QStringLiteral("registry"),
        QStringLiteral("Use (and register the module in) this registry file instead of a "
                       "registry of this run's own."),
        QStringLiteral("FILE"));
    parser.addOptions({screenshotOption, eventsOption, scriptOption, localeOption, saveOption,
                       typelibOption, registryOption});
    if (!parser.parse(QApplication::arguments())) return failWith(UsageError, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out(parser.helpText());
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return failWith(
            UsageError,
            QStringLiteral("one form file at most, got %1").arg(positional.join(QLatin1Char(' '))));

    if (parser.isSet(localeOption)) {
        const QString locale = parser.value(localeOption);
        if (locale.compare(QLatin1String("pt-BR"), Qt::CaseInsensitive) == 0)
            host::Regional::set(host::Regional::ptBR());
        else if (locale.compare(QLatin1String("en-US"), Qt::CaseInsensitive) == 0)
            host::Regional::set(host::Regional::enUS());
        else
            return failWith(UsageError,
                            QStringLiteral("unknown locale \"%1\" (pt-BR or en-US)").arg(locale));
    }

    // The script is read whole before anything runs: a bad line changes nothing.
    std::optional<QList<kvform::ScriptStep>> steps;
    const QString scriptFile = parser.value(scriptOption);
    if (parser.isSet(scriptOption)) {
        QString error;
        const QByteArray text = readAll(scriptFile, &error);
        if (!error.isEmpty()) return failWith(ScriptFailed, error);
        try {
            steps = kvform::parseScript(QString::fromUtf8(text), scriptFile);
        } catch (const kvform::ScriptError& e) {
            return failWith(ScriptFailed, e.message());
        }
    }

    // The control module, registered in this run's own registry unless one is named.
    QTemporaryDir session;
    if (parser.isSet(registryOption))
        host::Registry::setPath(parser.value(registryOption));
    else if (session.isValid())
        host::Registry::setPath(session.filePath(QStringLiteral("registry.json")));
    QString modulePath, error;
    if (!kvform::loadModule(&modulePath, &error)) return failWith(ModuleError, error);
    if (parser.isSet(typelibOption)) {
        const host::LibraryDescription* library = kvform::moduleDescription();
        if (!library)
            return failWith(
                ModuleError,
                QStringLiteral("%1 does not describe its type library").arg(modulePath));
        std::fputs(host::printIdl(*library).toUtf8().constData(), stdout);
        return Success;
    }
    if (!kvform::registerModule(&error)) return failWith(ModuleError, error);

    // The form file.
    const QString formFile = positional.isEmpty() ? DemoResource : positional.first();
    const QByteArray formBytes = readAll(formFile, &error);
    if (!error.isEmpty()) return failWith(FormError, error);
    host::FormDescription description;
    try {
        description = host::FormFile::parse(formBytes, formFile);
    } catch (const host::FormFileError& e) {
        return failWith(FormError, kvform::withLine(e.message(), formFile, formBytes));
    }

    RunnerForm form;
    try {
        form.build(description);
    } catch (const host::RuntimeError& e) {
        return failWith(
            FormError,
            kvform::withLine(QStringLiteral("%1 (error %2)").arg(e.description()).arg(e.number()),
                             formFile, formBytes));
    }
    QWidget* window = form.widget();
    if (!window)
        return failWith(FormError, QStringLiteral("%1: the form did not load").arg(formFile));

    std::unique_ptr<kvform::EventPrinter> events;
    if (parser.isSet(eventsOption)) {
        events = std::make_unique<kvform::EventPrinter>(&out);
        for (QWidget* control : form.controls())
            events->watch(control);
        for (host::Timer* timer : window->findChildren<host::Timer*>())
            events->watch(timer);
    }

    // Ctrl+S writes the form back to its file (the demo has none: to --save's file).
    const QString saveTarget = parser.value(saveOption);
    const QString ctrlSTarget = positional.isEmpty() ? saveTarget : positional.first();
    auto* saveShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), window);
    saveShortcut->setContext(Qt::WindowShortcut);
    QObject::connect(saveShortcut, &QShortcut::activated, &form, [&] {
        if (ctrlSTarget.isEmpty()) {
            failWith(Success, QStringLiteral("the demo form has no file: start kvform with "
                                             "--save FILE to save it"));
            return;
        }
        if (saveForm(form, ctrlSTarget)) out(QStringLiteral("saved %1").arg(ctrlSTarget));
    });

    form.show();
    const QString screenshot = parser.value(screenshotOption);
    int exitCode = Success;

    // Everything that is written at the end is written only after a clean run.
    auto finishRun = [&]() -> int {
        if (!screenshot.isEmpty()) {
            QString why;
            if (!kvform::saveSnapshot(form.widget() ? form.widget() : window, screenshot, &why))
                return failWith(FormError, why);
        }
        if (!saveTarget.isEmpty() && form.isLoaded() && !saveForm(form, saveTarget))
            return FormError;
        return Success;
    };

    if (steps) {
        kvform::ScriptRunner runner(*steps, scriptFile, window, &out);
        host::services().msgBox = [&runner](const QString& prompt, int style,
                                            const QString& title) {
            return runner.messageBox(prompt, style, title);
        };
        QObject::connect(&runner, &kvform::ScriptRunner::done, &app,
                         [](int code) { QCoreApplication::exit(code); });
        runner.start();
        exitCode = QApplication::exec();
        if (runner.failed()) return failWith(ScriptFailed, runner.errorMessage());
        if (exitCode != Success) return exitCode;
        return finishRun();
    }

    if (!screenshot.isEmpty()) {
        // After layout: the first paint has happened once the queued events ran.
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(Success); });
        QApplication::exec();
        return finishRun();
    }

    // Interactive: runs until the window is closed; --save writes while the controls exist.
    bool saved = true;
    form.beforeUnload = [&] {
        if (!saveTarget.isEmpty()) saved = saveForm(form, saveTarget);
    };
    QObject::connect(&form, &host::Form::unloaded, &app, [] { QCoreApplication::quit(); });
    exitCode = QApplication::exec();
    return saved ? exitCode : int(FormError);
}
