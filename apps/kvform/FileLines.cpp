#include "FileLines.h"

#include <QRegularExpression>

namespace kvform {

int lineOfControl(const QByteArray& json, int number)
{
    // A small scan of the JSON text: strings skipped, nesting counted. The top object is depth
    // 1; "form" and "controls" are its keys; the controls are the objects at depth 2 of that array.
    int line = 1, depth = 0, seen = 0;
    bool inString = false, escaped = false;
    QByteArray lastKey;
    QByteArray current;
    bool inControls = false;
    int controlsDepth = -1;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '\n') ++line;
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"') {
                inString = false;
                lastKey = current;
            } else
                current += c;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            current.clear();
            break;
        case '{':
            if (number == 0 && depth == 1 && lastKey == "form") return line;
            if (inControls && depth == controlsDepth && ++seen == number) return line;
            ++depth;
            lastKey.clear();
            break;
        case '[':
            if (depth == 1 && lastKey == "controls") {
                inControls = true;
                controlsDepth = depth + 1;
            }
            ++depth;
            break;
        case '}':
        case ']':
            --depth;
            if (inControls && depth < controlsDepth) inControls = false;
            break;
        case ',':
            lastKey.clear();
            break;
        default:
            break;
        }
    }
    return 0;
}

QString withLine(const QString& message, const QString& file, const QByteArray& json)
{
    QString rest = message;
    if (rest.startsWith(file + QStringLiteral(": "))) rest = rest.mid(file.size() + 2);
    int line = 0;
    static const QRegularExpression jsonLine(QStringLiteral("\\(line (\\d+), column"));
    // A problem found by scanning the text before parsing names its line first.
    static const QRegularExpression scanLine(QStringLiteral("^line (\\d+): "));
    static const QRegularExpression control(QStringLiteral("^control (?:\"[^\"]*\" \\()?#(\\d+)"));
    if (const auto m = jsonLine.match(rest); m.hasMatch()) {
        line = m.captured(1).toInt();
    } else if (const auto s = scanLine.match(rest); s.hasMatch()) {
        line = s.captured(1).toInt();
        rest = rest.mid(s.capturedLength());
    } else if (const auto c = control.match(rest); c.hasMatch())
        line = lineOfControl(json, c.captured(1).toInt());
    else if (rest.startsWith(QStringLiteral("form: ")))
        line = lineOfControl(json, 0);
    // The key itself, when the message names one (an object's key or the name of a property
    // pair): its first occurrence after that line.
    static const QRegularExpression key(QStringLiteral("key \"([^\"]+)\""));
    if (const auto k = key.match(rest); k.hasMatch() && line > 0) {
        qsizetype from = 0;
        for (int l = 1; l < line && from >= 0; ++l)
            from = json.indexOf('\n', from) + 1;
        const QRegularExpression keyText(QStringLiteral("\"%1\"\\s*:|\\[\\s*\"%1\"\\s*,")
                                             .arg(QRegularExpression::escape(k.captured(1))));
        const auto at =
            keyText.match(QString::fromUtf8(json), QString::fromUtf8(json.left(from)).size());
        if (at.hasMatch())
            line =
                int(QString::fromUtf8(json).left(at.capturedStart()).count(QLatin1Char('\n'))) + 1;
    }
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(rest)
                    : QStringLiteral("%1: %2").arg(file, rest);
}

} // namespace kvform
