// A small control module for the automation tests, loaded with QLibrary like any module a host
// never linked: one class that can be created (Probe) and one without an implementation.

#include "host/automation/Server.h"
#include "host/automation/TypeLib.h"
#include "host/persist/PropertyBag.h"
#include "host/widgets/UserControl.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace kvtest {

// Records its life cycle in Log, so the test sees which hooks the host ran.
class Probe : public host::UserControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(QString Log READ get_Log)
public:
    explicit Probe(QWidget* parent = nullptr) : host::UserControl(parent)
    {
        setDesignSize(1200, 375);
    }
    QString get_Caption() const { return m_caption; }
    void put_Caption(const QString& caption) { m_caption = caption; }
    QString get_Log() const { return m_log.join(QLatin1Char(' ')); }

protected:
    void UserControl_Initialize() override { m_log << QStringLiteral("Initialize"); }
    void UserControl_InitProperties() override
    {
        m_log << QStringLiteral("InitProperties");
        m_caption = QStringLiteral("Probe");
    }
    void UserControl_ReadProperties(host::PropertyBag& bag) override
    {
        m_log << QStringLiteral("ReadProperties");
        m_caption = bag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("Probe")).toString();
    }

private:
    QString m_caption;
    QStringList m_log;
};

host::UserControl* makeProbe(QWidget* parent)
{
    return new Probe(parent);
}

const host::LibraryDescription& library()
{
    static const host::LibraryDescription lib = [] {
        host::LibraryDescription d;
        d.name = QStringLiteral("KvTest");
        d.libid = QUuid::fromString(QLatin1String("{3f0c9a52-7d1e-4b6a-9c83-5e2f10a4b7d9}"));
        d.description = QStringLiteral("Kv_CTRL automation test module");
        d.version = QVersionNumber({1, 2, 0, 3});
        host::ClassDescription probe;
        probe.name = QStringLiteral("Probe");
        probe.clsid = QUuid::fromString(QLatin1String("{c2d7e3a1-5b8f-4e09-a6d4-8f1b2c3d4e5f}"));
        probe.defaultInterface = {
            QStringLiteral("_Probe"),
            QUuid::fromString(QLatin1String("{d1e2f3a4-b5c6-4d7e-8f90-a1b2c3d4e5f6}")),
            {{host::MemberKind::PropertyGetPut,
              QStringLiteral("Caption"),
              host::TypeRef::of(host::BaseType::String),
              host::DispId::Caption,
              {}}}};
        probe.eventInterface = {
            QStringLiteral("__Probe"),
            QUuid::fromString(QLatin1String("{e1f2a3b4-c5d6-4e7f-9a0b-1c2d3e4f5a6b}")),
            {}};
        probe.factory = makeProbe;
        probe.metaObject = &Probe::staticMetaObject;
        host::ClassDescription absent;
        absent.name = QStringLiteral("Absent");
        absent.clsid = QUuid::fromString(QLatin1String("{a9b8c7d6-e5f4-4a3b-8c2d-1e0f9a8b7c6d}"));
        d.classes = {probe, absent};
        return d;
    }();
    return lib;
}

QString modulePath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&library), &info) == 0 || !info.dli_fname) return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath();
}

} // namespace kvtest

extern "C" {

Q_DECL_EXPORT host::HRESULT DllRegisterServer()
{
    return host::registerServer(kvtest::library(), kvtest::modulePath());
}

Q_DECL_EXPORT host::HRESULT DllUnregisterServer()
{
    return host::unregisterServer(kvtest::library(), kvtest::modulePath());
}

Q_DECL_EXPORT host::HRESULT DllGetClassObject(const QUuid* rclsid, const QUuid* riid, void** ppv)
{
    return host::getClassObject(kvtest::library(), rclsid, riid, ppv);
}

Q_DECL_EXPORT host::HRESULT DllCanUnloadNow()
{
    return host::canUnloadNow(kvtest::library());
}

} // extern "C"

#include "TestModule.moc"
