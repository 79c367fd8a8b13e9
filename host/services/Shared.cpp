#include "host/services/Shared.h"

#include <QCoreApplication>
#include <vector>

namespace host {

namespace {

std::vector<std::unique_ptr<QObject>>& kept()
{
    static std::vector<std::unique_ptr<QObject>> objects;
    return objects;
}

} // namespace

QObject* keepShared(std::unique_ptr<QObject> object)
{
    static bool routineAdded = false;
    if (!routineAdded) {
        qAddPostRoutine(&releaseSharedObjects);
        routineAdded = true;
    }
    QObject* raw = object.get();
    kept().push_back(std::move(object));
    return raw;
}

void releaseSharedObjects()
{
    auto& objects = kept();
    // A destructor may make or release shared objects itself: take them one at a time.
    while (!objects.empty()) {
        std::unique_ptr<QObject> last = std::move(objects.back());
        objects.pop_back();
        last.reset();
    }
}

int sharedObjectCount()
{
    return int(kept().size());
}

} // namespace host
