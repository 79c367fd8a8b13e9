#include "UiForm.h"

#include "host/forms/Form.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdFont.h"
#include "host/value/Twips.h"
#include "host/widgets/LateBinding.h"

#include <QColor>
#include <QFont>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QRect>
#include <QWidget>
#include <QXmlStreamReader>

namespace kvform {

namespace {

// The library whose controls a .ui may hold, as Designer's plugin names them.
const QString Scope = QStringLiteral("Kv_CTRL::");

class Reader {
public:
    Reader(const QByteArray& bytes, const QString& sourceName) : m_xml(bytes), m_source(sourceName)
    {}

    UiForm read()
    {
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (m_xml.name() == QLatin1String("widget")) {
                readForm();
                break;
            }
        }
        if (m_xml.hasError()) fail(m_xml.errorString());
        if (m_result.description.name.isEmpty()) fail(QStringLiteral("no form widget"));
        return m_result;
    }

private:
    [[noreturn]] void fail(const QString& problem) const
    {
        throw host::FormFileError(
            QStringLiteral("%1:%2: %3").arg(m_source).arg(m_xml.lineNumber()).arg(problem));
    }

    static float twipsX(int pixels) { return float(pixels * host::twipsPerPixelX()); }
    static float twipsY(int pixels) { return float(pixels * host::twipsPerPixelY()); }

    // The top widget: its own properties and the controls on it.
    void readForm()
    {
        host::FormDescription& form = m_result.description;
        form.name = m_xml.attributes().value(QLatin1String("name")).toString();
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("property")) {
                const QString name = m_xml.attributes().value(QLatin1String("name")).toString();
                if (name == QLatin1String("geometry")) {
                    const QRect r = readRect();
                    form.width = twipsX(r.width());
                    form.height = twipsY(r.height());
                } else if (name == QLatin1String("windowTitle")) {
                    form.caption = readValue().toString();
                } else {
                    m_xml.skipCurrentElement(); // the window's looks are the form's own
                }
            } else if (m_xml.name() == QLatin1String("widget")) {
                readControl();
            } else if (m_xml.name() == QLatin1String("layout")) {
                fail(QStringLiteral("layouts are not supported: place the controls freely"));
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }

    void readControl()
    {
        const QString cls = m_xml.attributes().value(QLatin1String("class")).toString();
        host::ControlRecord record;
        record.name = m_xml.attributes().value(QLatin1String("name")).toString();
        if (!cls.startsWith(Scope) || cls.size() == Scope.size())
            fail(QStringLiteral("widget \"%1\": class %2 is not a Kv_CTRL control")
                     .arg(record.name, cls));
        record.className = QStringLiteral("Kv_CTRL.") + cls.mid(Scope.size());
        bool placed = false;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("widget"))
                fail(QStringLiteral("widget \"%1\" holds widgets: Kv_CTRL controls contain none")
                         .arg(record.name));
            if (m_xml.name() != QLatin1String("property")) {
                m_xml.skipCurrentElement();
                continue;
            }
            const QString property = m_xml.attributes().value(QLatin1String("name")).toString();
            const int line = int(m_xml.lineNumber());
            if (property == QLatin1String("geometry")) {
                const QRect r = readRect();
                record.left = twipsX(r.x());
                record.top = twipsY(r.y());
                record.width = twipsX(r.width());
                record.height = twipsY(r.height());
                placed = true;
                continue;
            }
            UiSetting setting{record.name, property, {}, false, line};
            setting.value = readValue(&setting.isEnum);
            m_result.settings << setting;
        }
        if (!placed) fail(QStringLiteral("widget \"%1\" has no geometry").arg(record.name));
        m_result.description.controls << record;
    }

    QRect readRect()
    {
        QRect r;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("rect")) {
                m_xml.skipCurrentElement();
                continue;
            }
            while (m_xml.readNextStartElement()) {
                const QStringView part = m_xml.name();
                const int v = readInt();
                if (part == QLatin1String("x"))
                    r.moveLeft(v);
                else if (part == QLatin1String("y"))
                    r.moveTop(v);
                else if (part == QLatin1String("width"))
                    r.setWidth(v);
                else if (part == QLatin1String("height"))
                    r.setHeight(v);
            }
        }
        return r;
    }

    int readInt()
    {
        bool ok = false;
        const int v = m_xml.readElementText().trimmed().toInt(&ok);
        if (!ok) fail(QStringLiteral("expected a whole number"));
        return v;
    }

    // The value element inside <property>, as the property will take it. Enumerations only for
    // a control's properties (isEnum given).
    QVariant readValue(bool* isEnum = nullptr)
    {
        QVariant value;
        bool seen = false;
        while (m_xml.readNextStartElement()) {
            if (seen) fail(QStringLiteral("a property holds one value"));
            seen = true;
            const QStringView kind = m_xml.name();
            if (kind == QLatin1String("string")) {
                value = m_xml.readElementText();
            } else if (kind == QLatin1String("bool")) {
                value = m_xml.readElementText().trimmed() == QLatin1String("true");
            } else if (kind == QLatin1String("number") || kind == QLatin1String("UInt") ||
                       kind == QLatin1String("double") || kind == QLatin1String("float")) {
                bool ok = false;
                value = m_xml.readElementText().trimmed().toDouble(&ok);
                if (!ok) fail(QStringLiteral("expected a number"));
            } else if (kind == QLatin1String("enum") && isEnum) {
                // Designer writes the key with its scope ("Kv_CTRL::Money").
                QString key = m_xml.readElementText().trimmed();
                const qsizetype scope = key.lastIndexOf(QLatin1String("::"));
                if (scope >= 0) key = key.mid(scope + 2);
                value = key;
                *isEnum = true;
            } else if (kind == QLatin1String("color")) {
                // Colours reach the controls as RGB OLE colours.
                int rgb[3] = {0, 0, 0};
                while (m_xml.readNextStartElement()) {
                    const QStringView part = m_xml.name();
                    const int v = readInt();
                    if (part == QLatin1String("red"))
                        rgb[0] = v;
                    else if (part == QLatin1String("green"))
                        rgb[1] = v;
                    else if (part == QLatin1String("blue"))
                        rgb[2] = v;
                }
                value = double(quint32(rgb[0]) | quint32(rgb[1]) << 8 | quint32(rgb[2]) << 16);
            } else if (kind == QLatin1String("font")) {
                value = readFont();
            } else {
                fail(QStringLiteral("values of kind <%1> are not supported").arg(kind));
            }
        }
        if (!seen) fail(QStringLiteral("a property without a value"));
        return value;
    }

    // The parts of a <font> a StdFont has, set as QUiLoader sets them; the rendering hints
    // Designer may add (kerning, antialiasing, ...) have no counterpart and are passed over.
    QFont readFont()
    {
        QFont font;
        while (m_xml.readNextStartElement()) {
            const QStringView part = m_xml.name();
            if (part == QLatin1String("family")) {
                font.setFamilies({m_xml.readElementText()});
            } else if (part == QLatin1String("pointsize")) {
                font.setPointSize(readInt());
            } else if (part == QLatin1String("bold") || part == QLatin1String("italic") ||
                       part == QLatin1String("underline") || part == QLatin1String("strikeout")) {
                const bool on = m_xml.readElementText().trimmed() == QLatin1String("true");
                if (part == QLatin1String("bold"))
                    font.setBold(on);
                else if (part == QLatin1String("italic"))
                    font.setItalic(on);
                else if (part == QLatin1String("underline"))
                    font.setUnderline(on);
                else
                    font.setStrikeOut(on);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        return font;
    }

    QXmlStreamReader m_xml;
    QString m_source;
    UiForm m_result;
};

host::Variant toVariant(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return host::Variant(v.toBool());
    case QMetaType::Double: {
        const double d = v.toDouble();
        // Whole numbers as Long, as a form file reads them; the property converts further. A
        // <UInt> past Long's range (a system colour) stays a Double.
        if (d >= INT32_MIN && d <= INT32_MAX && d == double(qint32(d)))
            return host::Variant(qint32(d));
        return host::Variant(d);
    }
    case QMetaType::QFont:
        return host::Variant(host::StdFont::fromQFont(v.value<QFont>()));
    default:
        return host::Variant(v.toString());
    }
}

} // namespace

bool isUiFile(const QString& path)
{
    return path.endsWith(QLatin1String(".ui"), Qt::CaseInsensitive);
}

UiForm parseUi(const QByteArray& bytes, const QString& sourceName)
{
    return Reader(bytes, sourceName).read();
}

void applyUiSettings(const UiForm& ui, host::Form& form, const QString& sourceName)
{
    for (const UiSetting& setting : ui.settings) {
        const auto fail = [&](const QString& problem) {
            throw host::FormFileError(QStringLiteral("%1:%2: control \"%3\": property \"%4\": %5")
                                          .arg(sourceName)
                                          .arg(setting.line)
                                          .arg(setting.control, setting.property, problem));
        };
        QWidget* control = form.widget()->findChild<QWidget*>(setting.control);
        if (!control) fail(QStringLiteral("no such control"));
        host::Variant value = toVariant(setting.value);
        if (setting.isEnum) {
            const QMetaObject* meta = control->metaObject();
            const int index = meta->indexOfProperty(setting.property.toUtf8().constData());
            const QMetaEnum e = index >= 0 ? meta->property(index).enumerator() : QMetaEnum();
            bool ok = false;
            const int number =
                e.isValid() ? e.keyToValue(setting.value.toString().toUtf8(), &ok) : 0;
            if (!ok)
                fail(QStringLiteral("\"%1\" is not one of its values")
                         .arg(setting.value.toString()));
            value = host::Variant(qint32(number));
        }
        try {
            host::CallByNameLet(control, setting.property, value);
        } catch (const host::RuntimeError& e) {
            fail(QStringLiteral("%1 (error %2)").arg(e.description()).arg(e.number()));
        }
    }
}

} // namespace kvform
