// Every control class, its properties set by name to random values of their declared types
// (10,000 a class, seeded; 2,000 under the sanitizers; KV_ROUNDTRIP_SEED and KV_ROUNDTRIP_VALUES
// change that), saved to a form file, loaded and saved again: the same bytes. A value a setter
// refuses leaves the control, as its properties read, and its next save as they were.

#include "Values.h"

#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/Services.h"
#include "host/widgets/LateBinding.h"
#include "library/module/EntryPoints.h"
#include "library/module/TypeLibrary.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace host;

namespace {

const QList<int> refusals = {438, 383, 13, 94, 6, 380, 91};

QByteArray saved(const Form& form)
{
    return FormFile::serialize(form.describe(), QStringLiteral("roundtrip.kvform"));
}

// Where two saved files differ, read as forms (both came from serialize, so both read).
QString firstDifference(const QByteArray& a, const QByteArray& b)
{
    const QString name = QStringLiteral("roundtrip.kvform");
    return monkey::difference(FormFile::parse(a, name), FormFile::parse(b, name));
}

QList<Variant> readAll(QObject* control, const QList<QMetaProperty>& properties)
{
    QList<Variant> values;
    for (const QMetaProperty& p : properties)
        values << CallByNameGet(control, QString::fromLatin1(p.name()));
    return values;
}

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ServicesScope> m_services;
    QStringList m_escaped;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Registry::setPath(m_dir.filePath(QStringLiteral("registry.json")));
        QCOMPARE(DllRegisterServer(), S_OK);
        m_services = std::make_unique<ServicesScope>();
        services().msgBox = [](const QString&, int, const QString&) { return 1; };
        services().reportError = [this](const RuntimeError& e) {
            m_escaped << QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
        };
    }

    void cleanupTestCase()
    {
        m_services.reset();
        Registry::setPath({});
    }

    void everyClass_data()
    {
        QTest::addColumn<QString>("progId");
        const LibraryDescription& library = Kv_CTRL::typeLibrary();
        for (const ClassDescription& cls : library.classes)
            if (cls.factory && cls.isControl)
                QTest::newRow(qPrintable(cls.name)) << library.progId(cls);
    }

    void everyClass()
    {
        QFETCH(QString, progId);
        bool ok = false;
        quint64 seed = qEnvironmentVariable("KV_ROUNDTRIP_SEED").toULongLong(&ok);
        if (!ok) seed = 20260316;
        int count = qEnvironmentVariableIntValue("KV_ROUNDTRIP_VALUES", &ok);
        if (!ok) count = monkey::sanitized ? 2000 : 10000;
        monkey::Rng rng(seed ^ qHash(progId));

        Form form, other;
        form.setObjectName(QStringLiteral("frmTeste"));
        UserControl* control = form.add(progId, QStringLiteral("ctl"));
        const QList<QMetaProperty> properties =
            monkey::ownWritableProperties(control->metaObject());
        QVERIFY(!properties.isEmpty());
        QByteArray current = saved(form);
        m_escaped.clear();
        for (int i = 0; i < count; ++i) {
            const QMetaProperty& p =
                properties[int(monkey::below(rng, quint32(properties.size())))];
            const Variant value = monkey::valueFor(rng, p);
            const QString what = QStringLiteral("seed %1, value #%2: %3 = %4")
                                     .arg(seed)
                                     .arg(i)
                                     .arg(QLatin1String(p.name()), monkey::describeValue(value));
            const QList<Variant> before = readAll(control, properties);
            try {
                CallByNameLet(control, QString::fromLatin1(p.name()), value);
            } catch (const RuntimeError& e) {
                QVERIFY2(refusals.contains(e.number()),
                         qPrintable(QStringLiteral("%1 raised %2").arg(what).arg(e.number())));
                QVERIFY2(readAll(control, properties) == before,
                         qPrintable(what + QStringLiteral(": refused, yet the control changed")));
                const QByteArray after = saved(form);
                QVERIFY2(after == current, qPrintable(what + QStringLiteral(": refused, yet ") +
                                                      firstDifference(current, after)));
                continue;
            }
            QVERIFY2(m_escaped.isEmpty(),
                     qPrintable(what + QStringLiteral(": ") + m_escaped.join(',')));
            QByteArray bytes;
            try {
                bytes = saved(form);
            } catch (const FormFileError& e) {
                QFAIL(qPrintable(what + QStringLiteral(": the form cannot be saved: ") +
                                 e.message()));
            }
            if (bytes == current) continue; // that file was read back already
            try {
                other.build(FormFile::parse(bytes, QStringLiteral("roundtrip.kvform")));
            } catch (const RuntimeError& e) {
                QFAIL(qPrintable(what + QStringLiteral(": the saved form does not load: ") +
                                 e.description()));
            }
            // No event loop runs here: what the loads posted is delivered now, the last form
            // deleted, or every deletion would search an ever longer queue.
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const QByteArray again = saved(other);
            QVERIFY2(again == bytes,
                     qPrintable(what + QStringLiteral(": ") + firstDifference(bytes, again)));
            current = bytes;
        }
    }
};

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
