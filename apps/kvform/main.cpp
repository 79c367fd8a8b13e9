// kvform: the form runner. Loads a form file (or the embedded demo "Cadastro de Cliente"),
// creates every control by its ProgID through the component registry, shows the form and lets a
// person (or a script) use it.

#include "DemoLogic.h"
#include "EventPrinter.h"
#include "FileLines.h"
#include "FormSave.h"
#include "Module.h"
#include "Script.h"
#include "Snapshot.h"
#include "UiForm.h"

#include "host/automation/IdlPrinter.h"
#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/LateBinding.h"
#include "host/widgets/Timer.h"
#include "host/widgets/UserControl.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
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
// (Form_Unload) for --save, and on Ctrl+S. `beforeUnload` answers whether the window may close.
class RunnerForm : public host::Form {
public:
    std::function<bool()> beforeUnload;

protected:
    void Form_Unload(short& Cancel) override
    {
        if (beforeUnload && !beforeUnload()) Cancel = 1;
    }
};

// What the command line asks for.
struct Options {
    QStringList positional;
    QString screenshot, script, locale, save, registry;
    bool events = false, typelib = false, help = false;
    QString helpText;
};

// Each step answers an exit code to stop with, or nothing to go on.
using Outcome = std::optional<int>;

Outcome parseCommandLine(Options& o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a Kv_CTRL form file; without FILE, the demo form \"Cadastro de "
                       "Cliente\". Exit codes: 0 done, 1 script failed, 2 bad command line, "
                       "3 bad form file or control, 4 control module missing."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The form file (JSON, \"kvform 1\"), or a Qt Designer form (.ui)."),
        QStringLiteral("[FILE]"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral(
            "Render the form to a PNG after layout (after the script, if any) and exit."),
        QStringLiteral("PNG"));
    const QCommandLineOption events(
        QStringLiteral("events"),
        QStringLiteral("Print every event of every control, one a line."));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Play the user actions of a script (see apps/kvform/SCRIPT.md), then exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption locale(QStringLiteral("locale"),
                                    QStringLiteral("Regional settings: pt-BR (default) or en-US."),
                                    QStringLiteral("pt-BR|en-US"));
    const QCommandLineOption save(QStringLiteral("save"),
                                  QStringLiteral("Save the form to FILE at exit."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption typelib(
        QStringLiteral("typelib"),
        QStringLiteral("Print the control module's type library and exit."));
    const QCommandLineOption registry(
        QStringLiteral("registry"),
        QStringLiteral("Use (and register the module in) this registry file instead of a "
                       "registry of this run's own."),
        QStringLiteral("FILE"));
    parser.addOptions({screenshot, events, script, locale, save, typelib, registry});
    if (!parser.parse(QApplication::arguments())) return failWith(UsageError, parser.errorText());
    o.help = parser.isSet(QStringLiteral("help"));
    o.helpText = parser.helpText();
    o.positional = parser.positionalArguments();
    o.screenshot = parser.value(screenshot);
    o.script = parser.isSet(script) ? parser.value(script) : QString();
    o.locale = parser.value(locale);
    o.save = parser.value(save);
    o.registry = parser.value(registry);
    o.events = parser.isSet(events);
    o.typelib = parser.isSet(typelib);
    if (o.help) {
        out(o.helpText);
        return Success;
    }
    if (o.positional.size() > 1)
        return failWith(UsageError, QStringLiteral("one form file at most, got %1")
                                        .arg(o.positional.join(QLatin1Char(' '))));
    return {};
}

Outcome applyLocale(const QString& locale)
{
    if (locale.isEmpty()) return {};
    if (locale.compare(QLatin1String("pt-BR"), Qt::CaseInsensitive) == 0)
        host::Regional::set(host::Regional::ptBR());
    else if (locale.compare(QLatin1String("en-US"), Qt::CaseInsensitive) == 0)
        host::Regional::set(host::Regional::enUS());
    else
        return failWith(UsageError,
                        QStringLiteral("unknown locale \"%1\" (pt-BR or en-US)").arg(locale));
    return {};
}

// The script is read whole before anything runs: a bad line changes nothing.
Outcome readScript(const QString& file, std::optional<QList<kvform::ScriptStep>>& steps)
{
    if (file.isEmpty()) return {};
    QString error;
    const QByteArray text = readAll(file, &error);
    if (!error.isEmpty()) return failWith(ScriptFailed, error);
    try {
        steps = kvform::parseScript(QString::fromUtf8(text), file);
    } catch (const kvform::ScriptError& e) {
        return failWith(ScriptFailed, e.message());
    }
    return {};
}

// The control module, registered in this run's own registry unless one is named; --typelib
// prints its type library and ends the run here.
Outcome prepareModule(const Options& o, const QTemporaryDir& session)
{
    if (!o.registry.isEmpty())
        host::Registry::setPath(o.registry);
    else if (session.isValid())
        host::Registry::setPath(session.filePath(QStringLiteral("registry.json")));
    QString modulePath, error;
    if (!kvform::loadModule(&modulePath, &error)) return failWith(ModuleError, error);
    if (o.typelib) {
        const host::LibraryDescription* library = kvform::moduleDescription();
        if (!library)
            return failWith(
                ModuleError,
                QStringLiteral("%1 does not describe its type library").arg(modulePath));
        std::fputs(host::printIdl(*library).toUtf8().constData(), stdout);
        return Success;
    }
    if (!kvform::registerModule(&error)) return failWith(ModuleError, error);
    return {};
}

// Reads, checks and builds the form; nothing is shown before the whole file proved good.
Outcome loadForm(const QString& formFile, RunnerForm& form)
{
    QString error;
    const QByteArray formBytes = readAll(formFile, &error);
    if (!error.isEmpty()) return failWith(FormError, error);
    host::FormDescription description;
    // A Qt Designer form: its controls are built as a form file's, then given their designed
    // properties.
    std::optional<kvform::UiForm> ui;
    try {
        if (kvform::isUiFile(formFile)) {
            ui = kvform::parseUi(formBytes, formFile);
            description = ui->description;
        } else {
            description = host::FormFile::parse(formBytes, formFile);
        }
    } catch (const host::FormFileError& e) {
        // A .ui's messages carry their line already.
        return failWith(FormError, ui || kvform::isUiFile(formFile)
                                       ? e.message()
                                       : kvform::withLine(e.message(), formFile, formBytes));
    }
    try {
        form.build(description);
    } catch (const host::RuntimeError& e) {
        return failWith(
            FormError,
            kvform::withLine(QStringLiteral("%1 (error %2)").arg(e.description()).arg(e.number()),
                             formFile, formBytes));
    }
    if (!form.widget())
        return failWith(FormError, QStringLiteral("%1: the form did not load").arg(formFile));
    if (ui) {
        try {
            kvform::applyUiSettings(*ui, form, formFile);
        } catch (const host::FormFileError& e) {
            return failWith(FormError, e.message());
        }
    }
    return {};
}

std::unique_ptr<kvform::EventPrinter> watchEvents(RunnerForm& form)
{
    auto events = std::make_unique<kvform::EventPrinter>(&out);
    for (QWidget* control : form.controls())
        events->watch(control);
    // The form's timers; a control's own (a button's hover timer) are its insides.
    for (host::Timer* timer : form.widget()->findChildren<host::Timer*>()) {
        bool inControl = false;
        for (QObject* p = timer->parent(); p && p != form.widget(); p = p->parent())
            inControl = inControl || qobject_cast<host::UserControl*>(p);
        if (!inControl) events->watch(timer);
    }
    return events;
}

// The form's menu "Ajuda": "Sobre o Kv_CTRL..." (F1) opens the library's About dialog the way a
// host reaches it, through ShowAbout on the form's first control that has it.
void installHelpMenu(RunnerForm& form)
{
    QMenu* help = form.menuBar()->addMenu(QStringLiteral("Aj&uda"));
    QAction* about = help->addAction(QStringLiteral("&Sobre o Kv_CTRL\u2026"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    QObject::connect(about, &QAction::triggered, &form, [&form] {
        const QList<QWidget*> controls = form.controls();
        for (QWidget* control : controls)
            if (control->metaObject()->indexOfMethod("ShowAbout()") >= 0) {
                host::guard([&] { host::CallMethod(control, QStringLiteral("ShowAbout")); });
                return;
            }
    });
}

// Everything that is written at the end is written only after a clean run.
int finishRun(RunnerForm& form, QWidget* window, const Options& o)
{
    if (!o.screenshot.isEmpty()) {
        QString why;
        if (!kvform::saveSnapshot(form.widget() ? form.widget() : window, o.screenshot, &why))
            return failWith(FormError, why);
    }
    if (!o.save.isEmpty() && form.isLoaded() && !kvform::saveForm(form, o.save, false))
        return FormError;
    return Success;
}

int runScript(RunnerForm& form, const Options& o, const QList<kvform::ScriptStep>& steps)
{
    QWidget* window = form.widget();
    kvform::ScriptRunner runner(steps, o.script, window, &out);
    host::services().msgBox = [&runner](const QString& prompt, int style, const QString& title) {
        return runner.messageBox(prompt, style, title);
    };
    QObject::connect(&runner, &kvform::ScriptRunner::done, qApp,
                     [](int code) { QCoreApplication::exit(code); });
    runner.start();
    const int exitCode = QApplication::exec();
    if (runner.failed()) return failWith(ScriptFailed, runner.errorMessage());
    if (exitCode != Success) return exitCode;
    return finishRun(form, window, o);
}

int runForScreenshot(RunnerForm& form, const Options& o)
{
    QWidget* window = form.widget();
    // After layout: the first paint has happened once the queued events ran.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(Success); });
    QApplication::exec();
    return finishRun(form, window, o);
}

// Runs until the window is closed; --save writes while the controls still exist.
int runInteractive(RunnerForm& form, const Options& o)
{
    bool saved = true;
    form.beforeUnload = [&] {
        return o.save.isEmpty() || kvform::saveBeforeClosing(form, o.save, &saved);
    };
    QObject::connect(&form, &host::Form::unloaded, qApp, [] { QCoreApplication::quit(); });
    const int exitCode = QApplication::exec();
    return saved ? exitCode : int(FormError);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvform"));
    QApplication::setQuitOnLastWindowClosed(false); // the form's unloading ends the run

    Options options;
    std::optional<QList<kvform::ScriptStep>> steps;
    QTemporaryDir session;
    if (Outcome o = parseCommandLine(options)) return *o;
    if (Outcome o = applyLocale(options.locale)) return *o;
    if (Outcome o = readScript(options.script, steps)) return *o;
    if (Outcome o = prepareModule(options, session)) return *o;

    RunnerForm form;
    const QString formFile =
        options.positional.isEmpty() ? DemoResource : options.positional.first();
    if (Outcome o = loadForm(formFile, form)) return *o;
    if (options.positional.isEmpty()) kvform::attachDemoLogic(form);
    std::unique_ptr<kvform::EventPrinter> events;
    if (options.events) events = watchEvents(form);
    // The demo has no form file and a Designer form is none: they save to --save's file.
    kvform::installSaveShortcut(
        form, options.positional.isEmpty() || kvform::isUiFile(formFile) ? options.save : formFile,
        &out);
    installHelpMenu(form);

    form.show();
    if (steps) return runScript(form, options, *steps);
    if (!options.screenshot.isEmpty()) return runForScreenshot(form, options);
    return runInteractive(form, options);
}
