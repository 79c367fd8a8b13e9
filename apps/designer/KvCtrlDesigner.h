#pragma once
// The Qt Designer plugin: Kv_CTRL's controls in Designer's toolbox (group "Kv_CTRL"), and for
// QUiLoader, which builds custom widgets through the same plugins.

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include "PropertySheet.h"
#include "host/automation/TypeLib.h"

namespace kvdesigner {

// One control class of the library, as Designer sees it.
class ControlPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    ControlPlugin(const host::ClassDescription& cls, const QString& includeFile, QObject* parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    // A control made here has started its life (Initialize, InitProperties, Resize) with its
    // design-time defaults, so the properties Designer or QUiLoader set afterwards go over them
    // as a host's form file would.
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return m_initialized; }
    // Gives Designer the property sheets that edit the controls' colours and fonts as colours
    // and fonts (one for all the controls, whichever plugin Designer initializes first).
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    host::ClassDescription m_class;
    QString m_includeFile;
    bool m_initialized = false;
};

class Collection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit Collection(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return m_plugins; }

private:
    QList<QDesignerCustomWidgetInterface*> m_plugins;
    // From before QUiLoader or Designer's preview sets a .ui's colours and fonts on a control.
    UiValueConversions m_conversions;
};

} // namespace kvdesigner
