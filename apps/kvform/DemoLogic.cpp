#include "DemoLogic.h"

#include "host/forms/Form.h"
#include "host/services/Guard.h"
#include "host/widgets/LateBinding.h"

#include <QMetaMethod>
#include <QPointer>
#include <QWidget>
#include <cmath>

namespace kvform {

namespace {

class FilledGauge : public QObject {
    Q_OBJECT
public:
    FilledGauge(QWidget* gauge, const QList<QWidget*>& fields) : QObject(gauge), m_gauge(gauge)
    {
        for (QWidget* field : fields)
            m_fields.append(field);
    }

public Q_SLOTS:
    void recount()
    {
        host::guard([&] {
            int counted = 0, filled = 0;
            for (const QPointer<QWidget>& field : std::as_const(m_fields)) {
                if (!field) continue;
                const bool hasText = !host::CallByNameGet(field, QStringLiteral("Text"))
                                          .toString()
                                          .trimmed()
                                          .isEmpty();
                const bool required =
                    host::CallByNameGet(field, QStringLiteral("Required")).toBoolean();
                counted += required || hasText;
                filled += hasText;
            }
            const double percent = counted ? std::round(100.0 * filled / counted) : 0;
            if (m_gauge) host::CallByNameLet(m_gauge, QStringLiteral("Value"), float(percent));
        });
    }

private:
    QPointer<QWidget> m_gauge;
    QList<QPointer<QWidget>> m_fields;
};

} // namespace

void attachDemoLogic(host::Form& form)
{
    QWidget* gauge = nullptr;
    QList<QWidget*> fields;
    for (QWidget* control : form.controls()) {
        if (control->objectName() == QLatin1String("pbCadastro")) gauge = control;
        if (host::TypeName(control) == QLatin1String("txtCampo")) fields.append(control);
    }
    if (!gauge) return;
    auto* logic = new FilledGauge(gauge, fields);
    const QMetaMethod slot =
        logic->metaObject()->method(logic->metaObject()->indexOfSlot("recount()"));
    for (QWidget* field : std::as_const(fields)) {
        const int change = field->metaObject()->indexOfSignal("Change()");
        if (change >= 0) QObject::connect(field, field->metaObject()->method(change), logic, slot);
    }
    logic->recount();
}

} // namespace kvform

#include "DemoLogic.moc"
