// Registration and creation: registering the modules, creating each class by ProgID through a
// registry read afresh and a module loaded with QLibrary, unregistering only the module's own
// entries, refusing unreadable or corrupt registry files without touching them, the answers of
// DllGetClassObject, and DllCanUnloadNow following objects and locks.

#include "host/automation/CreateControl.h"
#include "host/automation/Registry.h"
#include "host/automation/Server.h"
#include "host/forms/Form.h"
#include "host/persist/PropertyBag.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/UserControl.h"
#include "library/module/EntryPoints.h"
#include "library/module/TypeLibrary.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <unistd.h>

using namespace host;

namespace {

const QUuid ProbeClsid = QUuid::fromString(QLatin1String("{c2d7e3a1-5b8f-4e09-a6d4-8f1b2c3d4e5f}"));
const QUuid AbsentClsid =
    QUuid::fromString(QLatin1String("{a9b8c7d6-e5f4-4a3b-8c2d-1e0f9a8b7c6d}"));

// The test module's entry points, reached the way a host reaches a module it never linked.
struct TestModule {
    QLibrary library;
    DllRegisterServerFunction registerServer = nullptr;
    DllUnregisterServerFunction unregisterServer = nullptr;
    DllGetClassObjectFunction getClassObject = nullptr;
    DllCanUnloadNowFunction canUnloadNow = nullptr;

    template <class F>
    void resolve(F& function, const char* name)
    {
        function = reinterpret_cast<F>(library.resolve(name));
    }

    bool load()
    {
        library.setFileName(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/libKvTestModule.so"));
        if (!library.load()) return false;
        resolve(registerServer, "DllRegisterServer");
        resolve(unregisterServer, "DllUnregisterServer");
        resolve(getClassObject, "DllGetClassObject");
        resolve(canUnloadNow, "DllCanUnloadNow");
        return registerServer && unregisterServer && getClassObject && canUnloadNow;
    }
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs a creation and returns the run-time error it raised (0 for none).
int errorOf(const std::function<void()>& call, QString* description = nullptr)
{
    try {
        call();
    } catch (const RuntimeError& e) {
        if (description) *description = e.description();
        return e.number();
    }
    return 0;
}

// Creates a control by ProgID and returns the run-time error raised (0 for none).
int createError(Form& form, const char* progId, QString* why = nullptr)
{
    return errorOf([&] { form.add(QString::fromLatin1(progId), QStringLiteral("x")); }, why);
}

} // namespace

class RegistryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(m_module.load(), qPrintable(m_module.library.errorString()));
        QVERIFY(Kv_CTRL::modulePath().contains(QStringLiteral(".so")));
    }

    void init()
    {
        // A folder of its own per test and row, so each sees only the files it made.
        static int serial = 0;
        m_registry = m_dir.filePath(QStringLiteral("%1-%2/registry.json")
                                        .arg(QLatin1String(QTest::currentTestFunction()))
                                        .arg(++serial));
        Registry::setPath(m_registry);
    }
    void cleanup() { Registry::setPath({}); }
    void defaultPath()
    {
        Registry::setPath({});
        const QString expected =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/kvctrl/registry.json");
        QCOMPARE(Registry::defaultPath(), expected);
        QCOMPARE(Registry::path(), expected);
    }

    void registerCreateUnregister()
    {
        QCOMPARE(DllRegisterServer(), S_OK);
        QCOMPARE(m_module.registerServer(), S_OK);

        // A fresh look at the file, as another process would have.
        Registry registry(m_registry);
        QVERIFY(registry.load());
        const LibraryDescription& lib = Kv_CTRL::typeLibrary();
        for (const ClassDescription& cls : lib.classes) {
            const auto entry = registry.findByProgId(lib.progId(cls));
            QVERIFY2(entry, qPrintable(lib.progId(cls)));
            QCOMPARE(entry->clsid, cls.clsid);
            QCOMPARE(entry->modulePath, Kv_CTRL::modulePath());
        }
        QVERIFY(registry.hasTypeLibrary(lib.libid));
        QVERIFY(registry.findByProgId(QStringLiteral("kv_ctrl.TXTCAMPO"))); // ProgIDs ignore case
        const auto probe = registry.findByClsid(ProbeClsid);
        QVERIFY(probe);
        QCOMPARE(probe->progId, QStringLiteral("KvTest.Probe"));
        QCOMPARE(probe->modulePath, QFileInfo(m_module.library.fileName()).canonicalFilePath());

        Form form;
        // Every class of Kv_CTRL: created when implemented, else "can't create object".
        for (const ClassDescription& cls : lib.classes) {
            UserControl* control = nullptr;
            QString why;
            const int error = errorOf(
                [&] { control = form.add(lib.progId(cls), cls.name + QStringLiteral("1")); }, &why);
            if (cls.factory) {
                QCOMPARE(error, 0);
                QVERIFY(control);
                QCOMPARE(TypeName(control), cls.name);
                QCOMPARE(control->parentWidget(), form.widget());
            } else {
                QCOMPARE(error, 429);
                QVERIFY2(why.contains(QStringLiteral("not available")), qPrintable(why));
            }
        }
        UserControl* probeControl = form.add(QStringLiteral("KvTest.Probe"), QStringLiteral("prb"));
        QVERIFY(probeControl);
        QCOMPARE(TypeName(probeControl), QStringLiteral("Probe"));
        QVERIFY(form.controls().contains(probeControl));
        QString why;
        QCOMPARE(createError(form, "KvTest.Absent"), 429);

        QCOMPARE(DllUnregisterServer(), S_OK);
        QCOMPARE(m_module.unregisterServer(), S_OK);
        QVERIFY(registry.load());
        QVERIFY(registry.classes().isEmpty());
        QVERIFY(!registry.hasTypeLibrary(lib.libid));
        QCOMPARE(createError(form, "KvTest.Probe", &why), 429);
        QVERIFY2(why.contains(QStringLiteral("not registered")), qPrintable(why));
    }

    void createRunsTheLifeCycle()
    {
        QCOMPARE(m_module.registerServer(), S_OK);
        Form form;
        UserControl* fresh = form.add(QStringLiteral("KvTest.Probe"), QStringLiteral("a"));
        QCOMPARE(fresh->property("Log").toString(), QStringLiteral("Initialize InitProperties"));
        QCOMPARE(fresh->property("Caption").toString(), QStringLiteral("Probe"));

        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Salvar"));
        UserControl* loaded = form.add(QStringLiteral("KvTest.Probe"), QStringLiteral("b"), bag);
        QCOMPARE(loaded->property("Log").toString(), QStringLiteral("Initialize ReadProperties"));
        QCOMPARE(loaded->property("Caption").toString(), QStringLiteral("Salvar"));
        QVERIFY(loaded->lifeStarted());
        // The designed size, as Form::add<T> gives it.
        QCOMPARE(loaded->Extender().get_Width(), 1200.0f);

        // A control added to a shown form appears.
        form.show();
        UserControl* late = form.add(QStringLiteral("KvTest.Probe"), QStringLiteral("c"));
        QVERIFY(late->isVisible());

        // A name in use, whatever its case, is refused and nothing is added.
        const qsizetype liveBefore = form.controls().size();
        QCOMPARE(errorOf([&] { form.add(QStringLiteral("KvTest.Probe"), QStringLiteral("A")); }),
                 727);
        QCOMPARE(form.controls().size(), liveBefore);
    }

    void registerTwiceKeepsOneEntryEach()
    {
        QCOMPARE(DllRegisterServer(), S_OK);
        const QByteArray first = readAll(m_registry);
        QCOMPARE(DllRegisterServer(), S_OK);
        QCOMPARE(readAll(m_registry), first);
        Registry registry(m_registry);
        QVERIFY(registry.load());
        QCOMPARE(registry.classes().size(), Kv_CTRL::typeLibrary().classes.size());
    }

    void unregisterRemovesOnlyThisModule()
    {
        QCOMPARE(m_module.registerServer(), S_OK);
        QCOMPARE(DllRegisterServer(), S_OK);
        // Another copy of Kv_CTRL registered one class from elsewhere after us: that entry is not
        // this module's and must survive.
        Registry edit(m_registry);
        QVERIFY(edit.load());
        LibraryDescription other = Kv_CTRL::typeLibrary();
        other.classes = {*other.findClassByName(QStringLiteral("txtCampo"))};
        other.libid = QUuid::createUuid();
        const QString otherModule = m_dir.filePath(QStringLiteral("elsewhere/libKv_CTRL.so"));
        edit.addLibrary(other, otherModule);
        QVERIFY(edit.save());

        QCOMPARE(DllUnregisterServer(), S_OK);
        Registry after(m_registry);
        QVERIFY(after.load());
        const auto txt = after.findByProgId(QStringLiteral("Kv_CTRL.txtCampo"));
        QVERIFY(txt);
        QCOMPARE(txt->modulePath, otherModule);
        QVERIFY(!after.findByProgId(QStringLiteral("Kv_CTRL.cmdButton")));
        QVERIFY(after.findByProgId(QStringLiteral("KvTest.Probe")));
        QVERIFY(after.hasTypeLibrary(other.libid));
        QVERIFY(!after.hasTypeLibrary(Kv_CTRL::typeLibrary().libid));
        QVERIFY(after.findByProgId(QStringLiteral("KvTest.Absent")));
        QCOMPARE(after.classes().size(), 3);
    }

    void corruptRegistryIsLeftUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not JSON") << QByteArray("this is no registry\n");
        QTest::newRow("truncated")
            << QByteArray("{\"format\": \"kvctrl registry 1\", \"classes\": {");
        QTest::newRow("foreign format") << QByteArray("{\"format\": \"something else\"}");
        QTest::newRow("classes not an object")
            << QByteArray("{\"format\": \"kvctrl registry 1\", \"classes\": [] }");
        QTest::newRow("class without module")
            << QByteArray("{\"format\": \"kvctrl registry 1\", \"classes\": "
                          "{\"{c2d7e3a1-5b8f-4e09-a6d4-8f1b2c3d4e5f}\": {\"progId\": \"X.Y\"}}}");
        QTest::newRow("bad class key")
            << QByteArray("{\"format\": \"kvctrl registry 1\", \"classes\": "
                          "{\"not-a-guid\": {\"progId\": \"X.Y\", \"module\": \"/x.so\"}}}");
    }

    void corruptRegistryIsLeftUntouched()
    {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(m_registry).absolutePath());
        writeAll(m_registry, content);

        QCOMPARE(DllRegisterServer(), SELFREG_E_CLASS);
        QVERIFY2(lastServerError().contains(QStringLiteral("corrupt")),
                 qPrintable(lastServerError()));
        QVERIFY(lastServerError().contains(m_registry));
        QCOMPARE(readAll(m_registry), content);

        QCOMPARE(DllUnregisterServer(), SELFREG_E_CLASS);
        QCOMPARE(m_module.registerServer(), SELFREG_E_CLASS);
        QCOMPARE(readAll(m_registry), content);

        Form form;
        QString why;
        QCOMPARE(createError(form, "KvTest.Probe", &why), 429);
        QVERIFY2(why.contains(QStringLiteral("corrupt")), qPrintable(why));
        // Only the registry file itself is in its folder: no temporary file was left behind.
        QStringList files = QDir(QFileInfo(m_registry).absolutePath()).entryList(QDir::Files);
        files.removeAll(QFileInfo(m_registry).fileName() + QStringLiteral(".lock"));
        QCOMPARE(files, QStringList{QFileInfo(m_registry).fileName()});
    }

    void unreadableRegistry()
    {
        // A folder where the file should be.
        QVERIFY(QDir().mkpath(m_registry));
        QCOMPARE(DllRegisterServer(), SELFREG_E_CLASS);
        QVERIFY2(lastServerError().contains(QStringLiteral("cannot be read")),
                 qPrintable(lastServerError()));
        QVERIFY(QFileInfo(m_registry).isDir());
        QVERIFY(QDir().rmdir(m_registry));

        // A file without read permission (root reads it anyway, so only checked for others).
        if (::geteuid() != 0) {
            const QByteArray content = "{\"format\": \"kvctrl registry 1\"}";
            writeAll(m_registry, content);
            QVERIFY(QFile::setPermissions(m_registry, QFileDevice::WriteOwner));
            QCOMPARE(DllRegisterServer(), SELFREG_E_CLASS);
            QVERIFY2(lastServerError().contains(QStringLiteral("cannot be read")),
                     qPrintable(lastServerError()));
            QVERIFY(QFile::setPermissions(m_registry,
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            QCOMPARE(readAll(m_registry), content);
        }
    }

    void getClassObjectAnswers_data()
    {
        QTest::addColumn<bool>("testModule");
        QTest::addColumn<QUuid>("clsid");
        QTest::addColumn<QUuid>("iid");
        QTest::addColumn<bool>("nullOut");
        QTest::addColumn<HRESULT>("expected");

        const QUuid txtCampo =
            Kv_CTRL::typeLibrary().findClassByName(QStringLiteral("txtCampo"))->clsid;
        QTest::newRow("Kv_CTRL: unknown class") << false << QUuid::createUuid() << IID_IClassFactory
                                                << false << CLASS_E_CLASSNOTAVAILABLE;
        QTest::newRow("Kv_CTRL: class not implemented yet")
            << false << txtCampo << IID_IClassFactory << false
            << (Kv_CTRL::typeLibrary().findClass(txtCampo)->factory ? S_OK
                                                                    : CLASS_E_CLASSNOTAVAILABLE);
        QTest::newRow("module: class without implementation")
            << true << AbsentClsid << IID_IClassFactory << false << CLASS_E_CLASSNOTAVAILABLE;
        QTest::newRow("module: class factory")
            << true << ProbeClsid << IID_IClassFactory << false << S_OK;
        QTest::newRow("module: IUnknown") << true << ProbeClsid << IID_IUnknown << false << S_OK;
        QTest::newRow("module: other interface")
            << true << ProbeClsid << QUuid::createUuid() << false << E_NOINTERFACE;
        QTest::newRow("module: null out-pointer")
            << true << ProbeClsid << IID_IClassFactory << true << E_POINTER;
    }

    void getClassObjectAnswers()
    {
        QFETCH(bool, testModule);
        QFETCH(QUuid, clsid);
        QFETCH(QUuid, iid);
        QFETCH(bool, nullOut);
        QFETCH(HRESULT, expected);
        const DllGetClassObjectFunction get =
            testModule ? m_module.getClassObject : &DllGetClassObject;
        void* out = reinterpret_cast<void*>(quintptr(0x1)); // must be cleared on failure
        const HRESULT hr = get(&clsid, &iid, nullOut ? nullptr : &out);
        QCOMPARE(hresultText(hr), hresultText(expected));
        if (nullOut) return;
        if (succeeded(hr)) {
            QVERIFY(out);
            static_cast<ClassFactory*>(out)->Release();
        } else {
            QVERIFY(!out);
        }
        // Missing identifiers are refused as well, whatever the module.
        QCOMPARE(get(nullptr, &iid, &out), E_INVALIDARG);
        QCOMPARE(get(&clsid, nullptr, &out), E_INVALIDARG);
    }

    void createInstanceNeedsAPlace()
    {
        void* object = nullptr;
        QCOMPARE(m_module.getClassObject(&ProbeClsid, &IID_IClassFactory, &object), S_OK);
        auto* factory = static_cast<ClassFactory*>(object);
        QCOMPARE(factory->CreateInstance(nullptr, nullptr), E_POINTER);
        void* again = nullptr;
        QCOMPARE(factory->QueryInterface(IID_IUnknown, &again), S_OK);
        QCOMPARE(again, object);
        QCOMPARE(factory->QueryInterface(QUuid::createUuid(), &again), E_NOINTERFACE);
        QVERIFY(!again);
        QCOMPARE(factory->Release(), 1u);
        QCOMPARE(factory->Release(), 0u);
        QCOMPARE(m_module.canUnloadNow(), S_OK);

        UserControl* control = reinterpret_cast<UserControl*>(quintptr(0x1));
        QCOMPARE(createInstance(QStringLiteral("KvTest.Probe"), nullptr, &control),
                 REGDB_E_CLASSNOTREG);
        QVERIFY(!control);
    }

    void canUnloadFollowsObjectsAndLocks()
    {
        QCOMPARE(DllCanUnloadNow(), S_OK);
        QCOMPARE(m_module.canUnloadNow(), S_OK);

        void* object = nullptr;
        QCOMPARE(m_module.getClassObject(&ProbeClsid, &IID_IClassFactory, &object), S_OK);
        auto* factory = static_cast<ClassFactory*>(object);
        QCOMPARE(m_module.canUnloadNow(), S_FALSE); // the factory itself is alive

        UserControl* first = nullptr;
        UserControl* second = nullptr;
        QCOMPARE(factory->CreateInstance(nullptr, &first), S_OK);
        QCOMPARE(factory->CreateInstance(nullptr, &second), S_OK);
        QVERIFY(first && second && first != second);
        QVERIFY(!first->lifeStarted()); // the container starts the life cycle
        factory->Release();
        QCOMPARE(m_module.canUnloadNow(), S_FALSE);
        QCOMPARE(DllCanUnloadNow(), S_OK); // another module's objects do not count

        delete first;
        QCOMPARE(m_module.canUnloadNow(), S_FALSE);
        {
            // An object on a window goes with the window.
            QWidget window;
            second->setParent(&window);
        }
        QCOMPARE(m_module.canUnloadNow(), S_OK);

        QCOMPARE(m_module.getClassObject(&ProbeClsid, &IID_IClassFactory, &object), S_OK);
        factory = static_cast<ClassFactory*>(object);
        QCOMPARE(factory->LockServer(true), S_OK);
        QCOMPARE(factory->LockServer(true), S_OK);
        factory->Release();
        QCOMPARE(m_module.canUnloadNow(), S_FALSE); // locked, though nothing is alive

        QCOMPARE(m_module.getClassObject(&ProbeClsid, &IID_IClassFactory, &object), S_OK);
        factory = static_cast<ClassFactory*>(object);
        QCOMPARE(factory->LockServer(false), S_OK);
        QCOMPARE(factory->LockServer(false), S_OK);
        QCOMPARE(factory->LockServer(false), E_UNEXPECTED); // never below zero
        factory->Release();
        QCOMPARE(m_module.canUnloadNow(), S_OK);

        // Objects made through a form count as well, until the form's window is gone.
        QCOMPARE(m_module.registerServer(), S_OK);
        Form form;
        form.add(QStringLiteral("KvTest.Probe"), QStringLiteral("p"));
        QCOMPARE(m_module.canUnloadNow(), S_FALSE);
        form.unload();
        QTRY_COMPARE(m_module.canUnloadNow(), S_OK);
    }

private:
    QString m_registry;
    QTemporaryDir m_dir;
    TestModule m_module;
};

QTEST_MAIN(RegistryTest)
#include "tst_registry.moc"
