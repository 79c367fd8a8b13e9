#pragma once
// The component registry: a JSON file mapping class identifiers and ProgIDs to the module that
// implements them, and type libraries to their module. Writes are atomic, and a file that
// cannot be read or parsed is refused and left exactly as it is.

#include "host/automation/TypeLib.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

namespace host {

struct RegisteredClass {
    QUuid clsid;
    QString progId;
    QString className;
    QString modulePath; // absolute
    QUuid libid;
};

class Registry {
public:
    // The registry file of this process: the one the application set, else
    // <GenericDataLocation>/kvctrl/registry.json.
    static QString path();
    static void setPath(const QString& path); // an empty path restores the default
    static QString defaultPath();

    explicit Registry(const QString& filePath = path());

    QString filePath() const { return m_path; }

    // Reads the file; a missing or empty file is an empty registry. False (see errorString())
    // for a file that cannot be read or is not a registry; nothing is kept from it then.
    bool load();
    // Writes the whole registry atomically (the folder is created if needed). False on error,
    // leaving the previous file in place.
    bool save();
    QString errorString() const { return m_error; }

    // Enters every creatable class of the library (by CLSID and ProgID) and the type library,
    // all pointing at the module; entries of the same CLSIDs made before are replaced.
    void addLibrary(const LibraryDescription& library, const QString& modulePath);
    // Removes the library's entries that point at this module, and only those; returns how many
    // class entries went.
    int removeLibrary(const LibraryDescription& library, const QString& modulePath);

    std::optional<RegisteredClass> findByClsid(const QUuid& clsid) const;
    std::optional<RegisteredClass> findByProgId(const QString& progId) const;
    QList<RegisteredClass> classes() const;
    bool hasTypeLibrary(const QUuid& libid) const;

private:
    QJsonObject section(const QString& key) const;

    QString m_path;
    QJsonObject m_root;
    QString m_error;
};

} // namespace host
