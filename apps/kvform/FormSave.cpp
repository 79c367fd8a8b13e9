#include "FormSave.h"

#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <cstdio>

namespace kvform {

namespace {

// MsgBox styles: buttons, icons, the second button as default.
constexpr int Critical = 16, YesNo = 4, Exclamation = 48, SecondDefault = 256, Yes = 6;

const QString NotSaved = QStringLiteral("O formulário não foi salvo.");

void printError(const QString& message)
{
    const QByteArray bytes = QStringLiteral("kvform: %1\n").arg(message).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// Saves the form; the reason it could not, after printing it, or empty.
QString save(const host::Form& form, const QString& path)
{
    QString why;
    try {
        host::FormFile::write(form.describe(), path);
    } catch (const host::FormFileError& error) {
        why = error.message();
    } catch (const host::RuntimeError& error) {
        why = QStringLiteral("%1: %2").arg(path, error.description());
    }
    if (!why.isEmpty()) printError(QStringLiteral("cannot save: %1").arg(why));
    return why;
}

} // namespace

bool saveForm(const host::Form& form, const QString& path, bool tellUser)
{
    const QString why = save(form, path);
    if (!why.isEmpty() && tellUser) host::MsgBox(NotSaved + QStringLiteral("\n\n") + why, Critical);
    return why.isEmpty();
}

bool saveBeforeClosing(const host::Form& form, const QString& path, bool* saved)
{
    const QString why = save(form, path);
    *saved = why.isEmpty();
    // Closing would lose the user's changes: only when they say so.
    return *saved || host::MsgBox(NotSaved + QStringLiteral("\n\n") + why +
                                      QStringLiteral("\n\nFechar mesmo assim?"),
                                  YesNo | Exclamation | SecondDefault) == Yes;
}

void installSaveShortcut(host::Form& form, const QString& target,
                         std::function<void(const QString& line)> out)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), form.widget());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &form, [&form, target, out] {
        if (target.isEmpty()) {
            printError(QStringLiteral("this form has no form file: start kvform with --save "
                                      "FILE to save it"));
            return;
        }
        if (saveForm(form, target, true)) out(QStringLiteral("saved %1").arg(target));
    });
}

} // namespace kvform
