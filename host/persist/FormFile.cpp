#include "host/persist/FormFile.h"

#include "host/services/SaveFile.h"
#include "host/value/Date.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdPicture.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace host {

FormFileError::FormFileError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{}

bool ControlRecord::operator==(const ControlRecord& other) const
{
    return className == other.className && name == other.name && index == other.index &&
           left == other.left && top == other.top && width == other.width &&
           height == other.height && tabIndex == other.tabIndex && container == other.container &&
           properties == other.properties;
}

bool FormDescription::operator==(const FormDescription& other) const
{
    const bool sameFont = font && other.font ? font->sameAs(*other.font) : !font && !other.font;
    return name == other.name && caption == other.caption && width == other.width &&
           height == other.height && sameFont && keyPreview == other.keyPreview &&
           controls == other.controls;
}

namespace {

// Commas and brackets outside strings: a bound on the values QJsonDocument would build.
constexpr qint64 MaxValues = 4000000;
constexpr qsizetype MaxNameChars = 255;
constexpr int MaxIndex = 32767;

const QString FontTag = QStringLiteral("$font");
const QString DateTag = QStringLiteral("$date");
const QString PictureTag = QStringLiteral("$picture");

// A name as it appears in a message: quoted, shortened, control characters shown as '?'.
QString quoted(const QString& text)
{
    QString shown = text.left(40);
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('?');
    }
    if (text.size() > 40) shown += QStringLiteral("...");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

bool isIdentifier(const QString& text)
{
    if (text.isEmpty() || text.size() > MaxNameChars) return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        const bool digit = c >= u'0' && c <= u'9';
        if (!(letter || (i > 0 && (digit || c == u'_')))) return false;
    }
    return true;
}

// "Library.Class": dotted parts of letters, digits and underscores, the first an identifier.
bool isProgId(const QString& text)
{
    if (text.size() > MaxNameChars) return false;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() < 2 || !isIdentifier(parts.first())) return false;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].isEmpty()) return false;
        for (QChar c : parts[i]) {
            const char16_t u = c.unicode();
            if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
                  (u >= u'0' && u <= u'9') || u == u'_'))
                return false;
        }
    }
    return true;
}

QString jsonTypeName(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// Where in the file we are, for messages: the file, then the form or a control, then a property.
class Context {
public:
    explicit Context(const QString& file) : m_file(file) {}

    void setForm() { m_scope = QStringLiteral("form"); }
    void setControl(int number, const QString& name)
    {
        m_scope = name.isEmpty() ? QStringLiteral("control #%1").arg(number)
                                 : QStringLiteral("control %1 (#%2)").arg(quoted(name)).arg(number);
    }
    void setTop() { m_scope.clear(); }
    void setProperty(const QString& name)
    {
        m_property = name.isNull() ? QString() : QStringLiteral("property ") + quoted(name);
    }

    [[noreturn]] void fail(const QString& key, const QString& problem) const
    {
        QStringList parts{m_file};
        if (!m_scope.isEmpty()) parts << m_scope;
        if (!m_property.isEmpty()) parts << m_property;
        if (!key.isEmpty()) parts << QStringLiteral("key ") + quoted(key);
        parts << problem;
        throw FormFileError(parts.join(QStringLiteral(": ")));
    }

private:
    QString m_file;
    QString m_scope;
    QString m_property;
};

// Refuses nesting and sheer numbers of values that no form needs, before QJsonDocument builds a
// tree of them (its own limits are far higher and its memory use grows with them).
void prescan(const QByteArray& bytes, const Context& where)
{
    int depth = 0;
    qint64 values = 0;
    qint64 line = 1;
    bool inString = false;
    bool escaped = false;
    for (const char c : bytes) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '{':
        case '[':
            if (++depth > FormFile::MaxDepth) {
                where.fail({}, QStringLiteral("line %1: nested deeper than %2 levels")
                                   .arg(line)
                                   .arg(FormFile::MaxDepth));
            }
            ++values;
            break;
        case '}':
        case ']':
            if (depth > 0) --depth;
            break;
        case ',':
            if (++values > MaxValues)
                where.fail({},
                           QStringLiteral("line %1: more than %2 values").arg(line).arg(MaxValues));
            break;
        case '\n':
            ++line;
            break;
        default:
            break;
        }
    }
}

class Reader {
public:
    explicit Reader(const QString& file) : m_where(file) {}

    FormDescription read(QByteArray bytes)
    {
        // Editors on some desktops start UTF-8 files with a byte order mark; JSON has no room
        // for one.
        if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
        if (bytes.size() > FormFile::MaxFileBytes)
            m_where.fail({}, QStringLiteral("larger than %1 bytes").arg(FormFile::MaxFileBytes));
        prescan(bytes, m_where);

        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError) {
            const QByteArray before = bytes.left(error.offset);
            const qsizetype line = before.count('\n') + 1;
            const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
            m_where.fail({}, QStringLiteral("not valid JSON (line %1, column %2: %3)")
                                 .arg(line)
                                 .arg(column)
                                 .arg(error.errorString()));
        }
        if (!document.isObject())
            m_where.fail({}, QStringLiteral("expected a JSON object at the top"));

        const QJsonObject root = document.object();
        const QJsonValue format = root.value(QStringLiteral("format"));
        if (format.isUndefined()) m_where.fail(QStringLiteral("format"), QStringLiteral("missing"));
        if (!format.isString())
            m_where.fail(QStringLiteral("format"), QStringLiteral("expected a string"));
        if (format.toString() != QLatin1String(FormFile::Format)) {
            m_where.fail(QStringLiteral("format"),
                         QStringLiteral("unknown format %1 (expected \"%2\")")
                             .arg(quoted(format.toString()), QLatin1String(FormFile::Format)));
        }

        // The format first: a later format may well have keys this one does not know.
        checkKeys(root,
                  {QStringLiteral("format"), QStringLiteral("form"), QStringLiteral("controls")});

        FormDescription description;
        const QJsonValue form = root.value(QStringLiteral("form"));
        if (form.isUndefined()) m_where.fail(QStringLiteral("form"), QStringLiteral("missing"));
        if (!form.isObject())
            m_where.fail(QStringLiteral("form"), expected(QStringLiteral("an object"), form));
        readForm(form.toObject(), description);

        const QJsonValue controls = root.value(QStringLiteral("controls"));
        if (!controls.isUndefined()) {
            if (!controls.isArray())
                m_where.fail(QStringLiteral("controls"),
                             expected(QStringLiteral("an array"), controls));
            const QJsonArray list = controls.toArray();
            if (list.size() > FormFile::MaxControls) {
                m_where.fail(QStringLiteral("controls"),
                             QStringLiteral("more than %1 controls").arg(FormFile::MaxControls));
            }
            description.controls.reserve(list.size());
            for (qsizetype i = 0; i < list.size(); ++i)
                description.controls.append(readControl(list[i], int(i + 1)));
        }
        checkNames(description.controls);
        return description;
    }

private:
    static QString expected(const QString& what, const QJsonValue& got)
    {
        return QStringLiteral("expected %1, not %2").arg(what, jsonTypeName(got));
    }

    void checkKeys(const QJsonObject& object, std::initializer_list<QString> known) const
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (std::find(known.begin(), known.end(), it.key()) == known.end())
                m_where.fail(it.key(), QStringLiteral("unknown key"));
        }
    }

    QString string(const QJsonObject& object, const QString& key, bool required,
                   qsizetype maxChars = FormFile::MaxStringChars) const
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            if (required) m_where.fail(key, QStringLiteral("missing"));
            return {};
        }
        if (!value.isString()) m_where.fail(key, expected(QStringLiteral("a string"), value));
        const QString text = value.toString();
        if (text.size() > maxChars)
            m_where.fail(key, QStringLiteral("a text longer than %1 characters").arg(maxChars));
        return text;
    }

    double number(const QJsonValue& value, const QString& key) const
    {
        if (!value.isDouble()) m_where.fail(key, expected(QStringLiteral("a number"), value));
        const double n = value.toDouble();
        if (!std::isfinite(n)) m_where.fail(key, QStringLiteral("not a finite number"));
        return n;
    }

    // A position or size in twips, inside the host's range (sizes not negative).
    float twips(const QJsonObject& object, const QString& key, bool size) const
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) m_where.fail(key, QStringLiteral("missing"));
        const double n = number(value, key);
        if (size && n < 0) m_where.fail(key, QStringLiteral("a negative size"));
        if (std::fabs(n) > FormFile::MaxTwips) {
            m_where.fail(key, QStringLiteral("beyond %1 twips").arg(qint64(FormFile::MaxTwips)));
        }
        return float(n);
    }

    // A whole number in [min, max], or `absent` when the key is not there.
    int whole(const QJsonObject& object, const QString& key, int min, int max, int absent) const
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) return absent;
        const double n = number(value, key);
        if (n != std::trunc(n) || n < min || n > max) {
            m_where.fail(key,
                         QStringLiteral("expected a whole number from %1 to %2").arg(min).arg(max));
        }
        return int(n);
    }

    bool flag(const QJsonObject& object, const QString& key) const
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) return false;
        if (value.isBool()) return value.toBool();
        return number(value, key) != 0;
    }

    QString identifier(const QJsonObject& object, const QString& key, bool required) const
    {
        const QString name = string(object, key, required, MaxNameChars + 1);
        if ((required || !name.isEmpty()) && !isIdentifier(name)) {
            m_where.fail(key, QStringLiteral("%1 is not a name (ASCII letters, digits and "
                                             "underscores, a letter first, at most %2)")
                                  .arg(quoted(name))
                                  .arg(MaxNameChars));
        }
        return name;
    }

    void readForm(const QJsonObject& form, FormDescription& description)
    {
        m_where.setForm();
        checkKeys(form,
                  {QStringLiteral("name"), QStringLiteral("caption"), QStringLiteral("width"),
                   QStringLiteral("height"), QStringLiteral("font"), QStringLiteral("keyPreview")});
        description.name = identifier(form, QStringLiteral("name"), true);
        description.caption = string(form, QStringLiteral("caption"), false);
        description.width = twips(form, QStringLiteral("width"), true);
        description.height = twips(form, QStringLiteral("height"), true);
        description.keyPreview = flag(form, QStringLiteral("keyPreview"));
        const QJsonValue font = form.value(QStringLiteral("font"));
        if (!font.isUndefined() && !font.isNull()) {
            const Variant value = readValue(font, QStringLiteral("font"));
            if (value.type() != VarType::Object || !value.toFont()) {
                m_where.fail(QStringLiteral("font"),
                             QStringLiteral("expected {\"$font\": {...}} or null"));
            }
            description.font = value.toFont();
        }
        m_where.setTop();
    }

    ControlRecord readControl(const QJsonValue& value, int number)
    {
        m_where.setControl(number, {});
        if (!value.isObject()) m_where.fail({}, expected(QStringLiteral("an object"), value));
        const QJsonObject object = value.toObject();

        ControlRecord record;
        record.name = identifier(object, QStringLiteral("name"), true);
        m_where.setControl(number, record.name);
        checkKeys(object, {QStringLiteral("class"), QStringLiteral("name"), QStringLiteral("index"),
                           QStringLiteral("left"), QStringLiteral("top"), QStringLiteral("width"),
                           QStringLiteral("height"), QStringLiteral("tabIndex"),
                           QStringLiteral("container"), QStringLiteral("properties")});
        record.className = string(object, QStringLiteral("class"), true, MaxNameChars + 1);
        if (!isProgId(record.className)) {
            m_where.fail(QStringLiteral("class"),
                         QStringLiteral("%1 is not a class name such as \"Kv_CTRL.txtCampo\"")
                             .arg(quoted(record.className)));
        }
        record.index = whole(object, QStringLiteral("index"), 0, MaxIndex, -1);
        record.left = twips(object, QStringLiteral("left"), false);
        record.top = twips(object, QStringLiteral("top"), false);
        record.width = twips(object, QStringLiteral("width"), true);
        record.height = twips(object, QStringLiteral("height"), true);
        record.tabIndex = whole(object, QStringLiteral("tabIndex"), 0, MaxIndex, -1);
        record.container = identifier(object, QStringLiteral("container"), false);

        const QJsonValue properties = object.value(QStringLiteral("properties"));
        if (!properties.isUndefined()) {
            const QString key = QStringLiteral("properties");
            if (!properties.isArray())
                m_where.fail(
                    key, expected(QStringLiteral("an array of [name, value] pairs"), properties));
            const QJsonArray pairs = properties.toArray();
            if (pairs.size() > FormFile::MaxProperties) {
                m_where.fail(
                    key, QStringLiteral("more than %1 properties").arg(FormFile::MaxProperties));
            }
            for (qsizetype i = 0; i < pairs.size(); ++i) {
                const QJsonArray pair = pairs[i].toArray();
                if (!pairs[i].isArray() || pair.size() != 2 || !pair[0].isString()) {
                    m_where.fail(key,
                                 QStringLiteral("item %1 is not a [name, value] pair").arg(i + 1));
                }
                const QString name = pair[0].toString();
                if (name.isEmpty() || name.size() > MaxNameChars) {
                    m_where.fail(key, QStringLiteral("item %1: a property name of 1 to %2 "
                                                     "characters expected")
                                          .arg(i + 1)
                                          .arg(MaxNameChars));
                }
                m_where.setProperty(name);
                if (record.properties.contains(name))
                    m_where.fail({}, QStringLiteral("written twice"));
                const Variant read = readValue(pair[1], {});
                // Written without a default, so an Empty read (never produced) would still count.
                record.properties.WriteProperty(name, read);
                m_where.setProperty({});
            }
        }
        m_where.setTop();
        return record;
    }

    Variant readValue(const QJsonValue& value, const QString& key) const
    {
        switch (value.type()) {
        case QJsonValue::Null:
            return Variant::null();
        case QJsonValue::Bool:
            return Variant(short(value.toBool() ? -1 : 0));
        case QJsonValue::Double: {
            const double n = number(value, key);
            if (n == std::trunc(n)) {
                if (n >= std::numeric_limits<short>::min() &&
                    n <= std::numeric_limits<short>::max())
                    return Variant(short(n));
                if (n >= std::numeric_limits<qint32>::min() &&
                    n <= std::numeric_limits<qint32>::max())
                    return Variant(qint32(n));
            }
            return Variant(n);
        }
        case QJsonValue::String: {
            const QString text = value.toString();
            if (text.size() > FormFile::MaxStringChars) {
                m_where.fail(key, QStringLiteral("a text longer than %1 characters")
                                      .arg(FormFile::MaxStringChars));
            }
            return Variant(text);
        }
        case QJsonValue::Object:
            return readTagged(value.toObject(), key);
        case QJsonValue::Array:
        case QJsonValue::Undefined:
            break;
        }
        m_where.fail(key, QStringLiteral("%1 is not a property value").arg(jsonTypeName(value)));
    }

    Variant readTagged(const QJsonObject& object, const QString& key) const
    {
        if (object.size() != 1) {
            m_where.fail(key, QStringLiteral("expected an object with one of the keys \"$date\", "
                                             "\"$font\", \"$picture\""));
        }
        const QString tag = object.begin().key();
        const QJsonValue value = object.begin().value();
        if (tag == DateTag) return readDate(value);
        if (tag == FontTag) return readFont(value);
        if (tag == PictureTag) return readPicture(value);
        m_where.fail(tag, QStringLiteral("unknown key (expected \"$date\", \"$font\" or "
                                         "\"$picture\")"));
    }

    Variant readDate(const QJsonValue& value) const
    {
        if (!value.isString()) m_where.fail(DateTag, expected(QStringLiteral("a string"), value));
        const QString text = value.toString();
        const auto digits = [&](qsizetype from, qsizetype count, int& out) {
            out = 0;
            for (qsizetype i = from; i < from + count; ++i) {
                const char16_t c = text[i].unicode();
                if (c < u'0' || c > u'9') return false;
                out = out * 10 + (c - u'0');
            }
            return true;
        };
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        const bool withTime = text.size() == 19;
        const bool shaped =
            (text.size() == 10 || withTime) && digits(0, 4, year) && text[4] == u'-' &&
            digits(5, 2, month) && text[7] == u'-' && digits(8, 2, day) &&
            (!withTime || (text[10] == u'T' && digits(11, 2, hour) && text[13] == u':' &&
                           digits(14, 2, minute) && text[16] == u':' && digits(17, 2, second)));
        const QDate date(year, month, day);
        const QTime time(hour, minute, second);
        if (!shaped || !date.isValid() || !time.isValid() || year < 100) {
            m_where.fail(DateTag, QStringLiteral("%1 is not a date as \"2026-03-15\" or "
                                                 "\"2026-03-15T14:05:09\" (years 100 to 9999)")
                                      .arg(quoted(text)));
        }
        return withTime ? Date::fromQDateTime(QDateTime(date, time, Qt::UTC))
                        : Date::fromQDate(date);
    }

    Variant readFont(const QJsonValue& value) const
    {
        if (!value.isObject()) m_where.fail(FontTag, expected(QStringLiteral("an object"), value));
        const QJsonObject font = value.toObject();
        checkKeys(font, {QStringLiteral("name"), QStringLiteral("size"), QStringLiteral("bold"),
                         QStringLiteral("italic"), QStringLiteral("underline"),
                         QStringLiteral("strikethrough"), QStringLiteral("weight"),
                         QStringLiteral("charset")});
        const QString name = string(font, QStringLiteral("name"), true, MaxNameChars);
        if (name.trimmed().isEmpty())
            m_where.fail(QStringLiteral("name"), QStringLiteral("an empty font name"));
        const QJsonValue sizeValue = font.value(QStringLiteral("size"));
        if (sizeValue.isUndefined())
            m_where.fail(QStringLiteral("size"), QStringLiteral("missing"));
        const double size = number(sizeValue, QStringLiteral("size"));
        if (size <= 0 || size > 2160)
            m_where.fail(QStringLiteral("size"),
                         QStringLiteral("not a size from 0 to 2160 points"));
        const bool bold = flag(font, QStringLiteral("bold"));
        const int weight = whole(font, QStringLiteral("weight"), 0, 1000, -1);
        const int charset = whole(font, QStringLiteral("charset"), 0, 255, 0);
        try {
            FontRef result = StdFont::create(name, size, bold);
            result->put_Italic(flag(font, QStringLiteral("italic")));
            result->put_Underline(flag(font, QStringLiteral("underline")));
            result->put_Strikethrough(flag(font, QStringLiteral("strikethrough")));
            // The weight is the finer of the two and wins over "bold" when both are given.
            if (weight >= 0) result->put_Weight(short(weight));
            result->put_Charset(short(charset));
            return Variant(result);
        } catch (const RuntimeError& error) {
            m_where.fail(FontTag, error.description());
        }
    }

    Variant readPicture(const QJsonValue& value) const
    {
        if (!value.isString())
            m_where.fail(PictureTag, expected(QStringLiteral("a string"), value));
        const QString text = value.toString();
        if (text.size() > FormFile::MaxPictureChars) {
            m_where.fail(PictureTag, QStringLiteral("a picture longer than %1 characters")
                                         .arg(FormFile::MaxPictureChars));
        }
        const auto decoded = QByteArray::fromBase64Encoding(
            text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || decoded.decoded.isEmpty())
            m_where.fail(PictureTag, QStringLiteral("not base64 data"));
        PictureRef picture = StdPicture::fromPng(decoded.decoded);
        if (!picture) m_where.fail(PictureTag, QStringLiteral("not a readable PNG picture"));
        return Variant(picture);
    }

    // Names are unique per (name, index) without regard to case, an array's name is not also a
    // single control's, and containers name controls of the file without forming a loop.
    void checkNames(const QList<ControlRecord>& controls)
    {
        QHash<QString, int> arrayOf; // lower-case name -> 1 single control, 2 array
        QSet<QPair<QString, int>> seen;
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const ControlRecord& c = controls[i];
            const QString lower = c.name.toLower();
            m_where.setControl(int(i + 1), c.name);
            if (seen.contains({lower, c.index})) {
                m_where.fail(c.index < 0 ? QStringLiteral("name") : QStringLiteral("index"),
                             c.index < 0 ? QStringLiteral("a second control of this name")
                                         : QStringLiteral("a second control of this name and "
                                                          "index %1")
                                               .arg(c.index));
            }
            seen.insert({lower, c.index});
            const int kind = c.index < 0 ? 1 : 2;
            if (arrayOf.value(lower, kind) != kind) {
                m_where.fail(QStringLiteral("index"),
                             QStringLiteral("the name is used both for a control array and for a "
                                            "single control"));
            }
            arrayOf.insert(lower, kind);
        }

        // Containment edges by name; Kahn's walk from the form leaves the names of a loop over.
        QHash<QString, QSet<QString>> children;
        QHash<QString, int> pending; // name -> containers not yet placed
        for (const ControlRecord& c : controls)
            pending.insert(c.name.toLower(), 0);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const ControlRecord& c = controls[i];
            if (c.container.isEmpty()) continue;
            m_where.setControl(int(i + 1), c.name);
            const QString parent = c.container.toLower();
            if (!arrayOf.contains(parent)) {
                m_where.fail(QStringLiteral("container"),
                             QStringLiteral("no control named %1").arg(quoted(c.container)));
            }
            const QString self = c.name.toLower();
            if (!children[parent].contains(self)) {
                children[parent].insert(self);
                ++pending[self];
            }
        }
        QStringList ready;
        for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
            if (it.value() == 0) ready << it.key();
        }
        qsizetype placed = 0;
        while (!ready.isEmpty()) {
            const QString name = ready.takeLast();
            ++placed;
            for (const QString& child : children.value(name)) {
                if (--pending[child] == 0) ready << child;
            }
        }
        if (placed != pending.size()) {
            for (qsizetype i = 0; i < controls.size(); ++i) {
                if (pending.value(controls[i].name.toLower()) > 0) {
                    m_where.setControl(int(i + 1), controls[i].name);
                    m_where.fail(QStringLiteral("container"),
                                 QStringLiteral("containers form a loop"));
                }
            }
        }
        m_where.setTop();
    }

    Context m_where;
};

class Writer {
public:
    explicit Writer(const QString& file) : m_where(file) {}

    QByteArray write(const FormDescription& description)
    {
        QJsonObject root;
        root.insert(QStringLiteral("format"), QLatin1String(FormFile::Format));

        m_where.setForm();
        QJsonObject form;
        form.insert(QStringLiteral("name"), description.name);
        form.insert(QStringLiteral("caption"), description.caption);
        form.insert(QStringLiteral("width"), twips(description.width, QStringLiteral("width")));
        form.insert(QStringLiteral("height"), twips(description.height, QStringLiteral("height")));
        if (description.font) form.insert(QStringLiteral("font"), font(description.font));
        if (description.keyPreview) form.insert(QStringLiteral("keyPreview"), true);
        root.insert(QStringLiteral("form"), form);

        QJsonArray controls;
        for (qsizetype i = 0; i < description.controls.size(); ++i)
            controls.append(control(description.controls[i], int(i + 1)));
        root.insert(QStringLiteral("controls"), controls);
        return QJsonDocument(root).toJson(QJsonDocument::Indented);
    }

private:
    double twips(float value, const QString& key) const
    {
        if (!std::isfinite(value)) m_where.fail(key, QStringLiteral("not a finite number"));
        return double(value);
    }

    QJsonObject control(const ControlRecord& record, int number)
    {
        m_where.setControl(number, record.name);
        QJsonObject object;
        object.insert(QStringLiteral("class"), record.className);
        object.insert(QStringLiteral("name"), record.name);
        if (record.index >= 0) object.insert(QStringLiteral("index"), record.index);
        object.insert(QStringLiteral("left"), twips(record.left, QStringLiteral("left")));
        object.insert(QStringLiteral("top"), twips(record.top, QStringLiteral("top")));
        object.insert(QStringLiteral("width"), twips(record.width, QStringLiteral("width")));
        object.insert(QStringLiteral("height"), twips(record.height, QStringLiteral("height")));
        if (record.tabIndex >= 0) object.insert(QStringLiteral("tabIndex"), record.tabIndex);
        if (!record.container.isEmpty())
            object.insert(QStringLiteral("container"), record.container);
        QJsonArray properties;
        for (const PropertyBag::Item& item : record.properties.items()) {
            // Empty is "nothing stored": the reader gets the default it asks with.
            if (item.second.isEmpty()) continue;
            m_where.setProperty(item.first);
            properties.append(QJsonArray{item.first, value(item.second)});
            m_where.setProperty({});
        }
        object.insert(QStringLiteral("properties"), properties);
        m_where.setTop();
        return object;
    }

    QJsonValue value(const Variant& variant) const
    {
        const Variant::Storage& s = variant.storage();
        if (std::holds_alternative<Variant::NullTag>(s)) return QJsonValue::Null;
        if (const short* v = std::get_if<short>(&s)) return QJsonValue(qint64(*v));
        if (const qint32* v = std::get_if<qint32>(&s)) return QJsonValue(qint64(*v));
        if (const float* v = std::get_if<float>(&s)) return finite(double(*v));
        if (const double* v = std::get_if<double>(&s)) return finite(*v);
        if (const Variant::Boolean* v = std::get_if<Variant::Boolean>(&s))
            return QJsonValue(qint64(v->value ? -1 : 0));
        if (const QString* v = std::get_if<QString>(&s)) return *v;
        if (const Date* v = std::get_if<Date>(&s)) return date(*v);
        if (const FontRef* v = std::get_if<FontRef>(&s))
            return *v ? QJsonValue(font(*v)) : QJsonValue(QJsonValue::Null);
        if (const PictureRef* v = std::get_if<PictureRef>(&s))
            return *v ? QJsonValue(picture(*v)) : QJsonValue(QJsonValue::Null);
        m_where.fail({},
                     QStringLiteral("a value of type %1 cannot be saved").arg(variant.typeName()));
    }

    QJsonValue finite(double value) const
    {
        // QJsonDocument would write these as null and lose the value without a word.
        if (!std::isfinite(value)) m_where.fail({}, QStringLiteral("not a finite number"));
        return value;
    }

    QJsonObject date(Date value) const
    {
        if (!value.isValid())
            m_where.fail({}, QStringLiteral("a date outside the years 100 to 9999"));
        QString text = value.toQDate().toString(QStringLiteral("yyyy-MM-dd"));
        if (value.hasTime()) text += value.time().toString(QStringLiteral("'T'HH:mm:ss"));
        return QJsonObject{{DateTag, text}};
    }

    static QJsonObject font(const FontRef& font)
    {
        const QJsonObject attributes{
            {QStringLiteral("name"), font->get_Name()},
            {QStringLiteral("size"), font->get_Size()},
            {QStringLiteral("bold"), font->get_Bold()},
            {QStringLiteral("italic"), font->get_Italic()},
            {QStringLiteral("underline"), font->get_Underline()},
            {QStringLiteral("strikethrough"), font->get_Strikethrough()},
            {QStringLiteral("weight"), font->get_Weight()},
            {QStringLiteral("charset"), font->get_Charset()},
        };
        return QJsonObject{{FontTag, attributes}};
    }

    QJsonObject picture(const PictureRef& picture) const
    {
        const QByteArray png = picture->toPng();
        if (png.isEmpty())
            m_where.fail({}, QStringLiteral("a picture that cannot be saved as PNG"));
        return QJsonObject{{PictureTag, QString::fromLatin1(png.toBase64())}};
    }

    Context m_where;
};

} // namespace

FormDescription FormFile::parse(const QByteArray& bytes, const QString& sourceName)
{
    return Reader(sourceName).read(bytes);
}

FormDescription FormFile::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Context(path).fail({}, QStringLiteral("cannot be opened: %1").arg(file.errorString()));
    if (file.size() > MaxFileBytes)
        Context(path).fail({}, QStringLiteral("larger than %1 bytes").arg(MaxFileBytes));
    // Read one byte past the limit, so that a file growing meanwhile is refused as well.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        Context(path).fail({}, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    return parse(bytes, path);
}

QByteArray FormFile::serialize(const FormDescription& description, const QString& sourceName)
{
    QByteArray bytes = Writer(sourceName).write(description);
    // Everything the reader would refuse (names, sizes, duplicates, loops) is refused here, by
    // the same code, so no file is ever written that cannot be read back.
    parse(bytes, sourceName);
    return bytes;
}

void FormFile::write(const FormDescription& description, const QString& path)
{
    const QByteArray bytes = serialize(description, path);
    const QString reason = saveFile(path, bytes);
    if (!reason.isEmpty())
        Context(path).fail({}, QStringLiteral("cannot be written: %1").arg(reason));
}

} // namespace host
