// The Designer plugin as Designer and QUiLoader use it: loaded through QPluginLoader, its
// collection lists the library's seven controls in the "Kv_CTRL" group with their toolbox
// images; its property sheets edit colours, fonts and Singles as QColor, QFont and double and
// put them back into the controls' own types; QUiLoader builds a .ui form holding all seven
// with their designed properties, and each control then looks as one given those properties in
// code.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/module/TypeLibrary.h"

#include <QExtensionFactory>
#include <QExtensionManager>
#include <QFile>
#include <QFileInfo>
#include <QPluginLoader>
#include <QSet>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <memory>

namespace {

const QString PluginFile = QStringLiteral(KV_DESIGNER_PLUGIN);
const QString FormFile = QStringLiteral(KV_SOURCE_DIR "/tests/designer/allcontrols.ui");

QDesignerCustomWidgetInterface* pluginFor(const QString& name)
{
    QPluginLoader loader(PluginFile);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    if (!collection) return nullptr;
    for (QDesignerCustomWidgetInterface* w : collection->customWidgets())
        if (w->name() == name) return w;
    return nullptr;
}

// A control made as a host makes it, with the properties set through their names.
std::unique_ptr<QWidget> madeInCode(const QString& className, const QVariantMap& properties,
                                    QSize size)
{
    const host::ClassDescription* cls = Kv_CTRL::typeLibrary().findClassByName(className);
    if (!cls || !cls->factory) return {};
    std::unique_ptr<host::UserControl> control(cls->factory(nullptr));
    control->startLife(className, nullptr);
    control->resize(size);
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        control->setProperty(it.key().toUtf8().constData(), it.value());
    return control;
}

// Property values compare as the control holds them: fonts by their attributes.
bool sameValue(const QVariant& held, const QVariant& expected)
{
    const host::FontRef font = held.value<host::FontRef>();
    const host::FontRef expectedFont = expected.value<host::FontRef>();
    if (font && expectedFont) return font->sameAs(*expectedFont);
    return held == expected;
}

// Stands in for Designer's own property sheet, to which the plugin's sheets hand everything on:
// the control's meta-properties as they are, and Designer's marks of what the form sets.
class MetaSheet : public QObject, public QDesignerPropertySheetExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerPropertySheetExtension)
public:
    MetaSheet(QObject* object, QObject* parent) : QObject(parent), m_object(object) {}
    int count() const override { return m_object->metaObject()->propertyCount(); }
    int indexOf(const QString& name) const override
    {
        return m_object->metaObject()->indexOfProperty(name.toUtf8().constData());
    }
    QString propertyName(int i) const override { return QString::fromLatin1(meta(i).name()); }
    QString propertyGroup(int) const override { return {}; }
    void setPropertyGroup(int, const QString&) override {}
    bool hasReset(int) const override { return false; }
    bool reset(int) override { return false; }
    bool isVisible(int) const override { return true; }
    void setVisible(int, bool) override {}
    bool isAttribute(int) const override { return false; }
    void setAttribute(int, bool) override {}
    QVariant property(int i) const override { return meta(i).read(m_object); }
    void setProperty(int i, const QVariant& value) override { meta(i).write(m_object, value); }
    bool isChanged(int i) const override { return m_changed.contains(i); }
    void setChanged(int i, bool changed) override
    {
        if (changed)
            m_changed.insert(i);
        else
            m_changed.remove(i);
    }
    bool isEnabled(int) const override { return true; }

private:
    QMetaProperty meta(int i) const { return m_object->metaObject()->property(i); }

    QObject* m_object;
    QSet<int> m_changed;
};

class MetaSheetFactory : public QExtensionFactory {
public:
    using QExtensionFactory::QExtensionFactory;

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override
    {
        if (iid != QLatin1String(Q_TYPEID(QDesignerPropertySheetExtension))) return nullptr;
        return new MetaSheet(object, parent);
    }
};

// Designer's core as far as a plugin's initialize() reaches: the extension manager, holding the
// default property sheets before the plugin adds its own.
class Core : public QDesignerFormEditorInterface {
public:
    Core()
    {
        auto* manager = new QExtensionManager(this);
        manager->registerExtensions(new MetaSheetFactory(manager),
                                    Q_TYPEID(QDesignerPropertySheetExtension));
        setExtensionManager(manager);
    }
};

} // namespace

class TestDesigner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sevenControls();
    void control_data();
    void control();
    void propertySheet_data();
    void propertySheet();
    void uiForm_data();
    void uiForm();

private:
    QDesignerFormEditorInterface* core();

    std::unique_ptr<Core> m_core;
};

// The core Designer hands each plugin in initialize().
QDesignerFormEditorInterface* TestDesigner::core()
{
    if (!m_core) {
        m_core = std::make_unique<Core>();
        QPluginLoader loader(PluginFile);
        auto* collection =
            qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
        for (QDesignerCustomWidgetInterface* w : collection->customWidgets())
            w->initialize(m_core.get());
    }
    return m_core.get();
}

void TestDesigner::sevenControls()
{
    QPluginLoader loader(PluginFile);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    QVERIFY2(collection, qPrintable(loader.errorString()));
    QStringList names;
    for (QDesignerCustomWidgetInterface* w : collection->customWidgets())
        names << w->name();
    names.sort();
    QCOMPARE(names, QStringList({"Kv_CTRL::ProgressBar", "Kv_CTRL::VericalText",
                                 "Kv_CTRL::cmdButton", "Kv_CTRL::txtCampo", "Kv_CTRL::xpcheckbox",
                                 "Kv_CTRL::xpcmdbutton", "Kv_CTRL::xpoptionbutton"}));
}

void TestDesigner::control_data()
{
    QTest::addColumn<QString>("className");
    for (const char* name : {"txtCampo", "cmdButton", "ProgressBar", "xpcmdbutton", "VericalText",
                             "xpcheckbox", "xpoptionbutton"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// What Designer asks of each control: its group, its toolbox image, the header uic includes,
// the XML of a new control, and the control itself, alive with its design-time defaults.
void TestDesigner::control()
{
    QFETCH(QString, className);
    QDesignerCustomWidgetInterface* plugin = pluginFor(QStringLiteral("Kv_CTRL::") + className);
    QVERIFY(plugin);
    QCOMPARE(plugin->group(), QStringLiteral("Kv_CTRL"));
    QVERIFY(!plugin->isContainer());

    const QImage expected = Kv_CTRL::toolboxImage(className).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!expected.isNull());
    const QImage icon = plugin->icon().pixmap(expected.size()).toImage();
    QCOMPARE(icon.convertToFormat(QImage::Format_RGB32), expected);

    QVERIFY2(QFileInfo::exists(QStringLiteral(KV_SOURCE_DIR "/") + plugin->includeFile()),
             qPrintable(plugin->includeFile()));

    std::unique_ptr<QWidget> widget(plugin->createWidget(nullptr));
    auto* control = qobject_cast<host::UserControl*>(widget.get());
    QVERIFY(control);
    QVERIFY(control->lifeStarted());
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), plugin->name());

    // A new control dropped on a form gets the designed size.
    QXmlStreamReader xml(plugin->domXml());
    QString widgetClass;
    QSize designed;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("widget"))
            widgetClass = xml.attributes().value(QLatin1String("class")).toString();
        else if (xml.name() == QLatin1String("width"))
            designed.setWidth(xml.readElementText().toInt());
        else if (xml.name() == QLatin1String("height"))
            designed.setHeight(xml.readElementText().toInt());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(widgetClass, plugin->name());
    QVERIFY(!designed.isEmpty());
    QCOMPARE(designed, control->size());
}

void TestDesigner::propertySheet_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("editor");        // the type Designer edits the property as
    QTest::addColumn<QVariant>("designed"); // what Designer sets: edited, or read from a .ui
    QTest::addColumn<QVariant>("held");     // what the control holds then
    QTest::addColumn<QVariant>("shown");    // what Designer reads back, and writes to the .ui
    const auto color = [](host::OleColor c) { return QVariant::fromValue(c); };
    const auto font = [](const char* name, double size, bool bold, bool italic) {
        QFont f;
        f.setFamilies({QString::fromLatin1(name)});
        f.setPointSizeF(size);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    };
    const auto stdFont = [](const char* name, double size, bool bold, bool italic) {
        return QVariant::fromValue(
            std::make_shared<host::StdFont>(QString::fromLatin1(name), size, bold, italic));
    };
    QTest::newRow("red field") << "txtCampo"
                               << "BackColor" << int(QMetaType::QColor) << QVariant(QColor(Qt::red))
                               << color(host::RGB(255, 0, 0)) << QVariant(QColor(Qt::red));
    QTest::newRow("green gauge") << "ProgressBar"
                                 << "ForeColor" << int(QMetaType::QColor)
                                 << QVariant(QColor(0, 128, 0)) << color(host::RGB(0, 128, 0))
                                 << QVariant(QColor(0, 128, 0));
    // The colour it draws already: the system colour stays, and the form writes it exactly.
    QTest::newRow("button face kept")
        << "cmdButton"
        << "BackColor" << int(QMetaType::QColor) << QVariant(QColor(236, 233, 216))
        << color(host::SystemColor::ButtonFace) << color(host::SystemColor::ButtonFace);
    QTest::newRow("system colour from <UInt>")
        << "txtCampo"
        << "BackColor" << int(QMetaType::QColor) << color(host::SystemColor::ButtonFace)
        << color(host::SystemColor::ButtonFace) << color(host::SystemColor::ButtonFace);
    QTest::newRow("system colour from <number>")
        << "VericalText"
        << "ForeColor" << int(QMetaType::QColor) << QVariant(qint32(host::SystemColor::Highlight))
        << color(host::SystemColor::Highlight) << color(host::SystemColor::Highlight);
    QTest::newRow("bold Times caption")
        << "xpcmdbutton"
        << "Font" << int(QMetaType::QFont) << QVariant(font("Times New Roman", 12, true, false))
        << stdFont("Times New Roman", 12, true, false)
        << QVariant(font("Times New Roman", 12, true, false));
    QTest::newRow("italic title") << "VericalText"
                                  << "Font" << int(QMetaType::QFont)
                                  << QVariant(font("Arial", 10.5, false, true))
                                  << stdFont("Arial", 10.5, false, true)
                                  << QVariant(font("Arial", 10.5, false, true));
    QTest::newRow("gauge value") << "ProgressBar"
                                 << "Value" << int(QMetaType::Double) << QVariant(40.5)
                                 << QVariant(40.5f) << QVariant(40.5);
}

// A control's property sheet as Designer uses it: the property reads as the type Designer edits,
// what Designer sets goes into the control's own type, reads back as Designer writes it to the
// form, and Reset gives the control its default again, exactly.
void TestDesigner::propertySheet()
{
    QFETCH(QString, className);
    QFETCH(QString, property);
    QFETCH(int, editor);
    QFETCH(QVariant, designed);
    QFETCH(QVariant, held);
    QFETCH(QVariant, shown);

    QDesignerCustomWidgetInterface* plugin = pluginFor(QStringLiteral("Kv_CTRL::") + className);
    QVERIFY(plugin);
    const std::unique_ptr<QWidget> control(plugin->createWidget(nullptr));
    auto* sheet =
        qt_extension<QDesignerPropertySheetExtension*>(core()->extensionManager(), control.get());
    QVERIFY(sheet);
    const int index = sheet->indexOf(property);
    const QByteArray name = property.toUtf8();
    const QVariant original = control->property(name.constData());
    QCOMPARE(sheet->property(index).typeId(), editor);

    sheet->setProperty(index, designed);
    sheet->setChanged(index, true);
    QVERIFY2(sameValue(control->property(name.constData()), held),
             qPrintable(control->property(name.constData()).toString()));
    QCOMPARE(sheet->property(index), shown);

    if (!sheet->hasReset(index)) return; // a Single's default is Designer's to find
    QVERIFY(sheet->reset(index));
    QVERIFY(!sheet->isChanged(index));
    QVERIFY(sameValue(control->property(name.constData()), original));
    QCOMPARE(sheet->property(index).typeId(), editor);
}

void TestDesigner::uiForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QVariantMap>("others"); // also in the form, set alike on both controls
    QTest::addColumn<QString>("property");   // the one under test
    QTest::addColumn<QVariant>("value");
    const QVariant buttonFace = QVariant::fromValue(host::SystemColor::ButtonFace);
    const QVariant timesBold =
        QVariant::fromValue(host::StdFont::create(QStringLiteral("Times New Roman"), 12, true));
    const QVariant green = QVariant::fromValue(host::RGB(0, 128, 0));
    QTest::newRow("Money field") << "txtValor"
                                 << "txtCampo" << QVariantMap{{"BackColor", buttonFace}}
                                 << "TypeInput" << QVariant::fromValue(Kv_CTRL::CharType::Money);
    QTest::newRow("system colour field")
        << "txtValor"
        << "txtCampo" << QVariantMap{{"TypeInput", QVariant::fromValue(Kv_CTRL::CharType::Money)}}
        << "BackColor" << buttonFace;
    QTest::newRow("Default_ button")
        << "cmdSalvar"
        << "xpcmdbutton" << QVariantMap{{"Caption", "Salvar"}, {"Font", timesBold}} << "State"
        << QVariant::fromValue(Kv_CTRL::State_b::Default_);
    QTest::newRow("bold Times button")
        << "cmdSalvar"
        << "xpcmdbutton"
        << QVariantMap{{"Caption", "Salvar"},
                       {"State", QVariant::fromValue(Kv_CTRL::State_b::Default_)}}
        << "Font" << timesBold;
    QTest::newRow("Mixed check box") << "chkAtivo"
                                     << "xpcheckbox" << QVariantMap{{"Caption", "Cliente ativo"}}
                                     << "Value" << QVariant::fromValue(Kv_CTRL::State::Mixed);
    QTest::newRow("selected option")
        << "optJuridica"
        << "xpoptionbutton" << QVariantMap{{"Caption", "Pessoa jurídica"}} << "Value"
        << QVariant(true);
    QTest::newRow("gauge at 40 %")
        << "pgbCadastro"
        << "ProgressBar" << QVariantMap{{"ForeColor", green}} << "Value" << QVariant(40.0f);
    QTest::newRow("green gauge") << "pgbCadastro"
                                 << "ProgressBar" << QVariantMap{{"Value", 40.0f}} << "ForeColor"
                                 << green;
    QTest::newRow("ParaBaixo title")
        << "vtTitulo"
        << "VericalText" << QVariantMap{{"zTexto", "Cadastro"}} << "zDirecao"
        << QVariant::fromValue(Kv_CTRL::zOpOrient::ParaBaixo);
    QTest::newRow("disabled picture button")
        << "cmdImprimir"
        << "cmdButton" << QVariantMap{{"Caption", "Imprimir"}} << "Enabled" << QVariant(false);
}

// The form QUiLoader builds through the plugin: each control holds its designed value and looks
// exactly as a control given the same properties in code, and not as one without the value.
void TestDesigner::uiForm()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QVariantMap, others);
    QFETCH(QString, property);
    QFETCH(QVariant, value);

    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(PluginFile).absolutePath());
    QFile file(FormFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form(loader.load(&file));
    QVERIFY2(form, qPrintable(loader.errorString()));

    auto* control = form->findChild<host::UserControl*>(name);
    QVERIFY(control);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()),
             QStringLiteral("Kv_CTRL::") + className);
    QVERIFY(control->lifeStarted());
    const QVariant held = control->property(property.toUtf8().constData());
    QVERIFY2(sameValue(held, value), qPrintable(held.toString()));

    QVariantMap designed = others;
    designed.insert(property, value);
    const std::unique_ptr<QWidget> same = madeInCode(className, designed, control->size());
    const std::unique_ptr<QWidget> without = madeInCode(className, others, control->size());
    QVERIFY(same && without);
    const QImage shown = control->grab().toImage();
    QCOMPARE(shown, same->grab().toImage());
    QVERIFY(shown != without->grab().toImage());
}

QTEST_MAIN(TestDesigner)
#include "tst_designer.moc"
