#include "ScriptParser.h"

#include "host/services/SendKeys.h"
#include "host/value/RuntimeError.h"

#include <QHash>
#include <QRegularExpression>

namespace kvform {

namespace {

const QRegularExpression& pathPattern()
{
    // txtNome, lblDia(15), txtNascimento.cmdCalendario
    static const QRegularExpression re(
        QStringLiteral("^[A-Za-z_]\\w*(\\(\\d+\\))?(\\.[A-Za-z_]\\w*(\\(\\d+\\))?)*$"));
    return re;
}

class LineReader {
public:
    LineReader(const QString& file, int line) : m_file(file), m_line(line) {}

    [[noreturn]] void fail(const QString& problem) const
    {
        throw ScriptError(QStringLiteral("%1:%2: %3").arg(m_file).arg(m_line).arg(problem));
    }

    // A double-quoted text with \" \\ \n \t escapes, and nothing after it.
    QString quoted(const QString& text, const QString& what) const
    {
        const QString t = text.trimmed();
        if (!t.startsWith(QLatin1Char('"')))
            fail(QStringLiteral("expected %1 in double quotes").arg(what));
        QString out;
        qsizetype i = 1;
        for (; i < t.size(); ++i) {
            const QChar c = t[i];
            if (c == QLatin1Char('"')) break;
            if (c == QLatin1Char('\\') && i + 1 < t.size()) {
                const QChar n = t[++i];
                out += n == QLatin1Char('n')   ? QChar(u'\n')
                       : n == QLatin1Char('t') ? QChar(u'\t')
                                               : n;
                continue;
            }
            out += c;
        }
        if (i >= t.size()) fail(QStringLiteral("%1: the closing quote is missing").arg(what));
        if (!t.mid(i + 1).trimmed().isEmpty())
            fail(QStringLiteral("unexpected text after %1: %2").arg(what, t.mid(i + 1).trimmed()));
        return out;
    }
    // A quoted text, or the bare rest of the line.
    QString word(const QString& text, const QString& what) const
    {
        const QString t = text.trimmed();
        return t.startsWith(QLatin1Char('"')) ? quoted(t, what) : t;
    }
    QString path(const QString& text, bool withProperty) const
    {
        const QString t = text.trimmed();
        if (t.isEmpty()) fail(QStringLiteral("a control name is missing"));
        if (!pathPattern().match(t).hasMatch())
            fail(QStringLiteral("\"%1\" is not a control name (NAME, NAME(INDEX) or NAME.CHILD)")
                     .arg(t));
        if (withProperty && !t.contains(QLatin1Char('.')))
            fail(QStringLiteral("\"%1\" names no property (NAME.Property)").arg(t));
        return t;
    }

private:
    QString m_file;
    int m_line;
};

} // namespace

QList<ScriptStep> parseScript(const QString& text, const QString& fileName)
{
    static const QHash<QString, ScriptStep::Command> commands{
        {QStringLiteral("focus"), ScriptStep::Focus},
        {QStringLiteral("type"), ScriptStep::Type},
        {QStringLiteral("keys"), ScriptStep::Keys},
        {QStringLiteral("click"), ScriptStep::Click},
        {QStringLiteral("dblclick"), ScriptStep::DblClick},
        {QStringLiteral("press"), ScriptStep::Press},
        {QStringLiteral("release"), ScriptStep::Release},
        {QStringLiteral("move"), ScriptStep::Move},
        {QStringLiteral("call"), ScriptStep::Call},
        {QStringLiteral("wait"), ScriptStep::Wait},
        {QStringLiteral("wait-modal"), ScriptStep::WaitModal},
        {QStringLiteral("answer"), ScriptStep::Answer},
        {QStringLiteral("screenshot"), ScriptStep::Screenshot},
        {QStringLiteral("print"), ScriptStep::Print},
        {QStringLiteral("expect"), ScriptStep::Expect},
        {QStringLiteral("set"), ScriptStep::Set},
    };
    QList<ScriptStep> steps;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const LineReader r(fileName, int(n + 1));
        qsizetype space = 0;
        while (space < line.size() && !line[space].isSpace())
            ++space;
        const QString word = line.left(space);
        const QString rest = line.mid(space + 1).trimmed();
        if (!commands.contains(word.toLower()))
            r.fail(QStringLiteral("unknown command \"%1\"").arg(word));
        ScriptStep step;
        step.command = commands.value(word.toLower());
        step.line = int(n + 1);
        switch (step.command) {
        case ScriptStep::Focus:
        case ScriptStep::Click:
        case ScriptStep::DblClick:
        case ScriptStep::Press:
        case ScriptStep::Release:
            step.target = r.path(rest, false);
            break;
        case ScriptStep::Move: {
            // move NAME (the control's middle) or move X Y (a screen point, pixels)
            static const QRegularExpression point(QStringLiteral("^(-?\\d+)\\s+(-?\\d+)$"));
            const QRegularExpressionMatch m = point.match(rest);
            if (m.hasMatch())
                step.point = QPoint(m.captured(1).toInt(), m.captured(2).toInt());
            else
                step.target = r.path(rest, false);
            break;
        }
        case ScriptStep::Wait: {
            bool ok = false;
            step.number = rest.toInt(&ok);
            if (!ok || step.number < 0 || step.number > 10000)
                r.fail(QStringLiteral("wait takes milliseconds from 0 to 10000"));
            break;
        }
        case ScriptStep::Type:
            step.argument = r.quoted(rest, QStringLiteral("the text to type"));
            break;
        case ScriptStep::Keys:
            step.argument = r.word(rest, QStringLiteral("the keys"));
            if (step.argument.isEmpty()) r.fail(QStringLiteral("the keys are missing"));
            try {
                host::parseSendKeys(step.argument);
            } catch (const host::RuntimeError&) {
                r.fail(QStringLiteral("\"%1\" is not a valid key string").arg(step.argument));
            }
            break;
        case ScriptStep::WaitModal:
            step.argument = r.word(rest, QStringLiteral("the caption"));
            break;
        case ScriptStep::Answer: {
            bool ok = false;
            step.number = rest.toInt(&ok);
            if (!ok || step.number < 1 || step.number > 7)
                r.fail(QStringLiteral("answer takes a button number from 1 (OK) to 7 (No)"));
            break;
        }
        case ScriptStep::Screenshot:
            step.argument = r.word(rest, QStringLiteral("the file name"));
            if (step.argument.isEmpty()) r.fail(QStringLiteral("the file name is missing"));
            break;
        case ScriptStep::Print:
        case ScriptStep::Call:
            step.target = r.path(rest, true);
            break;
        case ScriptStep::Expect:
        case ScriptStep::Set: {
            const qsizetype quote = rest.indexOf(QLatin1Char('"'));
            if (quote < 0) r.fail(QStringLiteral("expected a value in double quotes"));
            step.target = r.path(rest.left(quote), true);
            step.argument = r.quoted(rest.mid(quote), step.command == ScriptStep::Set
                                                          ? QStringLiteral("the new value")
                                                          : QStringLiteral("the expected value"));
            break;
        }
        }
        steps.append(step);
    }
    return steps;
}

} // namespace kvform
