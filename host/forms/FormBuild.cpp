// Form::build and Form::describe: a form made from a form file's description and read back into
// one, so that saving a loaded form gives the same file.

#include "host/automation/PropertyCheck.h"
#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/IntrinsicFactory.h"
#include "host/widgets/Timer.h"
#include "host/widgets/UserControl.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace host {

namespace {

// "lblDia(12)" -> ("lblDia", 12); "txtNome" -> ("txtNome", -1).
std::pair<QString, int> splitArrayName(const QString& objectName)
{
    static const QRegularExpression element(QStringLiteral("^(.+)\\((\\d+)\\)$"));
    const QRegularExpressionMatch m = element.match(objectName);
    if (!m.hasMatch()) return {objectName, -1};
    return {m.captured(1), m.captured(2).toInt()};
}

QWidget* findContainer(QWidget* window, const QString& name)
{
    // A control array's name stands for its lowest element.
    QWidget* best = nullptr;
    int bestIndex = -1;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto [base, index] = splitArrayName(w->objectName());
        if (base.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (!best || index < bestIndex) {
            best = w;
            bestIndex = index;
        }
    }
    return best;
}

// The ProgID of a UserControl placed in code with add<T>: the registry's entry for its class,
// else the class name written as a ProgID.
QString progIdOf(const QObject* control, const char* property)
{
    const QString stored = control->property(property).toString();
    if (!stored.isEmpty()) return stored;
    const QString className = TypeName(control);
    Registry registry;
    if (registry.load())
        for (const RegisteredClass& c : registry.classes())
            if (c.className.compare(className, Qt::CaseInsensitive) == 0) return c.progId;
    return QString::fromLatin1(control->metaObject()->className())
        .replace(QLatin1String("::"), QLatin1String("."));
}

// The records in the order they are made: every container before what it holds, the file's
// order otherwise (a form saved in tab order may list a frame after its option buttons). Records
// whose container never comes follow at the end, where making them reports it.
QList<qsizetype> creationOrder(const QList<ControlRecord>& controls)
{
    QList<qsizetype> order;
    QList<bool> taken(controls.size(), false);
    QSet<QString> made;
    for (bool progress = true; progress;) {
        progress = false;
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const ControlRecord& record = controls[i];
            if (taken[i] ||
                (!record.container.isEmpty() && !made.contains(record.container.toLower())))
                continue;
            taken[i] = true;
            order << i;
            made.insert(record.name.toLower());
            progress = true;
        }
    }
    for (qsizetype i = 0; i < controls.size(); ++i)
        if (!taken[i]) order << i;
    return order;
}

} // namespace

void Form::build(const FormDescription& description)
{
    unloadNow(false);
    setObjectName(description.name);
    put_Caption(description.caption);
    put_Width(description.width);
    put_Height(description.height);
    putref_Font(description.font ? description.font->clone() : StdFont::create());
    put_KeyPreview(description.keyPreview);
    load();
    if (!m_window) return;

    QList<std::pair<int, QWidget*>> tabStops;
    // Names are checked against those taken so far, not by walking the form for each control.
    QSet<QString> names;
    for (const QWidget* w : controls())
        names.insert(w->objectName().toCaseFolded());
    m_namesInBuild = &names;
    const auto endBuild = qScopeGuard([this] { m_namesInBuild = nullptr; });
    for (const qsizetype i : creationOrder(description.controls)) {
        const ControlRecord& record = description.controls[i];
        try {
            QWidget* parent = clientArea();
            if (!record.container.isEmpty()) {
                parent = findContainer(m_window, record.container);
                if (!parent)
                    raiseError(Err::InvalidProcedureCall,
                               QStringLiteral("no container named \"%1\"").arg(record.container));
            }
            QWidget* placed = nullptr;
            if (isIntrinsicClass(record.className)) {
                const QString objectName =
                    record.index >= 0 ? QStringLiteral("%1(%2)").arg(record.name).arg(record.index)
                                      : record.name;
                claimName(objectName);
                QObject* object =
                    createIntrinsic(record.className, parent, record.name, record.index);
                applyIntrinsicProperties(object, record.properties);
                // The placement last, as for controls: a label sized to its caption and then
                // given another height keeps the height it was saved with.
                if (intrinsicHasGeometry(object)) {
                    CallByNameLet(object, QStringLiteral("Left"), record.left);
                    CallByNameLet(object, QStringLiteral("Top"), record.top);
                    CallByNameLet(object, QStringLiteral("Width"), record.width);
                    CallByNameLet(object, QStringLiteral("Height"), record.height);
                }
                placed = qobject_cast<QWidget*>(object);
                // Into the tab order now, in file order.
                if (auto* widget = qobject_cast<QWidget*>(object);
                    widget && isControlWidget(widget))
                    m_controls.append(widget);
            } else {
                if (record.index >= 0)
                    raiseError(
                        Err::InvalidProcedureCall,
                        QStringLiteral("arrays of %1 are not supported").arg(record.className));
                checkPropertyValues(record.className, record.properties);
                // A form file's control either reads its properties cleanly or fails the build:
                // what its hooks report would otherwise show a box over a half-made form.
                std::optional<RuntimeError> reported;
                UserControl* control = nullptr;
                {
                    ServicesScope scope;
                    services().reportError = [&](const RuntimeError& e) {
                        if (!reported) reported = e;
                    };
                    control = add(record.className, record.name, record.properties);
                }
                if (reported) throw *reported;
                if (parent != clientArea()) {
                    control->setParent(parent);
                    control->show();
                }
                control->Extender().Move(record.left, record.top, record.width, record.height);
                placed = control;
            }
            if (placed && record.tabIndex >= 0) tabStops.append({record.tabIndex, placed});
        } catch (const RuntimeError& error) {
            unloadNow(false);
            const QString who = QStringLiteral("control \"%1\" (#%2)").arg(record.name).arg(i + 1);
            throw RuntimeError(error.number(),
                               QStringLiteral("%1: %2").arg(who, error.description()),
                               error.source());
        }
    }
    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    refreshControls();
    for (const auto& [index, widget] : std::as_const(tabStops))
        placeInTabOrder(widget, short(std::min(index, 32767)));
    applyTabOrder();
}

FormDescription Form::describe() const
{
    FormDescription d;
    d.name = objectName();
    d.caption = m_caption;
    d.width = m_width;
    d.height = m_height;
    d.font = m_font;
    d.keyPreview = m_keyPreview;
    if (!m_window) return d;

    const QList<QWidget*> list = controls();
    for (qsizetype i = 0; i < list.size(); ++i) {
        QWidget* w = list[i];
        ControlRecord record;
        const auto [name, index] = splitArrayName(w->objectName());
        record.name = name;
        record.index = index;
        record.tabIndex = int(i);
        if (QWidget* parent = w->parentWidget(); parent && parent != clientArea())
            record.container = splitArrayName(parent->objectName()).first;
        if (auto* control = qobject_cast<UserControl*>(w)) {
            record.className = progIdOf(control, ProgIdProperty);
            record.index = -1;
            ControlExtender extender = control->Extender();
            record.left = extender.get_Left();
            record.top = extender.get_Top();
            record.width = extender.get_Width();
            record.height = extender.get_Height();
            control->saveTo(record.properties);
        } else {
            record.className = intrinsicClassName(w);
            if (record.className.isEmpty()) continue; // a widget the form file cannot name
            if (intrinsicHasGeometry(w)) {
                record.left = CallByNameGet(w, QStringLiteral("Left")).toSingle();
                record.top = CallByNameGet(w, QStringLiteral("Top")).toSingle();
                record.width = CallByNameGet(w, QStringLiteral("Width")).toSingle();
                record.height = CallByNameGet(w, QStringLiteral("Height")).toSingle();
            }
            record.properties = intrinsicProperties(w);
        }
        d.controls.append(record);
    }
    // Timers are no widgets: they follow the controls, without tab index or placement. A
    // control's own timers (a button's hover timer) are part of the control, not of the form.
    for (Timer* timer : m_window->findChildren<Timer*>()) {
        bool inControl = false;
        for (QObject* p = timer->parent(); p && p != m_window; p = p->parent())
            inControl = inControl || qobject_cast<UserControl*>(p);
        if (inControl) continue;
        ControlRecord record;
        const auto [name, index] = splitArrayName(timer->objectName());
        record.className = intrinsicClassName(timer);
        record.name = name;
        record.index = index;
        if (auto* parent = qobject_cast<QWidget*>(timer->parent());
            parent && parent != m_window && parent != clientArea())
            record.container = splitArrayName(parent->objectName()).first;
        record.properties = intrinsicProperties(timer);
        d.controls.append(record);
    }
    return d;
}

} // namespace host
