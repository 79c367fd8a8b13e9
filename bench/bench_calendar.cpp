// A month switch in the calendar form (Atualiza and a repaint of the window) against Qt's own
// month calendar turning the page and repainting, on the same sequence of months.

#include "BenchUtil.h"

#include "controls/calendar/Calendario.h"
#include "host/services/Services.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QSignalBlocker>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    host::ServicesScope scope;
    host::services().today = [] { return QDate(2026, 3, 16); };

    Kv_CTRL::Calendario form;
    form.load();
    for (const QString& month : Kv_CTRL::Calendario::nomesDosMeses())
        form.ui.cmbMes->AddItem(month);
    for (const QString& year : Kv_CTRL::Calendario::anosDaLista())
        form.ui.cmbAno->AddItem(year);
    form.show();

    QCalendarWidget twin;
    twin.resize(form.widget()->size());
    twin.show();
    QApplication::processEvents();

    constexpr int Switches = 48;
    bench::compare(
        "calendar_month_switch", 1,
        [&] {
            for (int i = 0; i < Switches; ++i) {
                {
                    const QSignalBlocker a(form.ui.cmbMes), b(form.ui.cmbAno);
                    form.ui.cmbMes->put_ListIndex(short(i % 12));
                    form.ui.cmbAno->put_ListIndex(short(2020 + i / 12 - 1900));
                }
                form.Atualiza();
                form.widget()->repaint();
            }
        },
        [&] {
            for (int i = 0; i < Switches; ++i) {
                twin.setCurrentPage(2020 + i / 12, i % 12 + 1);
                twin.repaint();
            }
        });
    return 0;
}
