#include "host/services/Services.h"

#include "host/services/Guard.h"
#include "host/services/SaveFile.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cstdio>

namespace host {

namespace {

// The runtime's button codes (vbOK = 1 ... vbNo = 7).
enum Button { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The buttons of a message box style, in the order shown; empty for an unknown set.
QList<Button> buttonsOf(int style)
{
    switch (style & 0x7) {
    case 0:
        return {OK};
    case 1:
        return {OK, Cancel};
    case 2:
        return {Abort, Retry, Ignore};
    case 3:
        return {Yes, No, Cancel};
    case 4:
        return {Yes, No};
    case 5:
        return {Retry, Cancel};
    default:
        return {OK};
    }
}

Button defaultButtonOf(int style)
{
    const QList<Button> buttons = buttonsOf(style);
    const qsizetype which = (style >> 8) & 0x3; // 0, 256, 512, 768
    return which < buttons.size() ? buttons[which] : buttons.first();
}

QMessageBox::StandardButton standardButton(Button button)
{
    switch (button) {
    case OK:
        return QMessageBox::Ok;
    case Cancel:
        return QMessageBox::Cancel;
    case Abort:
        return QMessageBox::Abort;
    case Retry:
        return QMessageBox::Retry;
    case Ignore:
        return QMessageBox::Ignore;
    case Yes:
        return QMessageBox::Yes;
    case No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int defaultMsgBox(const QString& prompt, int style, const QString& title)
{
    const Button fallback = defaultButtonOf(style);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No widgets to show (a command-line tool, a fuzzer): say it and take the default.
        std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                     prompt.toLocal8Bit().constData());
        return fallback;
    }

    QMessageBox box(iconOf(style), title, prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    QHash<QAbstractButton*, Button> codes;
    QAbstractButton* escape = nullptr;
    const QList<Button> buttons = buttonsOf(style);
    for (Button b : buttons) {
        QPushButton* added = box.addButton(standardButton(b));
        codes.insert(added, b);
        if (b == fallback) box.setDefaultButton(added);
        // Escape answers Cancel where there is one, and OK when it is the only button.
        if (b == Cancel || (b == OK && buttons.size() == 1)) escape = added;
    }
    if (escape) box.setEscapeButton(escape);
    box.exec();
    return codes.value(box.clickedButton(), escape ? codes.value(escape) : fallback);
}

QDate defaultToday()
{
    return QDate::currentDate();
}

QPoint defaultCursorPos()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
    return QCursor::pos();
}

void defaultReportError(const RuntimeError& error)
{
    MsgBox(QStringLiteral("Run-time error '%1':\n\n%2")
               .arg(QString::number(error.number()), error.description()),
           16);
}

QSize defaultScreenSize()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

int paintDepth = 0;

Services defaults()
{
    return {defaultMsgBox,      defaultToday,      defaultCursorPos,
            defaultReportError, defaultScreenSize, systemSaveSteps()};
}

} // namespace

Services& services()
{
    static Services instance = defaults();
    return instance;
}

ServicesScope::ServicesScope() : m_saved(services()) {}

ServicesScope::~ServicesScope()
{
    services() = m_saved;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    QString shown = title;
    if (shown.isEmpty()) shown = QCoreApplication::applicationName();
    if (shown.isEmpty()) shown = QStringLiteral("Kv_CTRL");
    const auto show = [prompt, style, shown] {
        // A test that cleared the member gets the real box rather than a bad_function_call.
        const auto& box = services().msgBox;
        return box ? box(prompt, style, shown) : defaultMsgBox(prompt, style, shown);
    };
    QCoreApplication* app = QCoreApplication::instance();
    if (paintDepth == 0 || !app) return show();
    QMetaObject::invokeMethod(
        app, [show] { guard(show); }, Qt::QueuedConnection);
    return OK;
}

PaintScope::PaintScope()
{
    ++paintDepth;
}

PaintScope::~PaintScope()
{
    --paintDepth;
}

} // namespace host
