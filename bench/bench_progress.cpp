// The gauge's Value set and repainted, as a form updating its progress does, against a
// QProgressBar's setValue and repaint of the same size.

#include "BenchUtil.h"

#include "controls/progress/ProgressBar.h"
#include "host/forms/Form.h"

#include <QApplication>
#include <QProgressBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int updates = 500;

    host::Form form;
    Kv_CTRL::ProgressBar* bar = form.add<Kv_CTRL::ProgressBar>(QStringLiteral("pb"));
    bar->Extender().put_Width(200 * 15);
    bar->put_ViewPercent(true);
    bar->put_Caption(QStringLiteral("Carregando"));
    form.show();

    QWidget window;
    auto* twin = new QProgressBar(&window);
    twin->setGeometry(0, 0, 200, 21);
    twin->setFormat(QStringLiteral("Carregando %p %"));
    twin->setTextVisible(true);
    window.show();
    QApplication::processEvents();

    bench::compare(
        "progress_value_repaint", 1,
        [&] {
            for (int i = 0; i < updates; ++i)
                bar->put_Value(float(i % 101));
        },
        [&] {
            for (int i = 0; i < updates; ++i) {
                twin->setValue(i % 101);
                twin->repaint();
            }
        });
    return 0;
}
