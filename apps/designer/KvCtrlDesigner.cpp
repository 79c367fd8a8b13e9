#include "KvCtrlDesigner.h"

#include "host/widgets/UserControl.h"
#include "library/module/TypeLibrary.h"

#include <QIcon>
#include <QPixmap>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <memory>

namespace kvdesigner {

namespace {

// Where uic-generated code includes each class from, as the installed headers lie.
QString headerOf(const QString& className)
{
    static const std::pair<const char*, const char*> headers[] = {
        {"txtCampo", "controls/field/txtCampo.h"},
        {"cmdButton", "controls/picturebutton/cmdButton.h"},
        {"ProgressBar", "controls/progress/ProgressBar.h"},
        {"xpcmdbutton", "controls/xp/xpcmdbutton.h"},
        {"VericalText", "controls/verticaltext/VericalText.h"},
        {"xpcheckbox", "controls/xp/xpcheckbox.h"},
        {"xpoptionbutton", "controls/xp/xpoptionbutton.h"},
    };
    for (const auto& [name, header] : headers)
        if (className == QLatin1String(name)) return QString::fromLatin1(header);
    return {};
}

} // namespace

ControlPlugin::ControlPlugin(const host::ClassDescription& cls, const QString& includeFile,
                             QObject* parent)
    : QObject(parent), m_class(cls), m_includeFile(includeFile)
{}

QString ControlPlugin::name() const
{
    // The C++ name: what .ui files and uic-generated code write.
    return QString::fromLatin1(m_class.metaObject->className());
}

QString ControlPlugin::group() const
{
    return QStringLiteral("Kv_CTRL");
}

QString ControlPlugin::toolTip() const
{
    return m_class.name;
}

QString ControlPlugin::whatsThis() const
{
    return QStringLiteral("%1 (%2)").arg(m_class.name, Kv_CTRL::typeLibrary().description);
}

QString ControlPlugin::includeFile() const
{
    return m_includeFile;
}

QIcon ControlPlugin::icon() const
{
    return QIcon(QPixmap::fromImage(m_class.toolboxImage()));
}

QWidget* ControlPlugin::createWidget(QWidget* parent)
{
    host::UserControl* control = m_class.factory(parent);
    control->startLife(m_class.name, nullptr);
    return control;
}

void ControlPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (m_initialized) return;
    if (core && core->extensionManager())
        PropertySheetFactory::registerWith(core->extensionManager());
    m_initialized = true;
}

QString ControlPlugin::domXml() const
{
    // The designed size, as a control made now has it: what a new control on a form gets.
    const std::unique_ptr<host::UserControl> sample(m_class.factory(nullptr));
    sample->startLife(m_class.name, nullptr);
    return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\">"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y>"
                          "<width>%3</width><height>%4</height></rect></property>"
                          "</widget></ui>")
        .arg(name(), m_class.name)
        .arg(sample->width())
        .arg(sample->height());
}

Collection::Collection(QObject* parent) : QObject(parent)
{
    for (const host::ClassDescription& cls : Kv_CTRL::typeLibrary().classes) {
        const QString header = headerOf(cls.name);
        if (!cls.isControl || !cls.factory || !cls.metaObject || header.isEmpty()) continue;
        m_plugins << new ControlPlugin(cls, header, this);
    }
}

} // namespace kvdesigner
