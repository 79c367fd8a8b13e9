#include "host/automation/Registry.h"

#include "host/services/SaveFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QMutex>
#include <QStandardPaths>
#include <optional>
#include <sys/stat.h>

namespace host {

namespace {

const QString FormatTag = QStringLiteral("kvctrl registry 1");
const QString KeyFormat = QStringLiteral("format");
const QString KeyClasses = QStringLiteral("classes");
const QString KeyProgIds = QStringLiteral("progIds");
const QString KeyTypeLibraries = QStringLiteral("typeLibraries");

QMutex& pathMutex()
{
    static QMutex mutex;
    return mutex;
}

QString& configuredPath()
{
    static QString path;
    return path;
}

QString guidKey(const QUuid& id)
{
    return id.toString(QUuid::WithBraces);
}

QString absoluteModule(const QString& modulePath)
{
    return QFileInfo(modulePath).absoluteFilePath();
}

QString pngBase64(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(bytes.toBase64());
}

// What a registry file must look like; the first fault found, or an empty string.
QString shapeFault(const QJsonObject& root)
{
    if (root.value(KeyFormat).toString() != FormatTag)
        return QStringLiteral("unknown format (expected \"%1\")").arg(FormatTag);
    for (const QString& key : {KeyClasses, KeyProgIds, KeyTypeLibraries})
        if (root.contains(key) && !root.value(key).isObject())
            return QStringLiteral("\"%1\" is not an object").arg(key);
    const QJsonObject classes = root.value(KeyClasses).toObject();
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (QUuid::fromString(it.key()).isNull() || !it.value().isObject())
            return QStringLiteral("bad class entry \"%1\"").arg(it.key());
        const QJsonObject entry = it.value().toObject();
        if (!entry.value(QStringLiteral("module")).isString() ||
            !entry.value(QStringLiteral("progId")).isString())
            return QStringLiteral("class entry \"%1\" lacks its module or ProgID").arg(it.key());
    }
    const QJsonObject progIds = root.value(KeyProgIds).toObject();
    for (auto it = progIds.begin(); it != progIds.end(); ++it)
        if (!it.value().isString()) return QStringLiteral("bad ProgID entry \"%1\"").arg(it.key());
    return {};
}

// What tells one version of a file from another: a save renames a new file over the old one (a
// new inode), an edit in place changes the time or the size.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 modified = 0; // nanoseconds

    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const QFile& file)
{
    struct stat st {};
    if (::fstat(file.handle(), &st) != 0) return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The registry read last, kept while its file is unchanged: a form reads the registry for every
// control it creates.
struct ReadCache {
    QMutex mutex;
    QString path;
    FileStamp stamp;
    QJsonObject root;
};

ReadCache& readCache()
{
    static ReadCache cache;
    return cache;
}

} // namespace

QString Registry::defaultPath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/kvctrl/registry.json");
}

QString Registry::path()
{
    QMutexLocker lock(&pathMutex());
    return configuredPath().isEmpty() ? defaultPath() : configuredPath();
}

void Registry::setPath(const QString& path)
{
    QMutexLocker lock(&pathMutex());
    configuredPath() = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

Registry::Registry(const QString& filePath) : m_path(filePath)
{
    m_root.insert(KeyFormat, FormatTag);
}

bool Registry::load()
{
    m_error.clear();
    // Every control a form makes loads the registry (twice): the empty one is made once and
    // shared, where building it here cost as much as reading the cached registry.
    static const QJsonObject empty{{KeyFormat, FormatTag}};
    m_root = empty;
    const QFileInfo info(m_path);
    if (!info.exists()) return true;
    QFile file(m_path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        m_error =
            QStringLiteral("The component registry %1 cannot be read: %2")
                .arg(m_path, info.isDir() ? QStringLiteral("it is a folder") : file.errorString());
        return false;
    }
    const std::optional<FileStamp> stamp = stampOf(file);
    ReadCache& cache = readCache();
    {
        QMutexLocker lock(&cache.mutex);
        if (stamp && cache.path == m_path && cache.stamp == *stamp) {
            m_root = cache.root;
            return true;
        }
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = QStringLiteral("The component registry %1 cannot be read: %2")
                      .arg(m_path, file.errorString());
        return false;
    }
    if (bytes.trimmed().isEmpty()) return true;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    QString fault;
    if (parseError.error != QJsonParseError::NoError)
        fault =
            QStringLiteral("%1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
    else if (!doc.isObject())
        fault = QStringLiteral("the document is not an object");
    else
        fault = shapeFault(doc.object());
    if (!fault.isEmpty()) {
        m_error = QStringLiteral("The component registry %1 is corrupt (%2); it was left as it is")
                      .arg(m_path, fault);
        return false;
    }
    m_root = doc.object();
    if (stamp) {
        QMutexLocker lock(&cache.mutex);
        cache.path = m_path;
        cache.stamp = *stamp;
        cache.root = m_root;
    }
    return true;
}

bool Registry::save()
{
    m_error.clear();
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        m_error =
            QStringLiteral("The folder of the component registry %1 cannot be created").arg(m_path);
        return false;
    }
    const QString reason = saveFile(m_path, QJsonDocument(m_root).toJson(QJsonDocument::Indented));
    if (!reason.isEmpty()) {
        m_error =
            QStringLiteral("The component registry %1 cannot be written: %2").arg(m_path, reason);
        return false;
    }
    return true;
}

QJsonObject Registry::section(const QString& key) const
{
    return m_root.value(key).toObject();
}

void Registry::addLibrary(const LibraryDescription& library, const QString& modulePath)
{
    const QString module = absoluteModule(modulePath);
    QJsonObject classes = section(KeyClasses);
    QJsonObject progIds = section(KeyProgIds);
    for (const ClassDescription& cls : library.classes) {
        if (!cls.creatable) continue;
        const QString key = guidKey(cls.clsid);
        // A ProgID entered before for this CLSID under another name must not linger.
        const QString oldProgId =
            classes.value(key).toObject().value(QStringLiteral("progId")).toString();
        if (!oldProgId.isEmpty() && progIds.value(oldProgId).toString() == key)
            progIds.remove(oldProgId);
        QJsonObject entry{
            {QStringLiteral("name"), cls.name},
            {QStringLiteral("progId"), library.progId(cls)},
            {QStringLiteral("module"), module},
            {QStringLiteral("typeLibrary"), guidKey(library.libid)},
            {QStringLiteral("control"), cls.isControl},
            {QStringLiteral("threadingModel"), QStringLiteral("Apartment")},
        };
        if (cls.toolboxImage)
            entry.insert(QStringLiteral("toolboxImage"), pngBase64(cls.toolboxImage()));
        classes.insert(key, entry);
        progIds.insert(library.progId(cls), key);
    }
    QJsonObject libraries = section(KeyTypeLibraries);
    const QList<int> parts = library.version.segments();
    libraries.insert(guidKey(library.libid),
                     QJsonObject{
                         {QStringLiteral("name"), library.name},
                         {QStringLiteral("description"), library.description},
                         {QStringLiteral("version"),
                          QStringLiteral("%1.%2").arg(parts.value(0)).arg(parts.value(1))},
                         {QStringLiteral("module"), module},
                     });
    m_root.insert(KeyFormat, FormatTag);
    m_root.insert(KeyClasses, classes);
    m_root.insert(KeyProgIds, progIds);
    m_root.insert(KeyTypeLibraries, libraries);
}

int Registry::removeLibrary(const LibraryDescription& library, const QString& modulePath)
{
    const QString module = absoluteModule(modulePath);
    QJsonObject classes = section(KeyClasses);
    QJsonObject progIds = section(KeyProgIds);
    int removed = 0;
    for (const ClassDescription& cls : library.classes) {
        const QString key = guidKey(cls.clsid);
        const QJsonObject entry = classes.value(key).toObject();
        if (entry.isEmpty() || entry.value(QStringLiteral("module")).toString() != module) continue;
        const QString progId = entry.value(QStringLiteral("progId")).toString();
        if (progIds.value(progId).toString() == key) progIds.remove(progId);
        classes.remove(key);
        ++removed;
    }
    QJsonObject libraries = section(KeyTypeLibraries);
    const QString libKey = guidKey(library.libid);
    if (libraries.value(libKey).toObject().value(QStringLiteral("module")).toString() == module)
        libraries.remove(libKey);
    m_root.insert(KeyClasses, classes);
    m_root.insert(KeyProgIds, progIds);
    m_root.insert(KeyTypeLibraries, libraries);
    return removed;
}

std::optional<RegisteredClass> Registry::findByClsid(const QUuid& clsid) const
{
    const QJsonObject entry = section(KeyClasses).value(guidKey(clsid)).toObject();
    if (entry.isEmpty()) return std::nullopt;
    return RegisteredClass{
        clsid, entry.value(QStringLiteral("progId")).toString(),
        entry.value(QStringLiteral("name")).toString(),
        entry.value(QStringLiteral("module")).toString(),
        QUuid::fromString(entry.value(QStringLiteral("typeLibrary")).toString())};
}

std::optional<RegisteredClass> Registry::findByProgId(const QString& progId) const
{
    const QJsonObject progIds = section(KeyProgIds);
    for (auto it = progIds.begin(); it != progIds.end(); ++it)
        if (it.key().compare(progId, Qt::CaseInsensitive) == 0)
            return findByClsid(QUuid::fromString(it.value().toString()));
    return std::nullopt;
}

QList<RegisteredClass> Registry::classes() const
{
    QList<RegisteredClass> list;
    const QJsonObject classes = section(KeyClasses);
    for (auto it = classes.begin(); it != classes.end(); ++it)
        if (auto cls = findByClsid(QUuid::fromString(it.key()))) list.append(*cls);
    return list;
}

bool Registry::hasTypeLibrary(const QUuid& libid) const
{
    return section(KeyTypeLibraries).contains(guidKey(libid));
}

} // namespace host
