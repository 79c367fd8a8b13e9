// A form of 1,000 controls of every class loaded from its form file and shown, against the same
// form built in code (each control added and given its properties by its setters) and shown;
// the same load per 100 controls against a 60 Hz frame; and the timer events a form holding
// every control raises while the pointer is away from it.

#include "BenchUtil.h"

#include "controls/field/txtCampo.h"
#include "controls/picturebutton/cmdButton.h"
#include "controls/progress/ProgressBar.h"
#include "controls/verticaltext/VericalText.h"
#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpcmdbutton.h"
#include "controls/xp/xpoptionbutton.h"
#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/Services.h"
#include "library/module/EntryPoints.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

using namespace Kv_CTRL;

constexpr int Controls = 1000;
constexpr int Columns = 20;

// Control i of the form, built in code: seven classes in turn, each with a property or two set.
void addControl(host::Form& form, int i)
{
    const QString n = QString::number(i);
    host::UserControl* c = nullptr;
    switch (i % 7) {
    case 0: {
        auto* f = form.add<txtCampo>(QStringLiteral("txtCampo") + n);
        f->put_Text(QStringLiteral("texto ") + n);
        c = f;
        break;
    }
    case 1: {
        auto* b = form.add<xpcmdbutton>(QStringLiteral("cmdXp") + n);
        b->put_Caption(QStringLiteral("&Salvar ") + n);
        c = b;
        break;
    }
    case 2: {
        auto* b = form.add<xpcheckbox>(QStringLiteral("chk") + n);
        b->put_Caption(QStringLiteral("Ativo ") + n);
        b->put_Value(State::Checked);
        c = b;
        break;
    }
    case 3: {
        auto* b = form.add<xpoptionbutton>(QStringLiteral("opt") + n);
        b->put_Caption(QStringLiteral("Pessoa ") + n);
        c = b;
        break;
    }
    case 4: {
        auto* g = form.add<ProgressBar>(QStringLiteral("pb") + n);
        g->put_Value(float(i % 100));
        c = g;
        break;
    }
    case 5: {
        auto* t = form.add<VericalText>(QStringLiteral("vt") + n);
        t->put_zTexto(QStringLiteral("Título ") + n);
        c = t;
        break;
    }
    default: {
        auto* b = form.add<cmdButton>(QStringLiteral("cmdPic") + n);
        b->put_Caption(QStringLiteral("Imprimir ") + n);
        c = b;
        break;
    }
    }
    c->Extender().Move(float(i % Columns) * 1700, float(i / Columns) * 400, 1600, 375);
}

void buildInCode(host::Form& form, int count)
{
    form.setObjectName(QStringLiteral("frmMil"));
    form.load();
    for (int i = 0; i < count; ++i)
        addControl(form, i);
}

void showAndSettle(host::Form& form)
{
    form.show();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QPoint pointer(-500, -500);
    host::services().cursorPos = [&pointer] { return pointer; };
    QTemporaryDir dir;
    host::Registry::setPath(dir.filePath(QStringLiteral("registry.json")));
    if (DllRegisterServer() != 0) return 1;

    // The file holds what the form built in code describes, so both sides show the same form.
    const QString path = dir.filePath(QStringLiteral("form1000.kvform"));
    {
        host::Form form;
        buildInCode(form, Controls);
        form.put_Width(Columns * 1700);
        form.put_Height(float(Controls / Columns) * 400);
        host::FormFile::write(form.describe(), path);
    }
    const auto fromFile = [&] {
        host::Form form;
        form.build(host::FormFile::read(path));
        showAndSettle(form);
    };
    const auto inCode = [&] {
        host::Form form;
        buildInCode(form, Controls);
        form.put_Width(Columns * 1700);
        form.put_Height(float(Controls / Columns) * 400);
        showAndSettle(form);
    };
    bench::compare("form_load_1000_controls", 1.5, fromFile, inCode, 5);
    std::vector<double> loads;
    for (int run = 0; run < 5; ++run)
        loads.push_back(bench::timeOnce(fromFile));
    bench::row("form_load_per_100_controls", bench::medianOf(loads) / (Controls / 100), 0, "ms",
               1000.0 / 60, bench::Aim::Ours);

    // One control of each class, shown, the pointer away: no timer of theirs may tick.
    {
        host::Form form;
        buildInCode(form, 7);
        showAndSettle(form);
        // The focused field's caret blinks as every Qt line edit's does (two ticks a second):
        // held still, so that what is left is the controls' own.
        QApplication::setCursorFlashTime(0);
        bench::idleTimerEvents(300); // what showing started has run its course
        bench::row("form_every_control_idle_timer_events_per_s", bench::idleTimerEvents(1000), 0,
                   "/s", 0, bench::Aim::Ours);
    }
    host::Registry::setPath({});
    return 0;
}
