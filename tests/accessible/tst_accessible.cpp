// What accessibility tools read of every control on a form (role, name, state, value, actions),
// what their actions do, the events announced when a property changes, and the calendar's grid
// read as a table of days.

#include "controls/calendar/Calendario.h"
#include "controls/field/txtCampo.h"
#include "controls/picturebutton/cmdButton.h"
#include "controls/progress/ProgressBar.h"
#include "controls/verticaltext/VericalText.h"
#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpcmdbutton.h"
#include "controls/xp/xpoptionbutton.h"
#include "host/forms/Form.h"
#include "host/services/Services.h"
#include "host/widgets/Frame.h"
#include "host/widgets/Label.h"
#include "host/widgets/LateBinding.h"

#include <QAccessible>
#include <QtTest>

// Qt lets the platform plugin switch accessibility on; offscreen never does. The tests switch it
// on as Qt's own accessibility tests do, through the plugin's (private) accessibility object,
// whose three entry points are declared here.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration* platform_integration;
};

using namespace Kv_CTRL;

namespace {

struct Heard {
    QAccessible::Event type;
    QObject* object;
    QVariant value;
    QAccessible::State changed;
};
QList<Heard> heard;

void hear(QAccessibleEvent* e)
{
    Heard h{e->type(), e->object(), {}, {}};
    if (e->type() == QAccessible::ValueChanged)
        h.value = static_cast<QAccessibleValueChangeEvent*>(e)->value();
    if (e->type() == QAccessible::StateChanged)
        h.changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
    heard << h;
}

// The first interface of `role` in the tree under `i` (itself included), depth first.
QAccessibleInterface* find(QAccessibleInterface* i, QAccessible::Role role)
{
    if (!i || i->role() == role) return i;
    for (int n = 0; n < i->childCount(); ++n)
        if (QAccessibleInterface* found = find(i->child(n), role)) return found;
    return nullptr;
}

QAccessible::Role readRole(const QString& kind)
{
    static const QHash<QString, QAccessible::Role> roles = {
        {"xpcmdbutton", QAccessible::PushButton},  {"cmdButton", QAccessible::PushButton},
        {"xpcheckbox", QAccessible::CheckBox},     {"xpoptionbutton", QAccessible::RadioButton},
        {"ProgressBar", QAccessible::ProgressBar}, {"VericalText", QAccessible::StaticText},
        {"txtCampo", QAccessible::EditableText},
    };
    return roles.value(kind);
}

} // namespace

class TestAccessible : public QObject {
    Q_OBJECT

    host::Form m_form;

    // Places a control of `kind` and sets "Name=value|..." on it as a host's script would.
    host::UserControl* place(const QString& kind, const QString& settings,
                             const QString& name = QStringLiteral("ctl"))
    {
        host::UserControl* c = nullptr;
        if (kind == "xpcmdbutton") c = m_form.add<xpcmdbutton>(name);
        if (kind == "cmdButton") c = m_form.add<cmdButton>(name);
        if (kind == "xpcheckbox") c = m_form.add<xpcheckbox>(name);
        if (kind == "xpoptionbutton") c = m_form.add<xpoptionbutton>(name);
        if (kind == "ProgressBar") c = m_form.add<ProgressBar>(name);
        if (kind == "VericalText") c = m_form.add<VericalText>(name);
        if (kind == "txtCampo") c = m_form.add<txtCampo>(name);
        c->Extender().Move(1200, 600, 3000, c->Extender().get_Height());
        set(c, settings);
        return c;
    }
    static void set(QObject* c, const QString& settings)
    {
        for (const QString& s : settings.split('|', Qt::SkipEmptyParts)) {
            const QString property = s.section('=', 0, 0), text = s.section('=', 1);
            bool number = false;
            const int n = text.toInt(&number);
            host::CallByNameLet(c, property, number ? host::Variant(n) : host::Variant(text));
        }
    }
    // The interface a tool reads for the control: the control's own, or its acting child.
    static QAccessibleInterface* read(host::UserControl* c, const QString& kind)
    {
        return find(QAccessible::queryAccessibleInterface(c), readRole(kind));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(hear);
        QGuiApplicationPrivate::platform_integration->accessibility()->setActive(true);
        QVERIFY(QAccessible::isActive());
    }
    void cleanupTestCase() { QAccessible::installUpdateHandler(nullptr); }
    void init() { heard.clear(); }
    void cleanup() { m_form.unload(); }

    void described_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("label"); // a "Nome" label: left, right, above or none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("state"); // checked, mixed, readonly
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("description");
        const QString press = QAccessibleActionInterface::pressAction();
        const QString toggle = QAccessibleActionInterface::toggleAction();
        QTest::newRow("xpcmdbutton") << "xpcmdbutton"
                                     << "Caption=&Salvar"
                                     << "none"
                                     << "Salvar"
                                     << "" << press << "Alt+S"
                                     << "";
        QTest::newRow("cmdButton") << "cmdButton"
                                   << "Caption=&Imprimir"
                                   << "none"
                                   << "Imprimir"
                                   << "" << press << "Alt+I"
                                   << "";
        QTest::newRow("check box checked") << "xpcheckbox"
                                           << "Caption=Cliente &ativo|Value=1"
                                           << "none"
                                           << "Cliente ativo"
                                           << "checked" << toggle << "Alt+A"
                                           << "";
        QTest::newRow("check box mixed") << "xpcheckbox"
                                         << "Caption=A && B|Value=2"
                                         << "none"
                                         << "A & B"
                                         << "checked mixed" << toggle << ""
                                         << "";
        QTest::newRow("option button") << "xpoptionbutton"
                                       << "Caption=Pessoa &física|Value=-1"
                                       << "none"
                                       << "Pessoa física"
                                       << "checked" << toggle << "Alt+F"
                                       << "";
        QTest::newRow("gauge") << "ProgressBar"
                               << "Caption=Cadastro"
                               << "none"
                               << "Cadastro"
                               << "readonly"
                               << ""
                               << ""
                               << "";
        QTest::newRow("vertical text keeps &") << "VericalText"
                                               << "zTexto=Silva & Cia  "
                                               << "none"
                                               << "Silva & Cia"
                                               << "readonly"
                                               << ""
                                               << ""
                                               << "";
        QTest::newRow("field named by the label at its left")
            << "txtCampo"
            << "Required=-1|RequiredCaption=Código"
            << "left"
            << "Nome"
            << ""
            << ""
            << ""
            << "Campo obrigatório";
        QTest::newRow("field named by the label above") << "txtCampo"
                                                        << ""
                                                        << "above"
                                                        << "Nome"
                                                        << ""
                                                        << ""
                                                        << ""
                                                        << "";
        QTest::newRow("a heading far above names nothing") << "txtCampo"
                                                           << "RequiredCaption=Valor"
                                                           << "far above"
                                                           << "Valor"
                                                           << ""
                                                           << ""
                                                           << ""
                                                           << "";
        QTest::newRow("a label at its right names nothing") << "txtCampo"
                                                            << "RequiredCaption=Valor"
                                                            << "right"
                                                            << "Valor"
                                                            << ""
                                                            << ""
                                                            << ""
                                                            << "";
    }
    void described()
    {
        QFETCH(QString, kind);
        QFETCH(QString, settings);
        QFETCH(QString, label);
        QFETCH(QString, name);
        QFETCH(QString, state);
        QFETCH(QString, action);
        QFETCH(QString, key);
        QFETCH(QString, description);
        m_form.load();
        if (label != "none") {
            auto* l = new host::Label(m_form.widget(), QStringLiteral("lblNome"));
            l->put_Caption(QStringLiteral("&Nome"));
            const float left = label == "left" ? 120 : label == "right" ? 4400 : 1200;
            l->Move(left, label == "above" ? 300 : label == "far above" ? 0 : 630, 900, 255);
            l->show();
        }
        host::UserControl* c = place(kind, settings);
        m_form.show();
        QAccessibleInterface* a = read(c, kind);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), name);
        QCOMPARE(a->text(QAccessible::Description), description);
        const QAccessible::State s = a->state();
        QCOMPARE(bool(s.checked), state.contains("checked"));
        QCOMPARE(bool(s.checkStateMixed), state.contains("mixed"));
        QCOMPARE(bool(s.readOnly), state.contains("readonly"));
        const QStringList actions =
            a->actionInterface() ? a->actionInterface()->actionNames() : QStringList();
        for (const QString& a : {QAccessibleActionInterface::pressAction(),
                                 QAccessibleActionInterface::toggleAction()})
            QCOMPARE(actions.contains(a), a == action);
        if (!action.isEmpty())
            QCOMPARE(a->actionInterface()->keyBindingsForAction(action).value(0), key);
    }

    // Fields are named only while a tool listens: one that starts listening later reads the
    // label beside the field as it is then.
    void fieldNamedWhenAToolComes()
    {
        auto* bridge = QGuiApplicationPrivate::platform_integration->accessibility();
        bridge->setActive(false);
        m_form.load();
        auto* l = new host::Label(m_form.widget(), QStringLiteral("lblNome"));
        l->put_Caption(QStringLiteral("Nome"));
        l->Move(120, 630, 900, 255);
        host::UserControl* c = place("txtCampo", "");
        m_form.show();
        l->put_Caption(QStringLiteral("Apelido"));
        bridge->setActive(true);
        QCOMPARE(read(c, "txtCampo")->text(QAccessible::Name), QStringLiteral("Apelido"));
    }

    void gaugeValue_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("within") << "Max=200|Value=150" << 150. << 0. << 200.;
        QTest::newRow("above the maximum reads as drawn")
            << "Max=200|Value=250" << 200. << 0. << 200.;
        QTest::newRow("below the minimum") << "Min=10|Value=-5" << 10. << 10. << 100.;
    }
    void gaugeValue()
    {
        QFETCH(QString, settings);
        QFETCH(double, value);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QAccessibleValueInterface* v =
            read(place("ProgressBar", settings), "ProgressBar")->valueInterface();
        QVERIFY(v);
        QCOMPARE(v->currentValue().toDouble(), value);
        QCOMPARE(v->minimumValue().toDouble(), minimum);
        QCOMPARE(v->maximumValue().toDouble(), maximum);
    }

    // The action a tool performs is a click: one Click event, and what a click changes.
    void actions_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("value"); // the Value afterwards, or -9 when the kind has none
        QTest::newRow("xpcmdbutton") << "xpcmdbutton"
                                     << "" << 1 << -9;
        QTest::newRow("disabled xpcmdbutton") << "xpcmdbutton"
                                              << "Enabled=0" << 0 << -9;
        QTest::newRow("cmdButton") << "cmdButton"
                                   << "" << 1 << -9;
        QTest::newRow("check box ticked") << "xpcheckbox"
                                          << "Value=0" << 1 << 1;
        QTest::newRow("mixed cleared") << "xpcheckbox"
                                       << "Value=2" << 1 << 0;
        QTest::newRow("option selected, its sibling cleared") << "xpoptionbutton"
                                                              << "Value=0" << 1 << -1;
    }
    void actions()
    {
        QFETCH(QString, kind);
        QFETCH(QString, settings);
        QFETCH(int, clicks);
        QFETCH(int, value);
        host::UserControl* sibling = nullptr;
        if (kind == "xpoptionbutton") sibling = place(kind, "Value=-1", "optOutra");
        host::UserControl* c = place(kind, settings);
        m_form.show();
        QSignalSpy spy(c, SIGNAL(Click()));
        QAccessibleInterface* a = read(c, kind);
        a->actionInterface()->doAction(a->actionInterface()->actionNames().value(0));
        QTRY_COMPARE(spy.count(), clicks); // Qt's own button clicks a moment later
        if (value != -9) QCOMPARE(host::CallByNameGet(c, "Value").toLong(), value);
        if (sibling) QCOMPARE(host::CallByNameGet(sibling, "Value").toLong(), 0);
    }

    // A change a tool must hear of, on the object it reads.
    void events_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("event");
        QTest::addColumn<bool>("onEditor");
        QTest::addColumn<QVariant>("value"); // what the event carries, if anything
        const int state = QAccessible::StateChanged, name = QAccessible::NameChanged;
        QTest::newRow("checked") << "xpcheckbox"
                                 << "Value=1" << state << false << QVariant();
        QTest::newRow("option") << "xpoptionbutton"
                                << "Value=-1" << state << false << QVariant();
        QTest::newRow("caption") << "xpcmdbutton"
                                 << "Caption=Gravar" << name << false << QVariant();
        QTest::newRow("text") << "VericalText"
                              << "zTexto=Novo" << name << false << QVariant();
        QTest::newRow("gauge value")
            << "ProgressBar"
            << "Value=40" << int(QAccessible::ValueChanged) << false << QVariant(40.);
        QTest::newRow("gauge maximum below the value")
            << "ProgressBar"
            << "Value=40|Max=30" << int(QAccessible::ValueChanged) << false << QVariant(30.);
        QTest::newRow("field required")
            << "txtCampo"
            << "Required=-1" << int(QAccessible::DescriptionChanged) << true << QVariant();
        QTest::newRow("field caption") << "txtCampo"
                                       << "RequiredCaption=Valor" << name << true << QVariant();
    }
    void events()
    {
        QFETCH(QString, kind);
        QFETCH(QString, change);
        QFETCH(int, event);
        QFETCH(bool, onEditor);
        QFETCH(QVariant, value);
        host::UserControl* c = place(kind, QString());
        m_form.show();
        QObject* expected = onEditor ? read(c, kind)->object() : c;
        heard.clear();
        set(c, change);
        QList<Heard> matching;
        for (const Heard& h : std::as_const(heard))
            if (h.type == event && h.object == expected) matching << h;
        QVERIFY2(!matching.isEmpty(), qPrintable(change));
        if (event == QAccessible::StateChanged) QVERIFY(matching.last().changed.checked);
        if (value.isValid()) QCOMPARE(matching.last().value.toDouble(), value.toDouble());
    }

    // A frame groups the option buttons on it under its caption.
    void frameGroup()
    {
        m_form.load();
        auto* frame = new host::Frame(m_form.widget(), QStringLiteral("fraTipo"));
        frame->put_Caption(QStringLiteral("&Tipo"));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(frame);
        QCOMPARE(a->role(), QAccessible::Grouping);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Tipo"));
        heard.clear();
        frame->put_Caption(QStringLiteral("Pessoa"));
        QCOMPARE(heard.value(0).type, QAccessible::NameChanged);
        QCOMPARE(heard.value(0).object, frame);
    }

    // The month as a table under its weekday headers, the selected day, and its two lists.
    void calendar()
    {
        host::ServicesScope scope;
        host::services().today = [] { return QDate(2026, 3, 15); };
        Calendario& form = Calendario::instance();
        form.load();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.widget());
        QAccessibleInterface* grid = find(window, QAccessible::Table);
        QVERIFY(grid);
        QCOMPARE(grid->parent()->object(), form.widget());
        QAccessibleTableInterface* table = grid->tableInterface();
        QCOMPARE(table->columnCount(), 7);
        QCOMPARE(table->rowCount(), 6);
        QCOMPARE(table->columnDescription(0), QStringLiteral("Dom"));
        QCOMPARE(table->columnDescription(6), QStringLiteral("Sab"));
        // March 2026 starts on a Sunday: the 15th is row 2, column 0.
        QAccessibleInterface* fifteen = table->cellAt(2, 0);
        QCOMPARE(fifteen->role(), QAccessible::Cell);
        QCOMPARE(fifteen->text(QAccessible::Name), QStringLiteral("15"));
        QCOMPARE(fifteen->parent(), grid);
        QCOMPARE(fifteen->tableCellInterface()->rowIndex(), 2);
        QCOMPARE(
            fifteen->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
            QStringLiteral("Dom"));
        QCOMPARE(table->cellAt(5, 6)->text(QAccessible::Name), QString());
        for (int n = 0; n < window->childCount(); ++n) // cells only inside the table
            QVERIFY(window->child(n)->role() != QAccessible::Cell);

        form.SelecionaDia(16);
        heard.clear();
        form.SelecionaDia(15);
        QCOMPARE(table->selectedCellCount(), 1);
        QCOMPARE(table->selectedCells().value(0), fifteen);
        QVERIFY(fifteen->state().selected);
        QVERIFY(std::any_of(heard.cbegin(), heard.cend(), [&](const Heard& h) {
            return h.type == QAccessible::StateChanged && h.object == fifteen->object() &&
                   h.changed.selected;
        }));
        form.SelecionaDia(15); // a second selection clears the mark
        QCOMPARE(table->selectedCellCount(), 0);

        QStringList lists;
        for (int n = 0; n < window->childCount(); ++n)
            if (window->child(n)->role() == QAccessible::ComboBox)
                for (const auto& [label, relation] :
                     window->child(n)->relations(QAccessible::Label))
                    lists << label->text(QAccessible::Name);
        QCOMPARE(lists, (QStringList{QStringLiteral("Mês"), QStringLiteral("Ano")}));
        form.unload();
    }
};

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
