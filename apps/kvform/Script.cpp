#include "Script.h"

#include "Snapshot.h"

#include "host/services/SendKeys.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/LateBinding.h"
#include "host/widgets/UserControl.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace kvform {

namespace {

// Characters SendKeys reads as commands, typed literally.
QString literalKeys(const QString& text)
{
    QString keys;
    for (const QChar c : text) {
        if (QStringLiteral("+^%~(){}").contains(c))
            keys += QLatin1Char('{') + c + QLatin1Char('}');
        else if (c == QLatin1Char('\n'))
            keys += QStringLiteral("{ENTER}");
        else if (c == QLatin1Char('\t'))
            keys += QStringLiteral("{TAB}");
        else
            keys += c;
    }
    return keys;
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    return text;
}

void sendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButtons held)
{
    static quint64 timestamp = 0;
    timestamp += 1000; // far apart: Qt must not pair the clicks itself
    const QPoint pos = widget->rect().center();
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier,
                      QPointingDevice::primaryPointingDevice());
    event.setTimestamp(timestamp);
    qApp->notify(widget, &event);
}

} // namespace

ScriptRunner::ScriptRunner(QList<ScriptStep> steps, QString fileName, QWidget* mainWindow,
                           Output out, QObject* parent)
    : QObject(parent), m_steps(std::move(steps)), m_file(std::move(fileName)), m_main(mainWindow),
      m_out(std::move(out))
{}

void ScriptRunner::start()
{
    // A script must end: a watchdog that fires in whatever loop is running.
    QTimer::singleShot(ScriptTimeoutMs, this, [this] {
        if (!m_finished)
            finish(QStringLiteral("%1: still running after %2 s")
                       .arg(m_file)
                       .arg(ScriptTimeoutMs / 1000));
    });
    schedule();
}

int ScriptRunner::messageBox(const QString& prompt, int /*style*/, const QString& title)
{
    m_out(QStringLiteral("msgbox: %1: %2").arg(oneLine(title), oneLine(prompt)));
    return m_answers.isEmpty() ? 1 : m_answers.dequeue();
}

void ScriptRunner::schedule(int delayMs)
{
    QTimer::singleShot(delayMs, this, &ScriptRunner::runStep);
}

void ScriptRunner::runStep()
{
    if (m_finished) return;
    // A step may start only when the previous one has returned, or from inside an event loop the
    // previous one opened (a modal form), never from a plain processEvents of a running step.
    const int level = QThread::currentThread()->loopLevel();
    if (!m_runningLevels.isEmpty() && level <= m_runningLevels.last()) {
        schedule(5);
        return;
    }
    if (m_next >= m_steps.size()) {
        finish({});
        return;
    }
    const ScriptStep step = m_steps[m_next];
    try {
        if (step.command == ScriptStep::WaitModal) {
            if (!m_waiting) {
                m_waiting = true;
                m_waitClock.start();
            }
            QWidget* modal = QApplication::activeModalWidget();
            const bool found = modal && modal->isVisible() &&
                               (step.argument.isEmpty() || modal->windowTitle() == step.argument);
            if (!found) {
                if (m_waitClock.elapsed() > ModalTimeoutMs)
                    fail(step, step.argument.isEmpty()
                                   ? QStringLiteral("no modal form appeared within %1 s")
                                         .arg(ModalTimeoutMs / 1000)
                                   : QStringLiteral("no modal form \"%1\" appeared within %2 s")
                                         .arg(step.argument)
                                         .arg(ModalTimeoutMs / 1000));
                schedule(10);
                return;
            }
            m_waiting = false;
            ++m_next;
            schedule();
            return;
        }
        if (step.command == ScriptStep::Wait) {
            ++m_next;
            schedule(step.number);
            return;
        }
        ++m_next;
        schedule(); // first: a modal form this step opens runs the following steps
        m_runningLevels.append(level);
        execute(step);
        m_runningLevels.removeLast();
    } catch (const ScriptError& error) {
        if (!m_runningLevels.isEmpty()) m_runningLevels.removeLast();
        finish(error.message());
    }
}

void ScriptRunner::fail(const ScriptStep& step, const QString& problem) const
{
    throw ScriptError(QStringLiteral("%1:%2: %3").arg(m_file).arg(step.line).arg(problem));
}

QWidget* ScriptRunner::topWindow() const
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible() ? modal : m_main.data();
}

QWidget* ScriptRunner::resolve(const ScriptStep& step, const QString& path) const
{
    const QStringList parts = path.split(QLatin1Char('.'));
    QList<QWidget*> roots{topWindow()};
    if (m_main && !roots.contains(m_main.data())) roots << m_main.data();
    for (QWidget* root : roots) {
        QWidget* w = host::childNamed(root, parts.first());
        for (qsizetype i = 1; w && i < parts.size(); ++i)
            w = host::childNamed(w, parts[i]);
        if (w) return w;
    }
    fail(step, QStringLiteral("no control \"%1\" on the form").arg(path));
}

QWidget* ScriptRunner::focusTarget(QWidget* widget) const
{
    if (widget->focusPolicy() & Qt::TabFocus) return widget;
    for (QWidget* child : widget->findChildren<QWidget*>())
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisible() && child->isEnabled())
            return child;
    return nullptr;
}

QString ScriptRunner::readProperty(const ScriptStep& step, const QString& path) const
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    QWidget* w = resolve(step, path.left(dot));
    try {
        return host::CallByNameGet(w, path.mid(dot + 1)).toString();
    } catch (const host::RuntimeError& error) {
        fail(step, QStringLiteral("cannot read %1: %2").arg(path, error.description()));
    }
}

void ScriptRunner::execute(const ScriptStep& step)
{
    // A user reaches only the modal form while one is open.
    auto reachable = [&](QWidget* w) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && w->window() != modal)
            fail(step, QStringLiteral("%1 is behind the modal form \"%2\"")
                           .arg(step.target, modal->windowTitle()));
        if (!w->isVisible()) fail(step, QStringLiteral("%1 is not visible").arg(step.target));
        if (!w->isEnabled()) fail(step, QStringLiteral("%1 is disabled").arg(step.target));
    };
    try {
        switch (step.command) {
        case ScriptStep::Focus: {
            QWidget* w = resolve(step, step.target);
            reachable(w);
            QWidget* target = focusTarget(w);
            if (!target) fail(step, QStringLiteral("%1 cannot take the focus").arg(step.target));
            target->window()->activateWindow();
            QApplication::setActiveWindow(target->window());
            target->setFocus(Qt::OtherFocusReason);
            QCoreApplication::processEvents();
            break;
        }
        case ScriptStep::Type:
            host::SendKeys(literalKeys(step.argument), true);
            break;
        case ScriptStep::Keys:
            host::SendKeys(step.argument, true);
            break;
        case ScriptStep::Click:
        case ScriptStep::DblClick: {
            QPointer<QWidget> w = resolve(step, step.target);
            reachable(w);
            sendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton);
            if (w) sendMouse(w, QEvent::MouseButtonRelease, Qt::NoButton);
            if (step.command == ScriptStep::DblClick) {
                if (w) sendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton);
                if (w) sendMouse(w, QEvent::MouseButtonRelease, Qt::NoButton);
            }
            break;
        }
        case ScriptStep::Press:
        case ScriptStep::Release: {
            QWidget* w = resolve(step, step.target);
            reachable(w);
            if (step.command == ScriptStep::Press)
                sendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton);
            else
                sendMouse(w, QEvent::MouseButtonRelease, Qt::NoButton);
            break;
        }
        case ScriptStep::Move: {
            // The pointer itself moves (QCursor::setPos): the platform reports the move to the
            // widget under it, and the hover timers read the new position.
            QPoint to = step.point;
            if (!step.target.isEmpty()) {
                QWidget* w = resolve(step, step.target);
                reachable(w);
                to = w->mapToGlobal(w->rect().center());
            }
            QCursor::setPos(to);
            QCoreApplication::processEvents();
            break;
        }
        case ScriptStep::Call: {
            // A method without arguments, as a host calls it (ShowAbout); one that opens a
            // modal form returns when it closes, the steps after it running inside.
            const qsizetype dot = step.target.lastIndexOf(QLatin1Char('.'));
            QWidget* w = resolve(step, step.target.left(dot));
            reachable(w);
            host::CallMethod(w, step.target.mid(dot + 1));
            break;
        }
        case ScriptStep::Wait:
        case ScriptStep::WaitModal:
            break; // handled by the step machine
        case ScriptStep::Answer:
            m_answers.enqueue(step.number);
            break;
        case ScriptStep::Screenshot: {
            QString error;
            if (!saveSnapshot(topWindow(), step.argument, &error)) fail(step, error);
            m_out(QStringLiteral("screenshot: %1").arg(step.argument));
            break;
        }
        case ScriptStep::Print:
            m_out(QStringLiteral("%1 = \"%2\"").arg(step.target, readProperty(step, step.target)));
            break;
        case ScriptStep::Expect: {
            const QString actual = readProperty(step, step.target);
            if (actual != step.argument)
                fail(step, QStringLiteral("expected %1 to be \"%2\", got \"%3\"")
                               .arg(step.target, step.argument, actual));
            break;
        }
        case ScriptStep::Set: {
            // As the program behind the form would: the property set by name, converted from
            // the text as the runtime converts a String.
            const qsizetype dot = step.target.lastIndexOf(QLatin1Char('.'));
            host::CallByNameLet(resolve(step, step.target.left(dot)), step.target.mid(dot + 1),
                                step.argument);
            break;
        }
        }
    } catch (const host::RuntimeError& error) {
        fail(step,
             QStringLiteral("run-time error %1: %2").arg(error.number()).arg(error.description()));
    }
}

void ScriptRunner::finish(const QString& error)
{
    if (m_finished) return;
    m_finished = true;
    m_error = error;
    Q_EMIT done(error.isEmpty() ? 0 : 1);
}

} // namespace kvform
