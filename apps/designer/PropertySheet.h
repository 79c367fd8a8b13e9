#pragma once
// Designer's property sheet for the library's controls: Designer's own sheet, but with the
// colours (OLE_COLOR) and fonts (StdFont) edited and stored as QColor and QFont, and the Singles
// (float) as double, which Designer can write to a .ui file and a float it cannot.

#include <QExtensionFactory>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QVariant>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <utility>

#include "host/automation/TypeLib.h"

class QExtensionManager;

namespace kvdesigner {

// How a property's value appears in Designer.
enum class ValueKind { AsIs, Color, Font, Single };

// What the sheet knows of one control class: which of its properties are colours, fonts and
// Singles, and the values a new control of the class has for its colours and fonts (what Reset
// goes back to).
struct ClassValues {
    QHash<QString, ValueKind> kinds;
    QHash<QString, QVariant> defaults; // host::OleColor or host::FontRef
};

// Everything goes to Designer's sheet for the control; only the colours, fonts and Singles are
// translated on the way.
//
// A colour reads as the QColor it draws. A system colour (0x80000000 | index) has no QColor
// form, yet it draws one fixed colour, so it reads as that colour while Designer does not write
// it to the form (the control's own default, or after Reset); one the form sets reads as its
// number, so that Designer writes the number and the form keeps the system colour. A QColor
// equal to the one the property draws changes nothing, so a system colour survives Designer
// handing back the colour it read.
//
// A font reads as a QFont naming its face as the font does, not the face drawn in its place,
// so that Designer writes the name back. A .ui file holds whole points only: 8.25 is written 8.
class PropertySheet : public QObject, public QDesignerPropertySheetExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerPropertySheetExtension)
public:
    PropertySheet(QDesignerPropertySheetExtension* designers, const ClassValues* values,
                  QObject* parent);

    int count() const override { return m_designers->count(); }
    int indexOf(const QString& name) const override { return m_designers->indexOf(name); }
    QString propertyName(int index) const override { return m_designers->propertyName(index); }
    QString propertyGroup(int index) const override { return m_designers->propertyGroup(index); }
    void setPropertyGroup(int index, const QString& group) override
    {
        m_designers->setPropertyGroup(index, group);
    }
    bool hasReset(int index) const override;
    bool reset(int index) override;
    bool isVisible(int index) const override { return m_designers->isVisible(index); }
    void setVisible(int index, bool b) override { m_designers->setVisible(index, b); }
    bool isAttribute(int index) const override { return m_designers->isAttribute(index); }
    void setAttribute(int index, bool b) override { m_designers->setAttribute(index, b); }
    QVariant property(int index) const override;
    void setProperty(int index, const QVariant& value) override;
    bool isChanged(int index) const override { return m_designers->isChanged(index); }
    void setChanged(int index, bool changed) override { m_designers->setChanged(index, changed); }
    bool isEnabled(int index) const override { return m_designers->isEnabled(index); }

private:
    ValueKind kindOf(int index) const;

    QDesignerPropertySheetExtension* m_designers;
    const ClassValues* m_values;
};

// Hands out a PropertySheet for each of the library's controls, made over the sheet the next
// factory in line (Designer's own) gives.
class PropertySheetFactory : public QExtensionFactory {
    Q_OBJECT
public:
    // Registers one factory with the manager; registering again adds none.
    static void registerWith(QExtensionManager* manager);

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;

private:
    explicit PropertySheetFactory(QExtensionManager* manager);
    const ClassValues& valuesOf(const host::ClassDescription& cls) const;

    mutable bool m_askingDesigner = false;
    mutable QHash<const QMetaObject*, ClassValues> m_values;
};

// Lets QUiLoader, and Designer's preview, set what a .ui holds for a colour (QColor) or a font
// (QFont) on the controls' OLE_COLOR and StdFont properties: QMetaType conversions, registered
// for as long as the object lives (the plugin's collection does), unless some are already.
// To the meta-type system an OLE_COLOR is a 32-bit unsigned integer, both of them Qt's own
// types, which QMetaType::registerConverter refuses; so in a process that loads the plugin,
// every QColor converts to that integer.
class UiValueConversions {
public:
    UiValueConversions();
    ~UiValueConversions();
    Q_DISABLE_COPY_MOVE(UiValueConversions)

private:
    void add(QMetaType from, QMetaType to, const QMetaType::ConverterFunction& convert);

    QList<std::pair<QMetaType, QMetaType>> m_registered;
};

} // namespace kvdesigner
