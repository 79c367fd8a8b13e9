// The Designer plugin as Designer and QUiLoader use it: loaded through QPluginLoader, its
// collection lists the library's seven controls in the "Kv_CTRL" group with their toolbox
// images; QUiLoader builds a .ui form holding all seven with their designed properties, and each
// control then looks as one given those properties in code.

#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/module/TypeLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QPluginLoader>
#include <QUiLoader>
#include <QXmlStreamReader>
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

} // namespace

class TestDesigner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sevenControls();
    void control_data();
    void control();
    void uiForm_data();
    void uiForm();
};

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

void TestDesigner::uiForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QVariantMap>("others"); // also in the form, set alike on both controls
    QTest::addColumn<QString>("property");   // the one under test
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Money field") << "txtValor"
                                 << "txtCampo" << QVariantMap() << "TypeInput"
                                 << QVariant::fromValue(Kv_CTRL::CharType::Money);
    QTest::newRow("Default_ button") << "cmdSalvar"
                                     << "xpcmdbutton" << QVariantMap{{"Caption", "Salvar"}}
                                     << "State" << QVariant::fromValue(Kv_CTRL::State_b::Default_);
    QTest::newRow("Mixed check box") << "chkAtivo"
                                     << "xpcheckbox" << QVariantMap{{"Caption", "Cliente ativo"}}
                                     << "Value" << QVariant::fromValue(Kv_CTRL::State::Mixed);
    QTest::newRow("selected option")
        << "optJuridica"
        << "xpoptionbutton" << QVariantMap{{"Caption", "Pessoa jurídica"}} << "Value"
        << QVariant(true);
    QTest::newRow("gauge at 40 %") << "pgbCadastro"
                                   << "ProgressBar" << QVariantMap() << "Value" << QVariant(40.0f);
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
    QCOMPARE(control->property(property.toUtf8().constData()), value);

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
