// libFuzzer target: FormFile::parse on arbitrary bytes must either return a description or throw
// FormFileError; anything else (a crash, a sanitizer report, another exception) is a fault.

#include "host/persist/FormFile.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_formfile";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    Q_UNUSED(app);

    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const host::FormDescription form =
            host::FormFile::parse(bytes, QStringLiteral("fuzz.kvform"));
        // What was read must be writable and read back the same.
        const QByteArray again = host::FormFile::serialize(form, QStringLiteral("again.kvform"));
        if (!(host::FormFile::parse(again, QStringLiteral("again.kvform")) == form))
            __builtin_trap();
    } catch (const host::FormFileError&) {
    }
    return 0;
}
