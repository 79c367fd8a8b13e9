#include "host/services/Guard.h"

#include <QHash>
#include <QMetaClassInfo>

#include "host/services/Services.h"

#include <cstdio>
#include <new>

namespace host {

QString projectOf(const QObject* object)
{
    if (!object) return {};
    // Asked for every event a control handles; the answer belongs to the class, so it is looked
    // up once per class (class information is searched by name through every base class).
    static QHash<const QMetaObject*, QString> known;
    const QMetaObject* mo = object->metaObject();
    auto it = known.constFind(mo);
    if (it == known.cend()) {
        const int index = mo->indexOfClassInfo("Project");
        it = known.insert(mo, index < 0 ? QString()
                                        : QString::fromLatin1(mo->classInfo(index).value()));
    }
    return it.value();
}

void reportEscapedError(const RuntimeError& error) noexcept
{
    try {
        if (auto& report = services().reportError) {
            report(error);
            return;
        }
    } catch (...) {
        // A reporter that fails itself must not take the event loop down with it.
    }
    std::fprintf(stderr, "Run-time error '%d': %s\n", error.number(),
                 error.description().toLocal8Bit().constData());
}

void reportEscapedError(const std::exception& error) noexcept
{
    try {
        if (dynamic_cast<const std::bad_alloc*>(&error)) {
            reportEscapedError(RuntimeError(Err::OutOfMemory));
            return;
        }
        reportEscapedError(
            RuntimeError(Err::InvalidProcedureCall, QString::fromLocal8Bit(error.what())));
    } catch (...) {
        std::fprintf(stderr, "Unexpected error: %s\n", error.what());
    }
}

} // namespace host
