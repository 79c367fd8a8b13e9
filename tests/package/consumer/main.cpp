// Uses the installed library the way an application does: a form, a money field on it, a typed
// amount completed by Enter. Prints what differs and exits non-zero on any difference.

#include "controls/field/txtCampo.h"
#include "host/forms/Form.h"
#include "library/core/Enums.h"

#include <QApplication>
#include <QKeyEvent>
#include <cstdio>

namespace {

int failures = 0;

void expect(const QString& what, const QString& got, const QString& wanted)
{
    if (got == wanted) return;
    std::fprintf(stderr, "consumer: %s: got \"%s\", wanted \"%s\"\n", qPrintable(what),
                 qPrintable(got), qPrintable(wanted));
    ++failures;
}

void key(QWidget* target, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    host::Form form;
    form.load();
    auto* field = form.add<Kv_CTRL::txtCampo>(QStringLiteral("txtValor"));
    field->put_TypeInput(Kv_CTRL::CharType::Money);
    form.show();

    QWidget* box = field->findChild<QWidget*>(QStringLiteral("TextCampo"));
    if (!box) {
        std::fprintf(stderr, "consumer: the field has no text box\n");
        return 1;
    }
    box->setFocus();
    field->put_Text(QString());
    for (const QChar c : QStringLiteral("1234.5"))
        key(box, c.unicode(), QString(c));
    key(box, Qt::Key_Return, QStringLiteral("\r"));

    expect(QStringLiteral("name"), field->objectName(), QStringLiteral("txtValor"));
    expect(QStringLiteral("mask"), field->get_TypeInputMask(), QStringLiteral("#####,##0.00"));
    expect(QStringLiteral("amount after Enter"), field->get_Text(), QStringLiteral("1.234,50"));
    form.unload();
    return failures ? 1 : 0;
}
