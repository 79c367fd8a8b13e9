// libFuzzer target: kvform's script reader on arbitrary text either returns steps, each from a
// line of the text and in the text's order, or refuses with a ScriptError naming the file and a
// line of it.

#include "apps/kvform/ScriptParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    const QString file = QStringLiteral("fuzz.kvs");
    try {
        int previous = 0;
        for (const kvform::ScriptStep& step : kvform::parseScript(text, file)) {
            if (step.line <= previous || step.line > lines) __builtin_trap();
            previous = step.line;
        }
    } catch (const kvform::ScriptError& error) {
        // "fuzz.kvs:LINE: problem"
        const QString message = error.message();
        const qsizetype colon = message.indexOf(QLatin1Char(':'), file.size() + 1);
        bool number = false;
        const qsizetype line =
            message.mid(file.size() + 1, colon - file.size() - 1).toLongLong(&number);
        if (!message.startsWith(file + QLatin1Char(':')) || colon < 0 || !number || line < 1 ||
            line > lines)
            __builtin_trap();
    }
    return 0;
}
